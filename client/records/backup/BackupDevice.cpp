// BackupThread::BackupDevice: one recorder's records into the backup tree, from the second newest local day (or
// the recorder's oldest day) to the recorder's newest day.
#include "backup/BackupThread.h"

#include "DeviceManage.h"
#include "KesDevice.h"
#include "ScaledWait.h"
#include "backup/BackupDay.h"
#include "backup/BackupFileFetch.h"
#include "backup/BackupFinisher.h"
#include "store/RecordIndexFile.h"
#include "store/RecordPaths.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <utility>
#include <vector>

namespace {

// A file download that fails this often in a row ends its device: the recorder may be dropping the transfer for
// good, and the other devices still wait.
constexpr int kFileTries = 5;

// Fetched files are handed to the finisher in batches of a channel-day's files, at most this many (each holds
// an open descriptor until it is finished).
constexpr size_t kBatchFiles = 16;

// Waits between tries of a file, scaled for tests like the SDK's own waits.
int RetryDelayMs()
{
    return ScaledWaitMs(2000);
}

}  // namespace

// The state of one device's copy; a friend of BackupThread for its flags and waits.
class BackupDeviceRun
{
public:
    BackupDeviceRun(BackupThread* thread, KesDevice* device)
        : m_Thread(thread)
        , m_Device(device)
        , m_Handle(device->Handle)
        , m_Id(device->ID)
    {
    }

    // Every file fetched and index copy written is on the disk when this returns true.
    bool Run();

private:
    bool Days();
    bool Day(const BackupDay& day);
    bool ChannelDay(const BackupDay& day, int channel);
    bool Fetch(const QString& devicePath, const QString& localPath, PartFile* part);
    void FinishLater(std::vector<PartFile>* batch);

    BackupThread* m_Thread;
    KesDevice* m_Device;
    Calvox_DeviceHandle m_Handle;
    QString m_Id;
    BackupFinisher m_Finisher;
    // The jobs handed to the finisher before the previous day began.
    size_t m_PreviousDayMark = 0;
};

bool BackupThread::BackupDevice(KesDevice* device)
{
    return BackupDeviceRun(this, device).Run();
}

bool BackupDeviceRun::Run()
{
    const bool copied = Days();
    return m_Finisher.Drain() && copied;
}

bool BackupDeviceRun::Days()
{
    const QString deviceFolder = LocalDeviceFolder(m_Id);
    if (deviceFolder.isEmpty() || !QDir().mkpath(deviceFolder))
        return false;
    DeviceManage::AddLocalDevice(m_Device);
    if (CalvoxAPI_Permission_Download(m_Handle) == 0)
        return false;

    unsigned char y = 0, m = 0, d = 0;
    if (m_Device->GetLatestRecordTime(&y, &m, &d) != 0)
        return false;
    const BackupDay last{y, m, d};
    if (last.Key() == 0)
        return true;  // the recorder holds no records
    if (!last.IsWellFormed())
        return false;

    BackupDay first;
    if (!LocalResumeDay(deviceFolder, last, &first)) {
        // Nothing backed up yet: from the recorder's oldest record on.
        if (CalvoxAPI_GetEarliestRecordTime(m_Handle, &y, &m, &d) != 0)
            return false;
        first = BackupDay{y, m, d};
        if (!first.IsWellFormed() || first.Key() > last.Key())
            first = BackupDay{last.Year, last.Month, 1};
    }

    for (int month = first.Year * 12 + first.Month - 1; month <= last.Year * 12 + last.Month - 1; ++month) {
        const int year = month / 12;
        const int monthOfYear = month % 12 + 1;
        unsigned char days[32] = {};
        if (m_Device->GetDayListFromMonthDir(static_cast<unsigned char>(year), static_cast<unsigned char>(monthOfYear),
                                             days) != 0)
            return false;
        for (int dayOfMonth = 1; dayOfMonth <= 31; ++dayOfMonth) {
            const BackupDay day{year, monthOfYear, dayOfMonth};
            if (days[dayOfMonth] == 0 || day.Key() < first.Key() || day.Key() > last.Key())
                continue;
            if (!Day(day))
                return false;
        }
    }
    return true;
}

bool BackupDeviceRun::Day(const BackupDay& day)
{
    // A later run starts again from the second newest day folder (LocalResumeDay): this day's folders may appear
    // only once every day before the previous one is complete on the disk (its records under their names, its
    // index copies written), or a kill in between would leave such a day's last batch behind for good. Only the
    // days before the previous one: waiting for the previous day itself would stop the transfer at every day's
    // end until its last batch is synced.
    if (!m_Finisher.WaitFor(m_PreviousDayMark))
        return false;
    m_PreviousDayMark = m_Finisher.Added();
    const int channels = qBound(0, m_Device->Channels, 64);
    for (int c = 0; c < channels; ++c) {
        if (CalvoxAPI_Permission_Channel(m_Handle, c) == 0)
            continue;
        if (m_Thread->m_Stop)
            return false;
        if (!ChannelDay(day, c))
            return false;
    }
    return !m_Finisher.Failed();
}

bool BackupDeviceRun::ChannelDay(const BackupDay& day, int channel)
{
    unsigned char* bytes = nullptr;
    int length = 0;
    const int r = m_Device->DownloadToBuffer(DeviceIndexPath(day.Year, day.Month, day.Day, channel), &bytes, &length);
    std::unique_ptr<unsigned char[]> index(bytes);
    if (r == Calvox_Result_FileError)
        return true;  // no records on this channel that day
    if (r != 0)
        return false;
    if (length <= 0)
        return true;

    const QString channelFolder = LocalChannelFolder(m_Id, day.Year, day.Month, day.Day, channel);
    if (channelFolder.isEmpty() || !QDir().mkpath(channelFolder))
        return false;

    const RecordIndexFile file(index.get(), length);
    bool fetched = false;
    std::vector<PartFile> batch;
    for (int i = 0; i < file.RecordCount(); ++i) {
        RecordIndexEntry entry;
        if (!file.IsPresent(i) || !file.ReadEntry(i, &entry) || entry.Type == uint8_t(RecordType::Missed))
            continue;
        const QString localPath = channelFolder + QLatin1Char('/')
            + LocalRecordFileName(RecordBaseName(entry, channel), RecordPhoneText(entry));
        if (QFileInfo(localPath).isFile())
            continue;
        PartFile part;
        if (!Fetch(DeviceRecordPath(entry, channel), localPath, &part)) {
            if (part.Fd >= 0)
                batch.push_back(part);  // whole, but an earlier batch failed: the finisher only removes it
            FinishLater(&batch);        // otherwise what arrived whole still takes its name
            return false;
        }
        if (part.Fd < 0)
            continue;  // the recorder has no such file
        batch.push_back(part);
        fetched = true;
        if (batch.size() >= kBatchFiles)
            FinishLater(&batch);
    }
    // The index copy claims that the day's records are here: it takes its name only after its files are on the
    // disk under theirs (FinishGroup).
    FinishItem end;
    end.Parts = std::move(batch);
    end.EndsChannelDay = true;
    end.Fetched = fetched;
    end.ChannelFolder = channelFolder;
    end.IndexPath = LocalIndexPath(m_Id, day.Year, day.Month, day.Day, channel);
    end.IndexCopy = QByteArray(reinterpret_cast<const char*>(index.get()), length);
    m_Finisher.Add(std::move(end));
    return !m_Finisher.Failed();
}

// Hands the batch to the finisher: synced, then renamed, while the next files arrive.
void BackupDeviceRun::FinishLater(std::vector<PartFile>* batch)
{
    if (batch->empty())
        return;
    FinishItem item;
    item.Parts = std::move(*batch);
    batch->clear();
    m_Finisher.Add(std::move(item));
}

// The file in *part, whole and open, not yet synced (Fd -1 when the recorder has no such file); false when the
// device's run ends here.
bool BackupDeviceRun::Fetch(const QString& devicePath, const QString& localPath, PartFile* part)
{
    emit m_Thread->EventSignal(BackupEvent_FileStarted, m_Device, localPath);
    int failures = 0;
    for (;;) {
        int code = 0;
        const FileFetchResult result =
            FetchFileToBackup(m_Handle, devicePath, localPath, m_Thread->m_Pause, &code, part);
        if (result == FileFetchResult::Done)
            return !m_Finisher.Failed();
        if (result == FileFetchResult::Missing)
            return true;
        if (result == FileFetchResult::LocalError || m_Thread->m_Stop)
            return false;
        if (result == FileFetchResult::Cancelled || m_Thread->m_Pause) {
            emit m_Thread->EventSignal(BackupEvent_Paused, m_Device, localPath);
            if (!m_Thread->WaitWhilePaused())
                return false;
            emit m_Thread->EventSignal(BackupEvent_Resumed, m_Device, localPath);
            continue;
        }
        if (CalvoxAPI_ConnectStatus(m_Handle) != Calvox_Connect_Online || ++failures >= kFileTries)
            return false;
        emit m_Thread->EventSignal(BackupEvent_FileRetry, m_Device, localPath);
        if (!m_Thread->SleepUnlessStopped(RetryDelayMs()))
            return false;
    }
}
