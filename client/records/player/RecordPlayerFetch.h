#pragma once

#include "CalvoxSDK.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

class KesDevice;

// Fills a memory buffer with one record file for the player: from the recorder on its own thread (Start with a
// device), or from a local file at once on the caller's thread (Start without one). The buffer is allocated
// once per file at its announced size and never moves while a download runs; Buffered() only grows, and the
// bytes below it are written before it is published, so the player may read them from its thread.
//
// Start and Stop belong to one controlling thread (the player's owner); Start must only be called while the
// thread is not running (the player stops it first).
class RecordDownloadThread : public QThread
{
    Q_OBJECT

public:
    // (event, value): 0 total bytes of the file, 1 bytes buffered so far. From the thread that stored the bytes.
    using EventCallback = std::function<void(int event, int value)>;

    explicit RecordDownloadThread(EventCallback callback);
    ~RecordDownloadThread() override;

    // device null: reads the local file at path whole (events 0 and 1 before it returns; a file that cannot be
    // read leaves nothing buffered). Else downloads the device path (Latin-1) on the thread. Either way the
    // previous file's buffer is dropped first.
    void Start(KesDevice* device, const QString& path);
    // Cancels a running download (at its next block) and waits for the thread.
    void Stop();

    bool Downloading() const { return m_Downloading.load(std::memory_order_acquire); }
    int Total() const { return m_Total.load(std::memory_order_acquire); }
    int Buffered() const { return m_Buffered.load(std::memory_order_acquire); }
    // The file's bytes; valid up to Buffered(). Null before a size is known.
    const unsigned char* Buffer() const { return m_Data.load(std::memory_order_acquire); }

protected:
    void run() override;

private:
    int OnDownloadEvent(Calvox_EventType event, unsigned char* data, int length);
    void ReplaceBuffer(unsigned char* data);

    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Downloading{false};
    std::atomic<int> m_Total{0};
    std::atomic<int> m_Buffered{0};
    std::atomic<unsigned char*> m_Data{nullptr};
    bool m_SizeKnown = false;  // download thread only
    QString m_Path;
    Calvox_DeviceHandle m_Handle = 0;
    EventCallback m_Callback;
};
