#pragma once
// What an orvoctl command runs against: the keyboard's bus, the pauses, the folders, where its
// output goes, the cross-process keyboard lock and the running program to tell about changes.
// main() takes them from the process; tests and the fuzz target put their own in place (a
// simulated keyboard, recorded pauses, captured output, no running program).

#include "device/device_lock.h"
#include "device/hid.h"
#include "device/pacer.h"
#include "model/program_folders.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvo::cli {

struct Context {
    std::function<std::unique_ptr<HidBus>()> openBus;
    Pacer* pacer = nullptr;
    ProgramFolders folders;
    // The keyboard's lock; null: none (the keyboard is used without waiting for anyone).
    std::function<std::unique_ptr<DeviceLock>()> makeLock;
    // Tells a running program that the keyboard or the data files changed.
    std::function<void()> notifyWindow;
    std::function<void(std::string_view)> out; // standard output
    std::function<void(std::string_view)> err; // standard error
    std::FILE* traceTo = stderr;               // --trace

    void Out(std::string_view text) const { out(text); }
    void Err(std::string_view text) const { err(text); }
};

// The process's own: the bus ZORVANTA_SIMULATOR names (else the real one), real pauses, the
// folders of the running executable, the lock in the user's runtime folder, the program
// listening there, and stdout and stderr.
Context ProcessContext(Pacer& pacer);

} // namespace orvo::cli
