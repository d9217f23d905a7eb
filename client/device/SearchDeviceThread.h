#pragma once

#include "CalvoxSDK.h"

#include <QList>
#include <QMetaType>
#include <QThread>

#include <mutex>

class CallQueue;

// Runs the SDK's device search (several seconds per local network address) off the GUI thread and hands the
// device-management page the progress, each recorder found and the end of the search as signals. The signals are
// emitted on the thread that owns this object (the page's), in the order the search reported them: the search
// posts each one through a CallQueue, whose lock orders the found record before the page reads it (a signal
// queued by Qt alone orders it through a lock the thread sanitizer cannot see). The page keeps one object for its
// whole life; each start() runs one search, and a start while a search runs is ignored (QThread::start does
// nothing then). Signals still waiting when the object goes are dropped.
//
// Each found recorder is copied whole onto the heap; FoundDeviceSignal carries the copy's address, which stays
// valid until the next search's first signal or the object is destroyed. Records whose ID is not 20 ASCII letters
// or digits are not reported: the ID becomes a file name once the recorder is registered.
class SearchDeviceThread : public QThread
{
    Q_OBJECT

public:
    explicit SearchDeviceThread(QObject* parent = nullptr);
    // Waits for a running search to end, then frees the copies.
    ~SearchDeviceThread() override;

    // The copies of the current (or last) search, in the order found, filled as the signals are emitted: read it
    // on the owning thread.
    QList<Calvox_FoundDeviceInfo*> FoundDevices;

signals:
    void ProgressSignal(int Percent);
    void FoundDeviceSignal(Calvox_FoundDeviceInfo* Info);
    void SearchDoneSignal();

protected:
    void run() override;

private:
    void FreeFoundDevices();

    CallQueue* m_Signals;  // a child: what is still queued when the object goes is dropped
    // Copies the run made whose signal has not been emitted yet: owned here until then.
    std::mutex m_PendingMutex;
    QList<Calvox_FoundDeviceInfo*> m_Pending;
};

Q_DECLARE_METATYPE(Calvox_FoundDeviceInfo*)
