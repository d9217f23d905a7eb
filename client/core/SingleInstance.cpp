#include "SingleInstance.h"

#include "ProgramFolder.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

enum class ProbeResult { Answered, Refused, NoAnswer };

ProbeResult Probe(const QString& path, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(path, QIODevice::ReadWrite);
    if (socket.waitForConnected(timeoutMs)) {
        socket.disconnectFromServer();
        return ProbeResult::Answered;
    }
    // ECONNREFUSED on a socket file means nobody listens on it any more.
    if (socket.error() == QLocalSocket::ConnectionRefusedError)
        return ProbeResult::Refused;
    return ProbeResult::NoAnswer;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
{
    const QString socketName = name.isEmpty() ? QString::fromLatin1(kApplicationName) : name;
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    m_path = runtime.isEmpty() ? socketName : runtime + QLatin1Char('/') + socketName;
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerPath() const
{
    return m_path;
}

bool SingleInstance::NotifyRunningInstance(int timeoutMs)
{
    return Probe(m_path, timeoutMs) == ProbeResult::Answered;
}

bool SingleInstance::Listen()
{
    if (m_server && m_server->isListening())
        return true;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::TakeConnections);
    }
    if (m_server->listen(m_path))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // The name is taken. Remove it only when a probe made now is refused: then it is a crashed run's leftover,
    // never the socket of an instance that started meanwhile.
    if (Probe(m_path, 1000) != ProbeResult::Refused)
        return false;
    QLocalServer::removeServer(m_path);
    return m_server->listen(m_path);
}

// Pending connections are taken and closed at once: left queued, they would fill the server's backlog and later
// starts could no longer reach this instance.
void SingleInstance::TakeConnections()
{
    while (QLocalSocket* connection = m_server->nextPendingConnection()) {
        connection->disconnectFromServer();
        connection->deleteLater();
        emit ActivationRequested();
    }
}
