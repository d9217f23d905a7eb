#include "workers/DeleteRecordThread.h"

#include "KesDevice.h"
#include "store/RecordStore.h"

DeleteRecordThread::DeleteRecordThread(KesDevice* device, ZGridListData* rows)
    : Device(device)
    , Rows(rows)
    , m_Records(CopyTickedRecords(rows))
{
}

DeleteRecordThread::~DeleteRecordThread()
{
    Stop = true;
    wait();
    m_End.Seen();
}

void DeleteRecordThread::run()
{
    const EndOfRun::AtExit end{m_End};
    emit DoneSignal(DeleteAll());
}

int DeleteRecordThread::DeleteAll()
{
    const int count = m_Records.size();
    for (int i = 0; i < count; ++i) {
        const TickedRecord& record = m_Records[i];
        if (record.HasRecording)
            emit ProgressSignal(i * 100 / count, TickedRecordBaseName(record) + QStringLiteral(".wav"));
        if (Stop)
            return Calvox_Result_Ok;
        const Calvox_RecordKey key = TickedRecordKey(record);
        if (Device != nullptr) {
            const int r = Device->DeleteRecord(&key);
            if (r != 0)
                return r;
        } else if (!DeleteLocalRecord(&key)) {
            return Calvox_Result_Refused;
        }
    }
    return Calvox_Result_Ok;
}
