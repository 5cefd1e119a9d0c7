#include "cli/context.h"

#include "model/instance_socket.h"
#include "model/runtime_folder.h"

namespace orvo::cli {

namespace {
constexpr const char* kHolderName = "orvoctl";
} // namespace

Context ProcessContext(Pacer& pacer) {
    Context c;
    c.openBus = [] { return OpenHidBusFromEnvironment(); };
    c.pacer = &pacer;
    c.folders = ProgramFoldersFromEnvironment(RunningExecutable());
    c.makeLock = [] { return MakeKeyboardLock(kHolderName); };
    c.notifyWindow = [] {
        if (const auto folder = UserRuntimeFolder())
            SendInstanceRequest(*folder, kRefreshRequest);
    };
    c.out = [](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    };
    c.err = [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); };
    return c;
}

} // namespace orvo::cli
