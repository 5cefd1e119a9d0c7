#include "app/gui_message_sink.h"

#include <QMetaObject>
#include <QThread>

#include <memory>

namespace orvo {

GuiMessageSink::GuiMessageSink(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {}

GuiMessageSink::~GuiMessageSink() {
    release();
}

bool GuiMessageSink::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (released())
        return false;
    if (QThread::currentThread() == thread()) {
        m_handler(message, wParam, lParam);
        return true;
    }
    // The flag lives beside the call so that a handler finishing after a release (or never
    // running, when the queue is dropped) cannot touch a finished Send.
    auto done = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        this,
        [this, done, message, wParam, lParam] {
            if (!released())
                m_handler(message, wParam, lParam);
            std::lock_guard lock(m_mutex);
            *done = true;
            m_changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return *done || m_released; });
    return *done;
}

void GuiMessageSink::release() {
    std::lock_guard lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
}

bool GuiMessageSink::released() const {
    std::lock_guard lock(m_mutex);
    return m_released;
}

} // namespace orvo
