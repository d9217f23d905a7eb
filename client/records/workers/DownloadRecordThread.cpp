#include "workers/DownloadRecordThread.h"

#include "KesDevice.h"
#include "store/RecordPaths.h"

DownloadRecordThread::DownloadRecordThread(KesDevice* device, const QString& localFolder, ZGridListData* rows)
    : Device(device)
    , LocalFolder(localFolder)
    , Rows(rows)
    , m_Records(CopyTickedRecords(rows))
{
}

DownloadRecordThread::~DownloadRecordThread()
{
    Stop = true;
    wait();
    m_End.Seen();
}

void DownloadRecordThread::run()
{
    const EndOfRun::AtExit end{m_End};
    emit DoneSignal(DownloadAll());
}

int DownloadRecordThread::DownloadAll()
{
    for (const TickedRecord& record : m_Records) {
        if (!record.HasRecording)
            continue;
        if (Device == nullptr)
            return Calvox_Result_InvalidArgument;
        // A stop between two records ends the batch as a stop during a transfer does.
        if (Stop)
            return Calvox_Result_Refused;
        const QString baseName = TickedRecordBaseName(record);
        const QString localPath = LocalFolder + QLatin1Char('/') + LocalRecordFileName(baseName, record.PhoneDigits);
        emit DownloadFile(baseName);
        const int r = Device->DownloadToFile(TickedRecordDevicePath(record), localPath, [this](int percent) {
            emit ProgressSignal(percent);
            return Stop ? 1 : 0;
        });
        if (r != 0)
            return r;
    }
    return Calvox_Result_Ok;
}
