#include "player/RecordPlayer.h"

#include "CalvoxSDK.h"
#include "player/RecordPlayerFetch.h"

#include <chrono>

namespace {

constexpr int kBlock = 1024;
// Longest wait of the play loop for more data or for the end of a pause; new data, Stop, SwitchPause and Seek
// wake it earlier.
constexpr int kPollMs = 200;

}  // namespace

RecordPlayer::RecordPlayer()
{
    qRegisterMetaType<RecordPlayerEventType>("RecordPlayerEventType");
    m_Download = new RecordDownloadThread([this](int event, int value) {
        emit EventSignal(static_cast<RecordPlayerEventType>(event), value);
        if (event == RecordPlayer_Buffered)
            Wake();
    });
}

RecordPlayer::~RecordPlayer()
{
    Stop();
    delete m_Download;
}

void RecordPlayer::Wake()
{
    {
        std::lock_guard<std::mutex> lock(m_WakeMutex);
        m_WakeUp = true;
    }
    m_WakeCondition.notify_all();
}

void RecordPlayer::WaitBriefly()
{
    std::unique_lock<std::mutex> lock(m_WakeMutex);
    m_WakeCondition.wait_for(lock, std::chrono::milliseconds(kPollMs), [this] { return m_WakeUp; });
    m_WakeUp = false;
}

void RecordPlayer::Play(KesDevice* device, const QString& path)
{
    Stop();
    m_Paused = false;
    m_Playing = true;
    m_Position = 0;
    m_Download->Start(device, path);
    start(QThread::InheritPriority);
}

void RecordPlayer::Stop()
{
    m_Download->Stop();
    if (isRunning()) {
        m_Playing = false;
        Wake();
        wait();
    }
}

void RecordPlayer::SwitchPause()
{
    if (!m_Playing)
        return;
    if (m_Paused) {
        m_Paused = false;
        emit EventSignal(RecordPlayer_Playing, 0);
    } else {
        m_Paused = true;
        emit EventSignal(RecordPlayer_Paused, 0);
    }
    Wake();
}

void RecordPlayer::Seek(int position)
{
    int p = qBound(0, position, m_Download->Buffered());
    p -= p % kBlock;
    m_Position = p;
    Wake();
}

void RecordPlayer::run()
{
    emit EventSignal(RecordPlayer_Playing, 0);
    while (m_Playing) {
        if (m_Paused) {
            WaitBriefly();
            continue;
        }
        // Read "still downloading" before the byte count: a download that ends in between has published its
        // last bytes already, so the loop never leaves while a whole block is still waiting.
        const bool downloading = m_Download->Downloading();
        const int position = m_Position;
        if (position + kBlock - 1 < m_Download->Buffered()) {
            CalvoxAPI_PlayerWriteData(m_Download->Buffer() + position);
            // A Seek meanwhile wins over the step.
            int expected = position;
            m_Position.compare_exchange_strong(expected, position + kBlock);
            emit EventSignal(RecordPlayer_Position, m_Position.load());
        } else if (!downloading) {
            break;
        } else {
            WaitBriefly();
        }
    }
    emit EventSignal(RecordPlayer_Stopped, 0);
    m_Playing = false;
}
