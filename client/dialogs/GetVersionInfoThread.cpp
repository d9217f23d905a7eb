#include "GetVersionInfoThread.h"

#include "ScaledWait.h"

#include "CalvoxSDK.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QLocale>

namespace {

// The pause after a failed request, and the SDK's bounds of one update request (connect, then the longest
// silence of the server), which the shutdown wait must cover.
constexpr int kRetryPauseMs = 5000;
constexpr int kRequestConnectMs = 5000;
constexpr int kRequestSilenceMs = 10000;
constexpr int kShutdownSlackMs = 1000;

// Threads that outlived the shutdown wait. Kept reachable to the end of the process (the list itself is never
// destroyed): they may still be running and must not be freed.
QList<GetVersionInfoThread*>& AbandonedThreads()
{
    static auto* threads = new QList<GetVersionInfoThread*>;
    return *threads;
}

}  // namespace

GetVersionInfoThread::GetVersionInfoThread() = default;

GetVersionInfoThread::~GetVersionInfoThread() = default;

QString GetVersionInfoThread::LatestVersion() const
{
    std::lock_guard<std::mutex> locker(m_Lock);
    return m_LatestVersion;
}

QStringList GetVersionInfoThread::UpdateNotes() const
{
    std::lock_guard<std::mutex> locker(m_Lock);
    return m_UpdateNotes;
}

void GetVersionInfoThread::TakeDocument(const QByteArray& document)
{
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(document, &error);
    if (error.error != QJsonParseError::NoError)
        return;
    const QJsonObject object = parsed.object();  // empty for an array
    const bool chinese = QLocale().language() == QLocale::Chinese;
    const QJsonArray notes = object.value(chinese ? QLatin1String("Updates-Chinese")
                                                  : QLatin1String("Updates-English")).toArray();
    const QJsonValue version = object.value(QLatin1String("Version"));

    std::lock_guard<std::mutex> locker(m_Lock);
    m_LatestVersion = version.isString() ? version.toString() : QString();
    m_UpdateNotes.append(chinese ? QStringLiteral("更新说明 : ") : QStringLiteral("Updates : "));
    for (const QJsonValue& note : notes) {
        if (note.isString())
            m_UpdateNotes.append(note.toString());
    }
}

void GetVersionInfoThread::run()
{
    while (Running) {
        const Calvox_EventCallback callback = [this](Calvox_EventType type, int, unsigned char* data, int length) {
            if (type == Calvox_Event_FileData && data != nullptr && length > 0)
                TakeDocument(QByteArray(reinterpret_cast<const char*>(data), length));
            return 0;
        };
        if (CalvoxAPI_GetClientVersionInfo(&callback) == 0) {
            emit GotVersionInfo();
            return;
        }
        QThread::msleep(static_cast<unsigned long>(ScaledWaitMs(kRetryPauseMs)));
    }
}

int VersionCheckShutdownBoundMs()
{
    return ScaledWaitMs(kRequestConnectMs + kRequestSilenceMs + kRetryPauseMs) + kShutdownSlackMs;
}

bool StopVersionCheck(GetVersionInfoThread* thread)
{
    if (thread == nullptr)
        return true;
    thread->Running = false;
    if (thread->wait(static_cast<unsigned long>(VersionCheckShutdownBoundMs()))) {
        delete thread;
        return true;
    }
    QObject::disconnect(thread, nullptr, nullptr, nullptr);
    AbandonedThreads().append(thread);
    return false;
}
