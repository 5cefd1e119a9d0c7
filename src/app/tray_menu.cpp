#include "app/tray_menu.h"

#include "app/prompts.h"
#include "controls/qt_convert.h"
#include "model/autostart.h"
#include "model/log.h"

#include <QSignalBlocker>

namespace orvo {

TrayMenu::TrayMenu(Prompts& prompts, std::optional<std::filesystem::path> autostartFile,
                   std::filesystem::path executable, QWidget* parent)
    : QMenu(parent), m_prompts(prompts), m_autostartFile(std::move(autostartFile)),
      m_executable(std::move(executable)) {
    m_autostart = addAction(ToQString(kAutostartMenuText));
    m_autostart->setCheckable(true);
    m_autostart->setEnabled(m_autostartFile.has_value());
    m_autostart->setChecked(m_autostartFile && IsAutostartEnabled(*m_autostartFile));
    connect(m_autostart, &QAction::toggled, this, &TrayMenu::setAutostart);
    addSeparator();
    m_quit = addAction(ToQString(kQuitMenuText));
}

void TrayMenu::setAutostart(bool enabled) {
    if (!m_autostartFile)
        return;
    const FileResult result = SetAutostart(*m_autostartFile, m_executable, enabled);
    if (result)
        return;
    LogWarning("autostart: " + result.error);
    {
        // The check shows what the desktop will do.
        const QSignalBlocker quiet(m_autostart);
        m_autostart->setChecked(IsAutostartEnabled(*m_autostartFile));
    }
    m_prompts.warn(ToQString(kWarningCaption),
                   ToQString(kAutostartFailedText).arg(QString::fromStdString(result.error)));
}

} // namespace orvo
