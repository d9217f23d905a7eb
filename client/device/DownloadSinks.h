#pragma once

#include "CalvoxSDK.h"

#include <QtGlobal>

#include <functional>

class QIODevice;

// The receiving ends of CalvoxAPI_DownloadFile: callables for its event callback. They hold every block to the
// size the recorder announced (FileSize): data that would run past it cancels the transfer (the SDK then gives
// 2), and data before any size is ignored. A nonzero return cancels.

// Collects the file into a new[] buffer of the announced size plus `spare` bytes (room for a terminator).
class BufferDownload
{
public:
    explicit BufferDownload(int spare = 0) : m_Spare(spare) {}
    ~BufferDownload() { delete[] m_Buffer; }
    BufferDownload(const BufferDownload&) = delete;
    BufferDownload& operator=(const BufferDownload&) = delete;

    int operator()(Calvox_EventType event, int handle, unsigned char* data, int length);

    // The buffer (null before any size), handed over to the caller, who frees it with delete[].
    unsigned char* Take();
    int Size() const { return m_Size; }
    int Received() const { return m_Received; }

private:
    const int m_Spare;
    unsigned char* m_Buffer = nullptr;
    int m_Size = 0;
    int m_Received = 0;
};

// Writes the file to an open device. `stop` (may be null) is polled before every block; `progress` (may be
// empty) gets the percentage of the announced size after every block written, and its nonzero answer cancels.
class FileDownload
{
public:
    FileDownload(QIODevice* file, volatile bool* stop, std::function<int(int)> progress);

    int operator()(Calvox_EventType event, int handle, unsigned char* data, int length);

    qint64 Received() const { return m_Received; }

private:
    QIODevice* m_File;
    volatile bool* m_Stop;
    std::function<int(int)> m_Progress;
    qint64 m_Size = -1;
    qint64 m_Received = 0;
};
