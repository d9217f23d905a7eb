// Single instance with real processes: a crashed first instance, a successor that takes over its socket, and
// a later start that only brings the successor forward.
#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

class Probe {
public:
    explicit Probe(const QString& runtimeDir)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(SINGLE_INSTANCE_PROBE, QStringList());
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Waits until the output holds the text.
    bool WaitFor(const QByteArray& text, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_output.contains(text)) {
            if (timer.elapsed() > timeoutMs)
                return false;
            if (!m_process.waitForReadyRead(100) && m_process.state() == QProcess::NotRunning) {
                m_output += m_process.readAllStandardOutput();
                return m_output.contains(text);
            }
            m_output += m_process.readAllStandardOutput();
        }
        return true;
    }
    bool WaitForCount(const QByteArray& text, int count, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_output.count(text) < count && timer.elapsed() < timeoutMs) {
            m_process.waitForReadyRead(100);
            m_output += m_process.readAllStandardOutput();
        }
        return m_output.count(text) >= count;
    }
    QProcess& process() { return m_process; }
    QByteArray output() const { return m_output; }

private:
    QProcess m_process;
    QByteArray m_output;
};

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void crashedInstanceIsReplacedAndLaterStartsForward();
    void usersDoNotShareTheSocket();
    void manyLaterStartsAllReachTheInstance();
};

void TestSingleInstance::crashedInstanceIsReplacedAndLaterStartsForward()
{
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString socket = runtime.path() + "/CalvoxClient";

    {
        Probe a(runtime.path());
        QVERIFY2(a.WaitFor("listening " + socket.toUtf8()), a.output().constData());
        a.process().kill();  // SIGKILL: no clean-up, the socket file stays
        QVERIFY(a.process().waitForFinished(5000));
    }
    QVERIFY(QFileInfo::exists(socket));

    Probe b(runtime.path());
    QVERIFY2(b.WaitFor("listening " + socket.toUtf8()), b.output().constData());

    Probe c(runtime.path());
    QVERIFY(c.process().waitForFinished(10000));
    QCOMPARE(c.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(c.process().exitCode(), 0);
    QCOMPARE(c.process().readAllStandardOutput(), QByteArray("forwarded\n"));
    QVERIFY2(b.WaitFor("activated"), b.output().constData());
    QCOMPARE(b.process().state(), QProcess::Running);
}

void TestSingleInstance::usersDoNotShareTheSocket()
{
    QTemporaryDir first, second;
    QVERIFY(first.isValid() && second.isValid());
    Probe a(first.path());
    QVERIFY(a.WaitFor("listening " + first.path().toUtf8()));
    Probe b(second.path());
    QVERIFY2(b.WaitFor("listening " + second.path().toUtf8()), b.output().constData());
    QVERIFY(!a.output().contains("activated"));
}

void TestSingleInstance::manyLaterStartsAllReachTheInstance()
{
    // More starts than a server keeps pending: each must still find the running instance.
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    Probe a(runtime.path());
    QVERIFY(a.WaitFor("listening"));
    for (int i = 0; i < 40; ++i) {
        SingleInstance later;
        QVERIFY2(later.NotifyRunningInstance(), qPrintable(QString("start %1").arg(i)));
    }
    QVERIFY2(a.WaitForCount("activated", 40), a.output().constData());
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
