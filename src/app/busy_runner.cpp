#include "app/busy_runner.h"

#include "app/override_cursor.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>

namespace orvo {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

BusyRunner::BusyRunner(std::function<void()> interrupt, QObject* parent)
    : QObject(parent), m_interrupt(std::move(interrupt)) {}

BusyRunner::~BusyRunner() {
    stop();
}

void BusyRunner::run(Action action) {
    if (m_stopped)
        return;
    m_queue.push_back(std::move(action));
    updateInputBlock();
    scheduleStart();
}

void BusyRunner::whenIdle(std::function<void()> handler) {
    if (m_stopped)
        return;
    if (!busy())
        handler();
    else
        run({nullptr, std::move(handler), nullptr});
}

void BusyRunner::scheduleStart() {
    if (m_startScheduled || m_current)
        return;
    m_startScheduled = true;
    // At the next pass, so the click that asked for the action is drawn before the worker
    // takes the configuration.
    QTimer::singleShot(0, this, [this] {
        m_startScheduled = false;
        startNext();
    });
}

void BusyRunner::startNext() {
    // A result being applied or told starts the next action when it is done.
    if (m_onUiThread)
        return;
    while (!m_stopped && !m_current && !m_queue.empty()) {
        Action next = std::move(m_queue.front());
        m_queue.pop_front();
        if (!next.work) {
            // A handler that only waited for its turn.
            onUiThread(next);
            continue;
        }
        m_current = std::move(next);
        m_worker = std::thread([this, work = m_current->work] {
            work();
            QMetaObject::invokeMethod(this, &BusyRunner::workerFinished, Qt::QueuedConnection);
        });
        break;
    }
    updateInputBlock();
}

void BusyRunner::workerFinished() {
    // stop() may have taken the worker's result already; no worker starts after it.
    if (!m_worker.joinable())
        return;
    finishCurrent();
}

void BusyRunner::finishCurrent() {
    m_worker.join();
    Action done = std::move(*m_current);
    m_current.reset();
    onUiThread(done);
    if (!m_stopped)
        startNext();
}

void BusyRunner::onUiThread(const Action& action) {
    // The next action waits until the user has been told: what `tell` reads stays as `apply`
    // left it. The boxes it shows take input meanwhile.
    m_onUiThread = true;
    updateInputBlock();
    if (action.apply)
        action.apply();
    if (action.tell)
        action.tell();
    m_onUiThread = false;
    updateInputBlock();
}

void BusyRunner::stop() {
    if (m_stopped)
        return;
    m_stopped = true;
    m_queue.clear();
    if (m_worker.joinable()) {
        // A Save cut short would leave the keyboard dark: it is waited for instead.
        if (m_current->interruptible)
            m_interrupt();
        finishCurrent();
    }
    updateInputBlock();
}

void BusyRunner::updateInputBlock() {
    const bool block = busy() && !m_stopped && !m_onUiThread;
    if (block == (m_waitCursor != nullptr))
        return;
    if (block) {
        qApp->installEventFilter(this);
        m_waitCursor = std::make_unique<OverrideCursor>(Qt::WaitCursor);
    } else {
        qApp->removeEventFilter(this);
        m_waitCursor.reset();
    }
}

bool BusyRunner::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type()) || !m_window || !watched->isWidgetType())
        return false;
    for (auto* widget = static_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
        if (qobject_cast<QMenu*>(widget))
            return false;
        if (widget == m_window)
            return true;
    }
    return false;
}

} // namespace orvo
