// Feeds arbitrary "MacroDefine.bin" content to the macro store, the event listing, the block
// builder and the stream primitives. The first record's worth of bytes is one macro; every
// further pair of bytes (up to 512 of them) is one edit on it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "cli/dump_file.h"
#include "model/macro_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    const std::span<const std::uint8_t> in(data, size);

    MacroStore store;
    store.parse(in);
    if (size >= kMacroStoreSize &&
        store.serialise() != std::vector(in.begin(), in.begin() + kMacroStoreSize))
        std::abort();
    SettingsImage image;
    BuildMacroBlocks(store, image);
    const auto text = cli::MakeTextWriter();
    cli::DescribeMacros(in, size, *text);
    text->finish();

    MacroRecord m = MacroRecord::parse(in);
    // At most 512 edits keep each run short; longer inputs still reach the store above.
    const std::size_t editsEnd = std::min(size, kMacroRecordSize + 1024);
    for (std::size_t i = kMacroRecordSize; i + 1 < editsEnd; i += 2) {
        const std::uint8_t op = in[i];
        const std::uint8_t arg = in[i + 1];
        const std::size_t lines = EventLineCount(m.displayEvents);
        switch (op % 7) {
        case 0:
            InsertShortEvent(m.streams(), FindEventAtLine(m.displayEvents, arg % (lines + 2)), arg,
                             op & 0x80);
            break;
        case 1:
            RemoveEvent(m.streams(), FindEventEndingAtLines(m.displayEvents, arg));
            break;
        case 2:
            RemoveEventDelay(m.streams(), FindEventEndingAtLines(m.displayEvents, arg));
            break;
        case 3:
            SetEventDelay(m.streams(), FindEventAtLine(m.displayEvents, arg % (lines + 1)),
                          static_cast<std::uint16_t>(arg * 257));
            break;
        case 4:
            AppendEvent(m.streams(), arg, op & 0x80, static_cast<std::uint16_t>(op * arg));
            break;
        case 5:
            InsertShortEvent(m.streams(), FindPlaceAfterLines(m.deviceEvents, arg), arg, op & 1);
            break;
        default:
            SetEventDelay(m.streams(), arg, static_cast<std::uint16_t>(op << 8 | arg));
        }
        ForceFirstEventDelay(m.streams());
        if (EventLines(m.displayEvents).size() != EventLineCount(m.displayEvents))
            std::abort();
    }
    return 0;
}
