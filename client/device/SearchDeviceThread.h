#pragma once

#include "CalvoxSDK.h"

#include <QList>
#include <QMetaType>
#include <QThread>

// Runs the SDK's device search (several seconds per local network address) off the GUI thread and hands the
// device-management page the progress, each recorder found and the end of the search as signals, which reach
// the page queued. The page keeps one object for its whole life; each start() runs one search, and a start while
// a search runs is ignored (QThread::start does nothing then).
//
// Each found recorder is copied whole onto the heap; FoundDeviceSignal carries the copy's address, which stays
// valid until the next search begins or the object is destroyed. Records whose ID is not 20 ASCII letters or
// digits are not reported: the ID becomes a file name once the recorder is registered.
class SearchDeviceThread : public QThread
{
    Q_OBJECT

public:
    explicit SearchDeviceThread(QObject* parent = nullptr);
    // Waits for a running search to end, then frees the copies.
    ~SearchDeviceThread() override;

    // The copies of the current (or last) search, in the order found. Written by the search thread while it
    // runs: read it only when the search has ended.
    QList<Calvox_FoundDeviceInfo*> FoundDevices;

signals:
    void ProgressSignal(int Percent);
    void FoundDeviceSignal(Calvox_FoundDeviceInfo* Info);
    void SearchDoneSignal();

protected:
    void run() override;

private:
    void FreeFoundDevices();
};

Q_DECLARE_METATYPE(Calvox_FoundDeviceInfo*)
