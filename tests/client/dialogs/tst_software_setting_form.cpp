// The software settings dialog as the operator meets it: filled from the stored settings, edited with clicks and
// keys inside its modal run, confirmed or cancelled; results read from g_SoftwareSetting, the settings file and
// the autostart entry. Also the update check's shutdown bound against a server that never answers.

#include "DeviceDialogFixture.h"
#include "LocalHttpServer.h"

#include "AutoStart.h"
#include "GetVersionInfoThread.h"
#include "SoftwareSetting.h"
#include "SoftwareSettingForm.h"

#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZLabel.h"
#include "ZLineEdit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>

namespace {

QJsonObject StoredFile()
{
    QFile file(g_DataPath + "/SoftwareSetting");
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll()).object();
}

}  // namespace

class SoftwareSettingFormTest : public DialogTestCase
{
    Q_OBJECT

private:
    std::unique_ptr<SoftwareSettingForm> m_Form;
    QTemporaryDir m_Config;

    template <class T>
    T* Child(const char* name) const
    {
        return m_Form->findChild<T*>(QLatin1String(name));
    }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(8, 13)); }
    void Type(const char* field, const QString& text)
    {
        auto* edit = Child<ZLineEdit>(field);
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    // Runs the dialog modally; `operate` acts inside the run and ends it with a button.
    int Run(const std::function<void()>& operate)
    {
        QTimer::singleShot(0, m_Form.get(), operate);
        return m_Form->exec(true);
    }
    void MakeForm()
    {
        m_Form.reset();
        m_Form = std::make_unique<SoftwareSettingForm>(m_Main.get());
        Language::Load(g_SoftwareSetting.Language);
        emit g_Skin->SkinChanged();
    }
    bool EnabledAll(const QStringList& names) const
    {
        bool all = true;
        for (const QString& name : names)
            all = all && m_Form->findChild<QWidget*>(name)->isEnabled();
        return all;
    }
    bool DisabledAll(const QStringList& names) const
    {
        bool all = true;
        for (const QString& name : names)
            all = all && !m_Form->findChild<QWidget*>(name)->isEnabled();
        return all;
    }

private slots:
    void initTestCase()
    {
        DialogTestCase::initTestCase();
        // The desktop reads the autostart entry below XDG_CONFIG_HOME; Qt's test mode would redirect it.
        QStandardPaths::setTestModeEnabled(false);
        qputenv("CALVOX_UPDATE_SERVER", "127.0.0.1:1");  // closed: every check fails at once
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_Config.filePath("config")));
    }

    void cleanupTestCase()
    {
        m_Form.reset();
        DialogTestCase::cleanupTestCase();
    }

    void init()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_Config.filePath("config")));
        QFile::remove(AutoStartEntryPath());
        g_SoftwareSetting = SoftwareSetting();
        g_SoftwareSetting.Language = "English";
        QVERIFY(SaveSoftwareSetting());
        MakeForm();
    }

    void ShowsTheStoredSettingsAndTheVersion()
    {
        QCOMPARE(Child<ZLabel>("CurrentVersionLabel")->Text(), QString("2.5.1.5"));
        QCOMPARE(Child<ZComboBox>("LanguageComboBox")->Items(), Language::Names());
        QCOMPARE(Child<ZComboBox>("LanguageComboBox")->SelectedText(), QString("English"));
        QCOMPARE(m_Form->Title(), QString("Software Setup"));
        QCOMPARE(Child<ZLabel>("Label1_4")->Text(), QString("(0~300)"));
        QVERIFY(Child<ZLabel>("Label6")->isEnabled());
    }

    // The edge cases of the dialog, each a run as the operator makes it.
    void EdgeCases()
    {
        struct Case
        {
            const char* Name;
            std::function<void()> Stored;   // settings stored before the dialog is made
            std::function<void()> Operate;  // inside the modal run, ending it
            std::function<bool()> Check;    // afterwards
        };
        SoftwareSetting& s = g_SoftwareSetting;
        QSignalSpy languageChanged(g_Language, &Language::LanguageChanged);
        QJsonObject before;  // the file as stored before each run
        const Case cases[] = {
            {"confirm without a language change does not reload it", [] {},
             [&] { Click(Child<ZButton>("ConfirmButton")); },
             [&] { return languageChanged.count() == 0; }},
            {"a language change reloads it once and the dialog shows the new texts", [] {},
             [&] {
                 Child<ZComboBox>("LanguageComboBox")->SetSelectedIndex(1);
                 Click(Child<ZButton>("ConfirmButton"));
             },
             [&] {
                 return languageChanged.count() == 1 && s.Language == Language::Names()[1] &&
                        StoredFile().value("Language").toString() == Language::Names()[1] &&
                        m_Form->Title() != QString("Software Setup");
             }},
            {"times as typed: letters 0, 500, -5", [] {},
             [&] {
                 Click(Child<ZCheckBox>("WarningPopupCheckBox"));
                 Click(Child<ZCheckBox>("StatusPopupCheckBox"));
                 Click(Child<ZCheckBox>("NotesPopupCheckBox"));
                 Type("WarningPopupLineEdit", "abc");
                 Type("StatusPopupLineEdit", "500");
                 Type("NotesPopupLineEdit", "-5");
                 Click(Child<ZButton>("ConfirmButton"));
             },
             [&] {
                 return s.WarningPopupTime == 0 && s.StatusPopupTime == 500 && s.NotesPopupTime == -5 &&
                        StoredFile().value("StatusPopupTime").toInt() == 500;
             }},
            {"a pop-up switched off disables its dependents, which are still stored",
             [&] { s.StatusPopup = true; s.StatusPopupLocation = 1; },
             [&] {
                 Child<ZComboBox>("StatusPopupComboBox")->SetSelectedIndex(0);
                 Type("StatusPopupLineEdit", "42");
                 Click(Child<ZCheckBox>("StatusPopupCheckBox"));
                 if (!DisabledAll({"StatusPopupComboBox", "StatusPopupLineEdit", "StatusPopupCheckBox1",
                                   "StatusPopupCheckBox2", "StatusPopupCheckBox3"}))
                     return;  // the check fails on what is stored
                 Click(Child<ZButton>("ConfirmButton"));
             },
             [&] { return !s.StatusPopup && s.StatusPopupLocation == 0 && s.StatusPopupTime == 42; }},
            {"a stored cycle of 5 shows the last entry and is stored as 2",
             [&] { s.AutoBackup = true; s.BackupCycle = 5; },
             [&] {
                 if (Child<ZComboBox>("AutoBackupComboBox")->SelectedIndex() == 2)
                     Click(Child<ZButton>("ConfirmButton"));
                 else
                     Click(Child<ZButton>("CancelButton"));
             },
             [&] { return s.BackupCycle == 2 && StoredFile().value("BackupCycle").toInt() == 2; }},
            {"StatusPopup stored true opens with its dependents enabled",
             [&] { s.StatusPopup = true; },
             [&] { Click(Child<ZButton>("CancelButton")); },
             [&] {
                 return EnabledAll({"StatusPopupComboBox", "StatusPopupLineEdit", "StatusPopupCheckBox1",
                                    "StatusPopupCheckBox2", "StatusPopupCheckBox3"}) &&
                        DisabledAll({"NotesPopupComboBox", "NotesPopupLineEdit", "WarningPopupLineEdit",
                                     "AutoBackupComboBox"});
             }},
            {"cancel after editing stores nothing; the edits are shown again",
             [] {},
             [&] {
                 Click(Child<ZCheckBox>("AutoSyncTimeCheckBox"));
                 Click(Child<ZCheckBox>("AutoUpgradeCheckBox"));
                 Click(Child<ZButton>("CancelButton"));
             },
             [&] {
                 return !s.AutoSyncTime && !s.AutoUpgrade && StoredFile() == before &&
                        Child<ZCheckBox>("AutoSyncTimeCheckBox")->Checked() &&
                        Child<ZCheckBox>("AutoUpgradeCheckBox")->Checked();
             }},
            {"a language change keeps the chosen entries of the three lists",
             [&] { s.AutoBackup = true; s.BackupCycle = 1; s.StatusPopupLocation = 0; s.NotesPopupLocation = 1; },
             [&] {
                 Child<ZComboBox>("LanguageComboBox")->SetSelectedIndex(1);
                 Click(Child<ZButton>("ConfirmButton"));
             },
             [&] {
                 return Child<ZComboBox>("AutoBackupComboBox")->SelectedIndex() == 1 &&
                        Child<ZComboBox>("StatusPopupComboBox")->SelectedIndex() == 0 &&
                        Child<ZComboBox>("NotesPopupComboBox")->SelectedIndex() == 1 &&
                        Child<ZComboBox>("AutoBackupComboBox")->Items() !=
                            QStringList({"Daily", "Weekly", "Monthly"});
             }},
        };
        for (const Case& c : cases) {
            g_SoftwareSetting = SoftwareSetting();
            g_SoftwareSetting.Language = "English";
            c.Stored();
            QVERIFY(SaveSoftwareSetting());
            before = StoredFile();
            MakeForm();
            languageChanged.clear();
            const int result = Run(c.Operate);
            QVERIFY2(result == 0, c.Name);
            QVERIFY2(c.Check(), c.Name);
        }
        Language::Load("English");
    }

    // Auto Start follows the box at Confirm: the entry is written, then removed.
    void AutoStartWritesAndRemovesTheEntry()
    {
        QVERIFY(!QFile::exists(AutoStartEntryPath()));
        QCOMPARE(Run([&] {
                     Click(Child<ZCheckBox>("AutoStartupCheckBox"));
                     Click(Child<ZButton>("ConfirmButton"));
                 }),
                 0);
        QVERIFY(QFile::exists(AutoStartEntryPath()));
        QVERIFY(g_SoftwareSetting.AutoStartup);
        QCOMPARE(Run([&] {
                     Click(Child<ZCheckBox>("AutoStartupCheckBox"));
                     Click(Child<ZButton>("ConfirmButton"));
                 }),
                 0);
        QVERIFY(!QFile::exists(AutoStartEntryPath()));
        QVERIFY(!g_SoftwareSetting.AutoStartup);
    }

    // A save that fails - the file or the autostart entry - says so before the dialog ends; the values stay.
    void FailedSaveShowsTheFailureBox_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("settings file cannot be written") << "file";
        QTest::newRow("autostart entry cannot be written") << "entry";
    }

    void FailedSaveShowsTheFailureBox()
    {
        QFETCH(QString, failure);
        const QString dataPath = g_DataPath;
        QTemporaryDir blocked;
        if (failure == "file") {
            g_DataPath = dataPath + "/missing/folder";
        } else {
            QFile file(blocked.filePath("plain"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocked.filePath("plain/config")));
        }
        TipCatcher tips([this] { return QString::number(m_Form->isVisible()); });
        const int result = Run([&] {
            Click(Child<ZCheckBox>("AutoStartupCheckBox"));
            Click(Child<ZButton>("ConfirmButton"));
        });
        g_DataPath = dataPath;
        QCOMPARE(result, 0);
        QCOMPARE(tips.Seen, QStringList{"Operation failed / 1"});  // shown while the dialog was still open
        QVERIFY(g_SoftwareSetting.AutoStartup);
    }

    // At exit the check ends within its bound even when the server accepted and never answers: the thread ends
    // inside the shutdown's wait and is deleted there, not left running. (What the test itself measured on the
    // clock would add the rest of the dialog's destruction and a busy machine's delays.)
    void ShutdownEndsWithinTheBound()
    {
        LocalHttpServer silent;
        silent.SetSilent(true);
        QVERIFY(silent.Port() != 0);
        qputenv("CALVOX_UPDATE_SERVER", QString("127.0.0.1:%1").arg(silent.Port()).toUtf8());
        MakeForm();
        QVERIFY(QTest::qWaitFor([&silent] { return silent.HasWaitingConnection(); }, 10000));  // under way
        const QPointer<GetVersionInfoThread> thread = m_Form->VersionCheck();
        QVERIFY(thread->isRunning());
        m_Form.reset();
        qputenv("CALVOX_UPDATE_SERVER", "127.0.0.1:1");
        QVERIFY2(thread.isNull(), "the check outlasted the shutdown bound and was left running");
        MakeForm();
    }

    // A request that outlasts the bound: the dialog goes after the bound, the thread is left running (never
    // deleted while it runs) and ends by itself once the request ends, touching only its own object.
    void ShutdownLeavesARequestThatOutlastsTheBound()
    {
        // A long body (within the SDK's size limit) one byte per 100 ms, well inside the SDK's silence time-out:
        // the request outlasts any shutdown bound, yet never times out.
        LocalHttpServer server;
        server.SetTrickle(100);
        server.ServeRaw("/CalvoxClient/Version.json",
                        "HTTP/1.0 200 OK\r\nContent-Length: 60000\r\n\r\n" + std::string(60000, ' '));
        QVERIFY(server.Port() != 0);
        qputenv("CALVOX_UPDATE_SERVER", QString("127.0.0.1:%1").arg(server.Port()).toUtf8());
        MakeForm();
        GetVersionInfoThread* thread = m_Form->VersionCheck();
        QSignalSpy got(thread, &GetVersionInfoThread::GotVersionInfo);
        // Under way: a stop before the first request would end the thread at once.
        QVERIFY(QTest::qWaitFor([&server] { return server.Requests() > 0; }, 10000));
        QElapsedTimer clock;
        clock.start();
        m_Form.reset();
        const qint64 took = clock.elapsed();
        qputenv("CALVOX_UPDATE_SERVER", "127.0.0.1:1");
        QVERIFY2(took >= VersionCheckShutdownBoundMs() - 50 && took < VersionCheckShutdownBoundMs() + 1000,
                 qPrintable(QString::number(took)));
        QVERIFY(thread->isRunning());  // left, not deleted
        server.CutTrickle();
        QTRY_VERIFY_WITH_TIMEOUT(thread->isFinished(), 5000);
        QCOMPARE(got.count(), 0);  // disconnected when it was left
        MakeForm();
    }
};

QTEST_MAIN(SoftwareSettingFormTest)
#include "tst_software_setting_form.moc"
