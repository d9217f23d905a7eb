#pragma once

#include "EndOfRun.h"
#include "workers/TickedRecords.h"

#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

class KesDevice;
class ZGridListData;

// Downloads the ticked records of a record grid that have a recording (talk time not "--/--") from the
// recorder into LocalFolder, one after the other, as "<base name>-<phone digits>.wav", or "<base name>.wav"
// when the record has no phone digits; a file of that name is replaced. The ticked rows are copied at
// construction (on the GUI thread, while the grid is still), so the run never reads the grid.
//
// Signals (queued to the receiver's thread): DownloadFile(base name) before each record, ProgressSignal(percent
// of that record) after each block, DoneSignal(Errno) once, as the last act of the run: 0 when every record
// was downloaded (or none qualified), else the result of the record that failed, which ends the batch. Stop
// cancels the record in transfer (its file is not left behind; those done before stay) and ends the batch
// with 2. A local file that cannot be created gives 21, one that cannot be written 20. Without a device the
// batch ends with 4 before any file is touched.
class DownloadRecordThread : public QThread
{
    Q_OBJECT

public:
    DownloadRecordThread(KesDevice* device, const QString& localFolder, ZGridListData* rows);
    // A run still going is stopped and waited for: the run reads this object to its end.
    ~DownloadRecordThread() override;

    // Set by the GUI thread; polled by the worker before each record and for every block.
    std::atomic<bool> Stop{false};
    KesDevice* const Device;  // not owned
    const QString LocalFolder;
    // The grid the rows were copied from (not owned); read only by the constructor.
    ZGridListData* const Rows;

signals:
    void ProgressSignal(int Progress);
    void DownloadFile(QString FileName);
    void DoneSignal(int Errno);

protected:
    void run() override;

private:
    int DownloadAll();

    const QList<TickedRecord> m_Records;
    EndOfRun m_End;  // the run's end, seen by the destructor after its wait
};
