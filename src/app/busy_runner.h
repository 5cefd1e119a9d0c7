#pragma once
// Runs the keyboard's long actions (Save, the factory reset, the keyboard going and coming
// back) on a worker thread, one after the other, so the window keeps painting through the
// keyboard's fixed pauses. An action starts at the next pass of the event loop, so the click
// that asked for it is drawn first. While it runs the configuration belongs to the worker:
// the window shows its last picture under the wait cursor, and mouse and key input meant for
// the window or its dialogs is dropped. When the worker is done, the action's result is
// applied on the UI thread and the user told (the boxes that tell it take input) before the
// next action starts.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace orvo {

class OverrideCursor;

class BusyRunner : public QObject {
    Q_OBJECT
public:
    struct Action {
        std::function<void()> work;  // on the worker, with the configuration to itself
        std::function<void()> apply; // on the UI thread once `work` has ended
        std::function<void()> tell;  // afterwards; may ask the user (modal boxes)
        // Whether the program's end may cut the work short; if not, it is waited for.
        bool interruptible = true;
    };

    // `interrupt` makes the running work end as soon as it can; stop() calls it on the UI
    // thread while the worker runs.
    explicit BusyRunner(std::function<void()> interrupt, QObject* parent = nullptr);
    ~BusyRunner() override;
    BusyRunner(const BusyRunner&) = delete;
    BusyRunner& operator=(const BusyRunner&) = delete;

    // The main window: input to it, its children and its dialogs is dropped while an action
    // waits or runs (its menus, the tray's among them, keep working).
    void setWindow(QWidget* window) { m_window = window; }

    // Queues the action; it starts when the ones before it have been applied.
    void run(Action action);
    // Runs `handler` now when no action waits or runs, otherwise after them (a worker thread's
    // message that reads the configuration).
    void whenIdle(std::function<void()> handler);

    // An action waits, runs or has its result applied: the window takes no input (but for
    // the boxes that tell the result).
    bool busy() const { return m_current.has_value() || !m_queue.empty() || m_onUiThread; }
    // A worker holds the configuration: nothing on the UI thread may read or change it.
    bool working() const { return m_worker.joinable(); }

    // The program ends: the running work is interrupted (when it may be) and waited for, its
    // result applied and told, and the actions still waiting are dropped. Afterwards nothing
    // more runs.
    void stop();
    bool stopped() const { return m_stopped; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scheduleStart();
    void startNext();
    void workerFinished();
    void finishCurrent();
    void onUiThread(const Action& action);
    void updateInputBlock();

    QPointer<QWidget> m_window;
    std::function<void()> m_interrupt;
    std::deque<Action> m_queue;
    std::optional<Action> m_current; // taken from the queue, until applied
    std::thread m_worker;
    bool m_startScheduled = false;
    bool m_stopped = false;
    bool m_onUiThread = false;                    // a result is being applied or told
    std::unique_ptr<OverrideCursor> m_waitCursor; // set while input is blocked
};

} // namespace orvo
