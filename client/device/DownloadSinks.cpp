#include "DownloadSinks.h"

#include <QIODevice>

#include <cstring>
#include <new>

int BufferDownload::operator()(Calvox_EventType event, int, unsigned char* data, int length)
{
    if (event == Calvox_Event_FileSize) {
        // One size per transfer; a second announcement or a negative size is not a file we can hold.
        if (m_Buffer != nullptr || length < 0)
            return 1;
        m_Buffer = new (std::nothrow) unsigned char[static_cast<size_t>(length) + static_cast<size_t>(m_Spare)];
        if (m_Buffer == nullptr)
            return 1;
        m_Size = length;
        m_Received = 0;
        return 0;
    }
    if (event != Calvox_Event_FileData || m_Buffer == nullptr)
        return 0;
    if (length < 0 || (length > 0 && data == nullptr) || length > m_Size - m_Received)
        return 1;
    if (length > 0)
        std::memcpy(m_Buffer + m_Received, data, static_cast<size_t>(length));
    m_Received += length;
    return 0;
}

unsigned char* BufferDownload::Take()
{
    unsigned char* buffer = m_Buffer;
    m_Buffer = nullptr;
    return buffer;
}

FileDownload::FileDownload(QIODevice* file, volatile bool* stop, std::function<int(int)> progress)
    : m_File(file)
    , m_Stop(stop)
    , m_Progress(std::move(progress))
{
}

int FileDownload::operator()(Calvox_EventType event, int, unsigned char* data, int length)
{
    if (event == Calvox_Event_FileSize) {
        if (m_Size >= 0 || length < 0)
            return 1;
        m_Size = length;
        return 0;
    }
    if (event != Calvox_Event_FileData)
        return 0;
    if (m_Stop != nullptr && *m_Stop)
        return 1;
    if (m_Size < 0)
        return 0;
    if (length < 0 || (length > 0 && data == nullptr) || length > m_Size - m_Received)
        return 1;
    if (m_File->write(reinterpret_cast<const char*>(data), length) != length)
        return 1;
    m_Received += length;
    if (!m_Progress)
        return 0;
    return m_Progress(m_Size > 0 ? static_cast<int>(m_Received * 100 / m_Size) : 100);
}
