#pragma once
// What the main window does with the keyboard as a whole: the factory reset and the firmware
// updater of the help menu, and the firmware check after a read-back.

#include "app/main_window_state.h"

#include <QObject>

namespace orvo {

class BusyRunner;
class Prompts;
class Session;

inline constexpr auto kFactoryResetCaption = u"Ajuste de fábrica";
inline constexpr auto kFactoryResetQuestion = u"Confirmar para volver la configuración de fábrica?";
inline constexpr auto kFactoryResetFailedText =
    u"No se pudo restablecer el teclado; la configuración no ha cambiado.";
inline constexpr auto kFirmwareCaption = u"Actualización del firmware";
inline constexpr auto kFirmwareQuestion = u"¿Nuevo firmware disponible, actualizar?";

class DeviceActions : public QObject {
    Q_OBJECT
public:
    DeviceActions(Session& session, Prompts& prompts, BusyRunner& runner,
                  QObject* parent = nullptr);

    // Help menu item 0: asks, then resets the keyboard and reloads everything from it on the
    // runner's worker; the image is replaced when that is done.
    void factoryReset();
    // Help menu item 1: starts the firmware updater and waits for it. The window keeps
    // repainting meanwhile but takes no input. Returns false when the updater is missing or
    // could not start (nothing is shown then).
    bool LaunchUpdater();
    // After a read-back from the keyboard: offers the updater when the shipped firmware is
    // newer than the keyboard's.
    void checkFirmware();

    bool updaterRunning() const { return m_updaterRunning; }

Q_SIGNALS:
    // The keyboard's values replaced the image; the window follows them.
    void imageReplaced(ImageChange change);

private:
    Session& m_session;
    Prompts& m_prompts;
    BusyRunner& m_runner;
    bool m_updaterRunning = false;
};

} // namespace orvo
