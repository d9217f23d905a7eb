#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <mutex>

// The client's update check: asks the update server for the client's version document until one request
// succeeds, keeps the latest version and its notes, emits GotVersionInfo once and ends. A failed request is
// tried again 5 s later, for as long as Running is set.
//
// The version and notes are written on the worker thread and read on the GUI thread under one lock, so a read
// at any time sees either the state before or after a delivery.
class GetVersionInfoThread : public QThread
{
    Q_OBJECT

public:
    GetVersionInfoThread();
    // Never called while the thread runs (StopVersionCheck ensures it).
    ~GetVersionInfoThread() override;

    // Cleared by the owner to end the thread after the running request and the current pause.
    std::atomic<bool> Running{true};

    // The "Version" member as sent (empty until a document had one as a string).
    QString LatestVersion() const;
    // The heading ("Updates : " or "更新说明 : ") and the notes of every document received, in order.
    QStringList UpdateNotes() const;

    // Takes one version document: the notes in the default locale's language (Chinese or English) and the
    // version. A document that is not JSON changes nothing. Called by run(); public for tests of the parsing.
    void TakeDocument(const QByteArray& document);

signals:
    // Once, from the worker thread, after the first successful request.
    void GotVersionInfo();

protected:
    void run() override;

private:
    mutable std::mutex m_Lock;  // not QMutex: the thread sanitizer cannot see a futex
    QString m_LatestVersion;
    QStringList m_UpdateNotes;
};

// Ends the check at shutdown: clears Running and waits for the thread within a bound that covers the update
// request's connect and silence time-outs and the pause between tries (about 20 s, scaled like the SDK's
// waits). A thread that has ended is deleted. One still running (a server trickling its reply) is never
// deleted, as a running QThread must not be: it is disconnected and left to end by itself; it touches only
// its own object, which stays allocated. Returns true when the thread had ended.
bool StopVersionCheck(GetVersionInfoThread* thread);

// The bound StopVersionCheck waits, in milliseconds.
int VersionCheckShutdownBoundMs();
