#pragma once
// The tray icon's menu: "Iniciar con el sistema", a check that writes or removes the autostart
// entry (which starts the program hidden in its tray at log-in), and "Salir".

#include <QMenu>

#include <filesystem>
#include <optional>

class QAction;

namespace orvo {

class Prompts;

inline constexpr auto kQuitMenuText = u"Salir";
inline constexpr auto kAutostartMenuText = u"Iniciar con el sistema";
inline constexpr auto kAutostartFailedText = u"No se pudo cambiar el inicio con el sistema: %1";

class TrayMenu : public QMenu {
    Q_OBJECT
public:
    // `autostartFile` is where the entry lives; without one (no home folder) the check is
    // disabled. The entry starts `executable`.
    TrayMenu(Prompts& prompts, std::optional<std::filesystem::path> autostartFile,
             std::filesystem::path executable, QWidget* parent = nullptr);

    QAction* autostartAction() const { return m_autostart; }
    QAction* quitAction() const { return m_quit; }

private:
    void setAutostart(bool enabled);

    Prompts& m_prompts;
    std::optional<std::filesystem::path> m_autostartFile;
    std::filesystem::path m_executable;
    QAction* m_autostart = nullptr;
    QAction* m_quit = nullptr;
};

} // namespace orvo
