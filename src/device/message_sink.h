#pragma once
// Where the worker threads send their window messages (WM_READBACK_DONE, WM_DEVICE_KEY_EVENT).

#include <cstdint>

namespace orvo {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Delivers the message and returns once it has been handled, blocking the calling worker
    // meanwhile. Returns false when the receiver is gone (the sink was released); a released
    // sink must return at once, so that workers can be stopped and joined.
    virtual bool Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

} // namespace orvo
