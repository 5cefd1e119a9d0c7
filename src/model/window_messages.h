#pragma once
// Numbers of the program's private window messages. The device workers send two of them to
// the main window; the GUI uses the rest between its windows and controls.

#include <cstdint>

namespace orvo {

enum WindowMessage : std::uint32_t {
    WM_TRAY_CALLBACK = 0x405,         // tray icon clicks
    WM_SHOW_KEYBOARD_MISSING = 0x406, // show the "keyboard missing" balloon (wParam 15)
    WM_HOOK_EVENT = 0x6F3,            // a key captured by the keyboard hook
    WM_LIST_EDIT_BEGIN = 0x6F4,       // an in-place list edit starts
    WM_LIST_EDIT_END = 0x6F5,         // an in-place list edit was confirmed
    WM_DEVICE_KEY_EVENT = 0x778,      // the keyboard reported a host-action key (wParam code)
    WM_SLIDER_CHANGED = 0x779,        // a bitmap slider painted or moved (wParam control ID)
    WM_READBACK_DONE = 0x77B,         // a full read-back finished (lParam 0) or profiles closed (1)
    WM_LIST_ITEM_CHANGED = 0x8840,    // a list item's text changed
    WM_LIST_EDITOR_DONE = 0x8841,     // the in-place editor ended (wParam 1 confirm, 0 cancel)
};

} // namespace orvo
