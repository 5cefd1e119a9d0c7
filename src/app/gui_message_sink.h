#pragma once
// Delivers the worker threads' window messages on the UI thread. A worker's Send() blocks
// until the handler has run there; once the sink is released every waiting and every later
// Send() returns false at once, so workers can be stopped and joined while the window goes.

#include "device/message_sink.h"

#include <QObject>

#include <condition_variable>
#include <functional>
#include <mutex>

namespace orvo {

class GuiMessageSink final : public QObject, public MessageSink {
    Q_OBJECT
public:
    using Handler = std::function<void(std::uint32_t, std::uintptr_t, std::intptr_t)>;

    explicit GuiMessageSink(Handler handler, QObject* parent = nullptr);
    ~GuiMessageSink() override;

    bool Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void release();
    bool released() const;

private:
    Handler m_handler;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_released = false;
};

} // namespace orvo
