// The keyboard's answers during the start-up read-back, a Save and the refresh after an
// arrival, from a keyboard that answers anything and comes and goes at random (see
// fuzz_device.h for how the bytes are spent).

#include "fuzz_device.h"

#include "model/log.h"
#include "model/settings_ranges.h"

#include <memory>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvo::SetLogSink([](orvo::LogLevel, std::string_view) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    fuzz::FuzzStream stream({data, size});
    fuzz::FuzzBus bus(stream);
    RecordingPacer pacer;
    auto state = std::make_unique<ConfigState>();
    // A factory reset after a return from the loader writes "keymap.bin"; keep the disk out.
    state->keymapWriteBlocked = true;
    fuzz::RunDeviceScenario(bus, pacer, *state, [&] { return stream.Byte(0); });
    (void)OutOfRangeFields(state->image); // what orvoctl apply checks before it sends
    return 0;
}
