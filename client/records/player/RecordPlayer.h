#pragma once

#include <QMetaType>
#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

class KesDevice;
class RecordDownloadThread;

// What RecordPlayer::EventSignal reports; Arg as noted. Byte counts are bytes of the stored file (A-law, 8000
// bytes a second).
enum RecordPlayerEventType {
    RecordPlayer_Total = 0,     // total bytes of the file
    RecordPlayer_Buffered = 1,  // bytes buffered so far
    RecordPlayer_Position = 2,  // play position in bytes
    RecordPlayer_Playing = 3,   // started or resumed; 0
    RecordPlayer_Stopped = 4,   // 0
    RecordPlayer_Paused = 5,    // 0
};
Q_DECLARE_METATYPE(RecordPlayerEventType)

// Plays one call record through the SDK's audio output, in 1024-byte blocks (CalvoxAPI_PlayerWriteData, which
// blocks until the output can take a block and so paces playback). The record comes from the recorder, played
// while it downloads, or from a local WAV file; either way the whole file is played as it is stored, and a last
// part shorter than a block is not played. One player serves the whole program.
//
// Play, Stop, SwitchPause and Seek belong to the GUI thread (or a worker the GUI waits for). EventSignal comes
// from the player thread, the download thread and the caller of SwitchPause; receivers connect queued. Stop
// returns within about one block's playing time.
class RecordPlayer : public QThread
{
    Q_OBJECT

public:
    RecordPlayer();
    // Stops the playback and its download first.
    ~RecordPlayer() override;

    // Stops what plays, then plays the device path of the device's record tree, or the local file at path when
    // device is null. Emits 3 at once; a file that cannot be read or downloaded ends with 4.
    void Play(KesDevice* device, const QString& path);
    // Cancels the download and ends the playback (event 4), waiting for both threads. Nothing when idle.
    void Stop();
    // While playing: pauses (5) or resumes (3). Nothing otherwise.
    void SwitchPause();
    // Goes on from position, rounded down to a whole block and held to the bytes buffered so far.
    void Seek(int position);

    // From Play until the playback ends or is stopped; also while paused.
    bool IsPlaying() const { return m_Playing.load(); }
    bool IsPaused() const { return m_Paused.load(); }
    // Byte offset of the next block to play.
    int Position() const { return m_Position.load(); }

signals:
    void EventSignal(RecordPlayerEventType Event, int Arg);

protected:
    void run() override;

private:
    void Wake();
    void WaitBriefly();

    std::atomic<int> m_Position{0};
    std::atomic<bool> m_Paused{false};
    RecordDownloadThread* m_Download = nullptr;
    std::atomic<bool> m_Playing{false};
    std::mutex m_WakeMutex;
    std::condition_variable m_WakeCondition;
    bool m_WakeUp = false;  // under m_WakeMutex
};
