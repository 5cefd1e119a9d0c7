#include "app/device_actions.h"

#include "app/busy_runner.h"
#include "app/file_warnings.h"
#include "app/prompts.h"
#include "controls/qt_convert.h"
#include "device/session.h"
#include "model/config_state.h"
#include "model/lighting_rules.h"
#include "model/log.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

#include <memory>

namespace orvo {

DeviceActions::DeviceActions(Session& session, Prompts& prompts, BusyRunner& runner,
                             QObject* parent)
    : QObject(parent), m_session(session), m_prompts(prompts), m_runner(runner) {}

void DeviceActions::factoryReset() {
    if (m_updaterRunning)
        return;
    if (!m_prompts.confirm(ToQString(kFactoryResetCaption), ToQString(kFactoryResetQuestion)))
        return;
    auto result = std::make_shared<ResetResult>();
    BusyRunner::Action action;
    // The reset also re-seeds the key tables and writes "keymap.bin"; the snapshots follow
    // the file, so they keep the old values when it cannot be written.
    action.work = [this, result] { *result = m_session.FactoryReset(); };
    action.apply = [this, result] {
        if (result->transfersOk)
            Q_EMIT imageReplaced(ImageChange::FactoryReset);
    };
    action.tell = [this, result] {
        if (!result->error.empty())
            LogWarning("factory reset: " + result->error);
        // The keyboard and every setting are as they were; say so instead of looking done.
        if (!result->transfersOk)
            m_prompts.warn(ToQString(kFactoryResetCaption), ToQString(kFactoryResetFailedText));
        else
            WarnIfNotWritten(m_prompts, m_session.config(), DataFile::Keymap,
                             {result->keymapWritten, result->error});
    };
    m_runner.run(std::move(action));
}

bool DeviceActions::LaunchUpdater() {
    if (m_updaterRunning)
        return false;
    const ProgramFolders& folders = m_session.config().folders;
    const QString program = QString::fromStdString(folders.updater().string());
    if (!QFileInfo(program).isExecutable())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QString::fromStdString(folders.programFolder.string()));
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
    if (!FirmwareUpdateOffered(m_session.config()))
        return;
    if (m_prompts.confirm(ToQString(kFirmwareCaption), ToQString(kFirmwareQuestion)))
        LaunchUpdater();
}

} // namespace orvo
