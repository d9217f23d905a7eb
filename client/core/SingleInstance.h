#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Keeps one client per user. The first instance listens on a local socket named kApplicationName in the user's
// runtime folder ($XDG_RUNTIME_DIR), so two users never share it; a later start connects, which asks the running
// instance to come forward, and exits.
//
//   SingleInstance instance;
//   if (instance.NotifyRunningInstance()) return 0;
//   ... build the main window ...
//   instance.Listen();
//   connect(&instance, &SingleInstance::ActivationRequested, window, &ZForm::showNormal);
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Full path of the socket: the runtime folder + "/" + name (the name alone when there is no runtime folder).
    QString ServerPath() const;

    // True when a running instance accepted a connection within `timeoutMs`; the connection itself is the
    // request to come forward. False when nothing answers: no socket, a stale socket of a crashed run (the
    // connection is refused), or no answer in time.
    bool NotifyRunningInstance(int timeoutMs = 1000);

    // Starts listening. A socket file left by a crashed run (it refuses connections) is removed first; a socket
    // that still answers, or any other failure, leaves it alone and returns false: this instance then runs
    // without a server.
    bool Listen();

signals:
    // Another start connected.
    void ActivationRequested();

private:
    void TakeConnections();

    QString m_path;
    QLocalServer* m_server = nullptr;
};
