#pragma once

#include "EndOfRun.h"
#include "workers/TickedRecords.h"

#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

class KesDevice;
class ZGridListData;

// Deletes the ticked records of a record grid, missed calls included, on the recorder (with a device) or in
// the local backup of the device chosen on the record page (without one). The ticked rows are copied at
// construction (on the GUI thread, while the grid is still), so the run never reads the grid.
//
// Signals (queued to the receiver's thread): ProgressSignal(i * 100 / count, "<base name>.wav") before record
// i when it has a recording (so the value never reaches 100; missed calls announce nothing), DoneSignal(Errno)
// once, as the last act of the run: 0 when all were deleted, when there were none, or when Stop ended the run
// (checked before each record); the recorder's result of the first record it refused; 2 when a local record
// cannot be deleted. Records deleted before a stop or a failure stay deleted.
class DeleteRecordThread : public QThread
{
    Q_OBJECT

public:
    // device may be null: the records are then those of the local backup.
    DeleteRecordThread(KesDevice* device, ZGridListData* rows);
    // A run still going is stopped and waited for: the run reads this object to its end.
    ~DeleteRecordThread() override;

    // Set by the GUI thread; polled by the worker before each record.
    std::atomic<bool> Stop{false};
    KesDevice* const Device;  // not owned; null for the local backup
    // The grid the rows were copied from (not owned); read only by the constructor.
    ZGridListData* const Rows;

signals:
    void ProgressSignal(int Progress, QString FileName);
    void DoneSignal(int Errno);

protected:
    void run() override;

private:
    int DeleteAll();

    const QList<TickedRecord> m_Records;
    EndOfRun m_End;  // the run's end, seen by the destructor after its wait
};
