#pragma once
// Carrying out host-side key actions: a key assigned to play an audio file, run a program,
// open a file or open a folder is reported by the keyboard, and the program starts the path
// stored in the key's action record. Nothing goes through a shell: a program is started as
// one file with no arguments, everything else is handed to the desktop as a local-file URL,
// so a path with spaces, quotes, semicolons or a leading "-" is always one file name.

#include "model/key_actions.h"

#include <QString>

#include <cstdint>

namespace orvo {

// The two ways of starting a path; tests put their own in the program's place.
class HostActionLauncher {
public:
    virtual ~HostActionLauncher() = default;
    // Starts the program `file` without arguments in `folder`, without waiting for it.
    virtual bool startProgram(const QString& file, const QString& folder) = 0;
    // Opens a file or a folder in the desktop's handler of its type.
    virtual bool openWithDesktop(const QString& path) = 0;
};

// QProcess::startDetached and QDesktopServices::openUrl.
class DesktopLauncher final : public HostActionLauncher {
public:
    bool startProgram(const QString& file, const QString& folder) override;
    bool openWithDesktop(const QString& path) override;
};

enum class HostActionOutcome {
    None,     // no host action for the code
    Vanished, // the stored path names nothing (any more): nothing started
    Started,
    Failed, // the launcher could not start it
};

// The host action of the key the keyboard reported: finds its record, checks that its path
// still names something, and starts it. Returns at once; every outcome but None and Started
// leaves one line in the log.
HostActionOutcome RunHostActionFor(const KeyActionTable& table, std::uint32_t reportedCode,
                                   HostActionLauncher& launcher);

} // namespace orvo
