#pragma once

#include <QThread>

#include <atomic>
#include <functional>

// The wait panel's worker thread: runs one task, a device request that blocks until the recorder answers or
// the request times out. The caller sets Task right before WaitForm::Run; Run hands the task to the thread
// (Task is empty again afterwards), so a Task set while a run is in progress changes nothing.
class WaitThread : public QThread
{
    Q_OBJECT

public:
    WaitThread();
    ~WaitThread() override;

    std::function<void()> Task;

protected:
    // Runs the task taken at the start of the run; without one it does nothing.
    void run() override;

private:
    friend class WaitForm;
    std::function<void()> m_Running;
    // Set when run() is done with m_Running. Qt reports the end (finished) through its own locks, which the
    // thread sanitizer cannot see; the GUI thread reads this before it drops the task or reads its results.
    std::atomic<bool> m_Ended{true};
};
