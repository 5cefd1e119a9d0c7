#pragma once
// Numbers of the program's window messages that cross threads: the device workers send them to
// the main window, whose handlers run on the UI thread. The bitmap slider's notification keeps
// its number as well; everything else between windows and controls is a Qt signal.

#include <cstdint>

namespace orvo {

enum WindowMessage : std::uint32_t {
    WM_DEVICE_KEY_EVENT = 0x778, // the keyboard reported a host-action key (wParam code)
    WM_SLIDER_CHANGED = 0x779,   // a bitmap slider painted or moved (its sliderChanged signal)
    WM_READBACK_DONE = 0x77B,    // a full read-back finished (lParam 0) or profiles closed (1)
};

} // namespace orvo
