#include "player/RecordPlayerFetch.h"

#include "KesDevice.h"
#include "store/RecordStore.h"

#include <cstring>
#include <new>

RecordDownloadThread::RecordDownloadThread(EventCallback callback)
    : m_Callback(std::move(callback))
{
}

RecordDownloadThread::~RecordDownloadThread()
{
    Stop();
    delete[] m_Data.load();
}

void RecordDownloadThread::ReplaceBuffer(unsigned char* data)
{
    delete[] m_Data.exchange(data, std::memory_order_acq_rel);
}

void RecordDownloadThread::Start(KesDevice* device, const QString& path)
{
    m_Buffered.store(0, std::memory_order_release);
    m_Total.store(0, std::memory_order_release);
    ReplaceBuffer(nullptr);
    m_Downloading = false;
    if (device == nullptr) {
        unsigned char* data = nullptr;
        int size = 0;
        if (!ReadWholeFile(path, &data, &size))
            return;
        ReplaceBuffer(data);
        m_Total.store(size, std::memory_order_release);
        m_Buffered.store(size, std::memory_order_release);
        if (m_Callback) {
            m_Callback(0, size);
            m_Callback(1, size);
        }
        return;
    }
    // The handle, not the device object, travels to the thread: a stale handle only fails the transfer.
    m_Handle = device->Handle;
    m_Path = path;
    m_SizeKnown = false;
    m_Stop = false;
    m_Downloading.store(true, std::memory_order_release);
    start(QThread::InheritPriority);
}

void RecordDownloadThread::Stop()
{
    if (!isRunning())
        return;
    m_Stop = true;
    wait();
}

void RecordDownloadThread::run()
{
    const Calvox_EventCallback callback = [this](Calvox_EventType event, int, unsigned char* data, int length) {
        return OnDownloadEvent(event, data, length);
    };
    CalvoxAPI_DownloadFile(m_Handle, m_Path.toLatin1().constData(), &callback);
    m_Downloading.store(false, std::memory_order_release);
}

int RecordDownloadThread::OnDownloadEvent(Calvox_EventType event, unsigned char* data, int length)
{
    if (event == Calvox_Event_FileSize) {
        // One buffer per file: the player may be reading the current one.
        if (m_SizeKnown || length < 0)
            return 1;
        unsigned char* buffer = new (std::nothrow) unsigned char[length > 0 ? length : 1];
        if (buffer == nullptr)
            return 1;
        m_SizeKnown = true;
        ReplaceBuffer(buffer);
        m_Total.store(length, std::memory_order_release);
        if (m_Callback)
            m_Callback(0, length);
        return 0;
    }
    if (event != Calvox_Event_FileData)
        return 0;
    if (m_Stop)
        return 1;
    const int buffered = m_Buffered.load(std::memory_order_relaxed);
    // Never more than the announced size is stored.
    if (!m_SizeKnown || length < 0 || (length > 0 && data == nullptr) || length > m_Total.load() - buffered)
        return 1;
    std::memcpy(m_Data.load(std::memory_order_relaxed) + buffered, data, static_cast<size_t>(length));
    m_Buffered.store(buffered + length, std::memory_order_release);
    if (m_Callback)
        m_Callback(1, buffered + length);
    return 0;
}
