#include "app/device_actions.h"

#include "app/brisolde_dlg.h"
#include "app/lighting_panel.h"
#include "device/connection.h"
#include "model/config_state.h"
#include "model/lighting_rules.h"
#include "model/log.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

namespace orvo {

namespace {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString Text(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

DeviceActions::DeviceActions(CBrisoldeDlg& window, MainWindowState& state, ConfigState& config,
                             MainSliders& sliders)
    : m_window(window), m_state(state), m_config(config), m_sliders(sliders) {}

void DeviceActions::factoryReset() {
    if (m_updaterRunning)
        return;
    Prompts& prompts = m_window.lighting().prompts();
    if (!prompts.confirm(Text(kFactoryResetCaption), Text(kFactoryResetQuestion)))
        return;
    ResetResult result;
    {
        WaitCursor wait;
        // The shared reset also re-seeds the key tables and writes "keymap.bin"; the
        // snapshots follow the file, so they keep the old values when it cannot be written.
        result = m_window.connection().ResetAndReload(m_config);
        if (result.transfersOk) {
            m_state.diyMode = false;
            // The palm-rest sliders stay as they are; the response time shows its value - 1.
            m_window.setSlidersFromImage(false, true);
        }
    }
    if (!result.error.empty())
        LogWarning("factory reset: " + result.error);
    // The keyboard and every setting are as they were; say so instead of looking done.
    if (!result.transfersOk)
        prompts.warn(Text(kFactoryResetCaption), Text(kFactoryResetFailedText));
}

bool DeviceActions::LaunchUpdater() {
    if (m_updaterRunning)
        return false;
    const QString program = QString::fromStdString(m_config.folders.updater().string());
    if (!QFileInfo(program).isExecutable())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QString::fromStdString(m_config.folders.programFolder.string()));
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted()) {
        LogWarning("updater: cannot start " + program.toStdString());
        return false;
    }
    // Wait for the updater without freezing the picture: paint and window events go on,
    // mouse and keys do not reach the window until it has ended.
    m_updaterRunning = true;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_updaterRunning = false;
    return true;
}

void DeviceActions::checkFirmware() {
    if (m_updaterRunning)
        return;
    if (!FirmwareUpdateOffered(m_config.offeredFirmware, m_config.firmware))
        return;
    if (m_window.lighting().prompts().confirm(Text(kFirmwareCaption), Text(kFirmwareQuestion)))
        LaunchUpdater();
}

} // namespace orvo
