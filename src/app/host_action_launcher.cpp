#include "app/host_action_launcher.h"

#include "model/host_actions.h"
#include "model/log.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace orvo {

bool DesktopLauncher::startProgram(const QString& file, const QString& folder) {
    return QProcess::startDetached(file, {}, folder);
}

bool DesktopLauncher::openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

HostActionOutcome RunHostActionFor(const KeyActionTable& table, std::uint32_t reportedCode,
                                   HostActionLauncher& launcher) {
    const std::optional<HostAction> action = FindHostActionFor(table, reportedCode);
    if (!action)
        return HostActionOutcome::None;
    const QString path = QString::fromStdU16String(action->path);
    // Only a whole path names one definite thing: a relative one would depend on the folder
    // the program happens to run in, or be looked up among the system's programs.
    const QFileInfo target(path);
    if (!target.isAbsolute() || !target.exists()) {
        LogWarning("host action: " + path.toStdString() + " does not exist; nothing started");
        return HostActionOutcome::Vanished;
    }
    bool started = false;
    if (action->launch == HostLaunch::StartProgram) {
        QString folder = QString::fromStdU16String(action->parts.folder);
        if (folder.isEmpty()) // a program in the root folder
            folder = QDir::rootPath();
        started = launcher.startProgram(path, folder);
    } else {
        started = launcher.openWithDesktop(path);
    }
    if (!started) {
        LogWarning("host action: " + path.toStdString() + " could not be started");
        return HostActionOutcome::Failed;
    }
    return HostActionOutcome::Started;
}

} // namespace orvo
