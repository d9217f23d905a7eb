// The client's update check against a local update server: what the settings dialog shows, when the client hands
// over to the updater (in a child probe, since a hand-over ends the application's event loops for good), the
// updater's arguments, a retry after a broken reply, and the shutdown bound against a server that never answers.

#include "DialogTestSupport.h"
#include "LocalHttpServer.h"

#include "GetVersionInfoThread.h"
#include "LaunchUpdater.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

namespace {

const std::string kVersionPath = "/CalvoxClient/Version.json";

std::string Document(const QString& version, const QString& notes = "[\"a\",1,\"b\"]")
{
    return QString("{\"Version\":\"%1\",\"Updates-English\":%2,\"Updates-Chinese\":[\"修复\"]}")
        .arg(version, notes)
        .toStdString();
}

// What one probe run showed and did.
struct ProbeRun
{
    QStringList Lines;
    int ExitCode = -1;
    QString UpdaterArguments;  // empty when the updater did not run
};

}  // namespace

class VersionCheckTest : public QObject
{
    Q_OBJECT

private:
    LocalHttpServer m_Server;
    QTemporaryDir m_Program;

    QString Marker() const { return m_Program.filePath("upgrade-arguments"); }

    // The updater: records its arguments (only once it ran to the end, so a reader never sees half).
    void InstallUpdater(bool executable = true)
    {
        const QString path = m_Program.filePath("Upgrade");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/upgrade-arguments.part\"\n"
                   "mv \"$(dirname \"$0\")/upgrade-arguments.part\" \"$(dirname \"$0\")/upgrade-arguments\"\n");
        file.close();
        QFile::setPermissions(path, executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                               : QFile::ReadOwner | QFile::WriteOwner);
    }

    ProbeRun RunProbe(const QStringList& options)
    {
        ProbeRun run;
        QFile::remove(Marker());
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CALVOX_UPDATE_SERVER", QString("127.0.0.1:%1").arg(m_Server.Port()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        probe.setProcessEnvironment(env);
        probe.start(QCoreApplication::applicationDirPath() + "/version_check_probe",
                    QStringList{m_Program.path()} + options);
        // The probe always ends by itself (see its usage); on a busy machine its start alone took half a minute.
        if (!probe.waitForFinished(120000)) {
            probe.kill();
            probe.waitForFinished();
        }
        run.Lines = QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        run.ExitCode = probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
        // The updater is detached: give it a moment to write.
        for (int i = 0; i < 100 && run.ExitCode == 0 && !QFile::exists(Marker()); ++i)
            QTest::qWait(20);
        QFile marker(Marker());
        if (marker.open(QIODevice::ReadOnly))
            run.UpdaterArguments = QString::fromUtf8(marker.readAll()).trimmed();
        return run;
    }

    static QString Line(const ProbeRun& run, const QString& key)
    {
        for (const QString& line : run.Lines) {
            if (line.startsWith(key + "="))
                return line.mid(key.size() + 1);
        }
        return "<none>";
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_Server.Port() != 0);
        QVERIFY(m_Program.isValid());
    }

    // Only four dotted numbers other than our own hand over; the automatic path only with AutoUpgrade on, the
    // button whatever it says. The label shows the text as sent.
    void HandOverTable_data()
    {
        QTest::addColumn<QString>("reply");  // "404" for no document at all
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("launches");
        QTest::addColumn<QString>("label");
        QTest::newRow("same version, automatic") << "2.5.1.5" << "auto" << false << "2.5.1.5";
        QTest::newRow("same version, button") << "2.5.1.5" << "click" << false << "2.5.1.5";
        QTest::newRow("newer, automatic") << "2.5.1.6" << "auto" << true << "2.5.1.6";
        QTest::newRow("newer by text order only, automatic") << "2.5.1.10" << "auto" << true << "2.5.1.10";
        QTest::newRow("older, automatic") << "2.5.1.4" << "auto" << true << "2.5.1.4";
        QTest::newRow("older, button without AutoUpgrade") << "2.5.1.4" << "click" << true << "2.5.1.4";
        QTest::newRow("newer without AutoUpgrade, no click") << "2.5.1.6" << "" << false << "2.5.1.6";
        QTest::newRow("trailing blank, automatic") << "2.5.1.5 " << "auto" << false << "2.5.1.5 ";
        QTest::newRow("trailing blank, button") << "2.5.1.5 " << "click" << false << "2.5.1.5 ";
        QTest::newRow("empty version, automatic") << "" << "auto" << false << "";
        QTest::newRow("empty version, button") << "" << "click" << false << "";
        QTest::newRow("error page, automatic") << "404" << "auto" << false << "";
    }

    void HandOverTable()
    {
        QFETCH(QString, reply);
        QFETCH(QString, options);
        QFETCH(bool, launches);
        QFETCH(QString, label);
        InstallUpdater();
        if (reply == "404")
            m_Server.ServeRaw(kVersionPath, "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found");
        else
            m_Server.Serve(kVersionPath, Document(reply));
        const ProbeRun run = RunProbe(options.split(' ', Qt::SkipEmptyParts));
        QCOMPARE(Line(run, "label"), label);
        QCOMPARE(run.ExitCode, launches ? 0 : 3);
        QCOMPARE(!run.UpdaterArguments.isEmpty(), launches);
        QCOMPARE(Line(run, "tip"), QString("<none>"));
        if (reply == "404")
            QCOMPARE(Line(run, "notes"), QString(""));
    }

    // The updater gets the theme colour and the text colour as eight hex digits each.
    void UpdaterArguments_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("arguments");
        QTest::newRow("default skin") << "" << "ff52b2fa ffffffff";
        QTest::newRow("light theme, grey text") << "theme=83CCD2" << "ff83ccd2 ff646464";
    }

    void UpdaterArguments()
    {
        QFETCH(QString, theme);
        QFETCH(QString, arguments);
        InstallUpdater();
        m_Server.Serve(kVersionPath, Document("2.5.1.6"));
        const ProbeRun run = RunProbe(QStringList{"auto"} + (theme.isEmpty() ? QStringList() : QStringList{theme}));
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.UpdaterArguments, arguments);
    }

    // An updater that cannot start leaves the client running: the button says so, the automatic path only logs.
    void UpdaterThatCannotStart_data()
    {
        QTest::addColumn<QString>("updater");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("tip");
        QTest::newRow("missing, button") << "missing" << "click" << "Operation failed";
        QTest::newRow("not executable, button") << "plain" << "click" << "Operation failed";
        QTest::newRow("missing, automatic") << "missing" << "auto" << "<none>";
        QTest::newRow("not executable, automatic") << "plain" << "auto" << "<none>";
    }

    void UpdaterThatCannotStart()
    {
        QFETCH(QString, updater);
        QFETCH(QString, option);
        QFETCH(QString, tip);
        QFile::remove(m_Program.filePath("Upgrade"));
        if (updater == "plain")
            InstallUpdater(false);
        m_Server.Serve(kVersionPath, Document("2.5.1.6"));
        const ProbeRun run = RunProbe({option});
        QCOMPARE(Line(run, "label"), QString("2.5.1.6"));
        QCOMPARE(run.ExitCode, 3);
        QCOMPARE(Line(run, "tip"), tip);
        QVERIFY(run.UpdaterArguments.isEmpty());
    }

    // A version that arrives while a modal dialog runs hands over only after that dialog ended.
    void HandOverWaitsForTheModalDialog()
    {
        InstallUpdater();
        m_Server.Serve(kVersionPath, Document("2.5.1.6"));
        const ProbeRun run = RunProbe({"auto", "modal"});
        QVERIFY2(run.Lines.contains("modal-ended launched=0"), qPrintable(run.Lines.join('\n')));
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.UpdaterArguments, QString("ff52b2fa ffffffff"));
        // The version had arrived during the modal run.
        QVERIFY(run.Lines.indexOf(QRegularExpression("^version-shown$")) >= 0);
        QVERIFY(run.Lines.indexOf(QRegularExpression("^version-shown$")) <
                run.Lines.indexOf(QRegularExpression("^modal-ended.*")));
    }

    // The notes in the default locale's language, after their heading; elements that are not strings skipped.
    void NotesFollowTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("notes");
        QTest::newRow("English") << "locale=en_US" << "Updates : |a|b";
        QTest::newRow("Chinese") << "locale=zh_CN" << "更新说明 : |修复";
        QTest::newRow("Chinese, Taiwan") << "locale=zh_TW" << "更新说明 : |修复";
    }

    void NotesFollowTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, notes);
        m_Server.Serve(kVersionPath, Document("2.5.1.5"));
        const ProbeRun run = RunProbe({locale});
        QCOMPARE(Line(run, "notes"), notes);
    }

    // The document's shapes, parsed as the thread does it.
    void DocumentShapes_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QStringList>("notes");
        QTest::newRow("no English notes") << QByteArray(R"({"Version":"2.5.1.6"})") << "2.5.1.6"
                                          << QStringList{"Updates : "};
        QTest::newRow("notes not an array") << QByteArray(R"({"Version":"2.5.1.6","Updates-English":"x"})")
                                            << "2.5.1.6" << QStringList{"Updates : "};
        QTest::newRow("version a number") << QByteArray(R"({"Version":2.5,"Updates-English":["n"]})") << ""
                                          << QStringList{"Updates : ", "n"};
        QTest::newRow("an array") << QByteArray(R"(["2.5.1.6"])") << "" << QStringList{"Updates : "};
        QTest::newRow("not JSON") << QByteArray("<html>") << "" << QStringList{};
    }

    void DocumentShapes()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, version);
        QFETCH(QStringList, notes);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        GetVersionInfoThread thread;
        thread.TakeDocument(document);
        QCOMPARE(thread.LatestVersion(), version);
        QCOMPARE(thread.UpdateNotes(), notes);
    }

    // A reply cut short of its length fails the request: the thread tries again 5 s later and signals once.
    void BrokenReplyIsRetriedAfterFiveSeconds()
    {
        m_Server.ServeRaw(kVersionPath, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n{\"Version\":");
        qputenv("CALVOX_UPDATE_SERVER", QString("127.0.0.1:%1").arg(m_Server.Port()).toUtf8());
        const int before = m_Server.Requests();
        GetVersionInfoThread thread;
        // Counted on this thread (queued): a signal spy would be called on the worker while it waits here.
        int got = 0;
        connect(&thread, &GetVersionInfoThread::GotVersionInfo, this, [&got] { ++got; });
        QElapsedTimer clock;
        clock.start();
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_Server.Requests(), before + 1, 5000);
        m_Server.Serve(kVersionPath, Document("2.5.1.6"));
        QTRY_COMPARE_WITH_TIMEOUT(got, 1, 10000);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 4900 && elapsed < 8000, qPrintable(QString::number(elapsed)));
        QVERIFY(thread.wait(5000));
        QTest::qWait(50);
        QCOMPARE(got, 1);
        QCOMPARE(m_Server.Requests(), before + 2);
        QCOMPARE(thread.LatestVersion(), QString("2.5.1.6"));
    }
};

QTEST_MAIN(VersionCheckTest)
#include "tst_version_check.moc"
