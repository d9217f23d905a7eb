// The record page, the player bar and the record menu as an operator meets them: the real main window against
// a recorder emulated in this process.

#include "RecordPageRig.h"

#include "ALawTable.h"
#include "ContactsEditForm.h"
#include "EditRecordNotesForm.h"
#include "RecordStatisticsForm.h"
#include "ZComboBox.h"
#include "MainFormGlobals.h"
#include "player/RecordPlayer.h"
#include "SingleProgressForm.h"
#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZLabel.h"
#include "ZLineEdit.h"
#include "ZProgressBar.h"
#include "ZTrackBar.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>

namespace {

// Answers the next file dialog with `path`.
SingleProgressForm* ProgressForm()
{
    return Shown<SingleProgressForm>();
}
QString ProgressText()
{
    return ProgressForm()->findChild<ZLabel*>(QStringLiteral("ContentLabel"))->Text();
}
void PressProgressButton()
{
    QTest::mouseClick(ProgressForm()->findChild<ZButton*>(QStringLiteral("CancelButton")), Qt::LeftButton);
}

// Closes the progress window once it shows a final text, keeping that text in *seen.
void CloseProgressWhenDone(QObject* owner, QString* seen)
{
    When(owner,
         [] {
             return ProgressForm() != nullptr &&
                    ProgressForm()->findChild<ZButton*>(QStringLiteral("CancelButton"))->Text() == QLatin1String("Completed");
         },
         [seen] {
             *seen = ProgressText();
             PressProgressButton();
         });
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "checked enabled" of a check box as two digits.
QString Box(const ZCheckBox* box)
{
    return QStringLiteral("%1%2").arg(int(box->Checked())).arg(int(box->isEnabled()));
}

}  // namespace

class RecordPageTest : public QObject
{
    Q_OBJECT

private:
    static QString TimeState(Ui::MainForm* ui)
    {
        return QStringLiteral("start=%1 end=%2 edits=%3%4 quick=%5%6%7")
            .arg(Box(ui->SearchStartTimeCheckBox), Box(ui->SearchEndTimeCheckBox))
            .arg(int(ui->SearchStartDateTimeEdit->isEnabled()))
            .arg(int(ui->SearchEndDateTimeEdit->isEnabled()))
            .arg(int(ui->SearchTime1CheckBox->Checked()))
            .arg(int(ui->SearchTime2CheckBox->Checked()))
            .arg(int(ui->SearchTime3CheckBox->Checked()));
    }

    // Ticks the first row only, deletes through the menu and returns the progress window's last text.
    QString DeleteFirstRecord(RecordPageRig& rig)
    {
        ZGridListData* table = rig.ui->RecordGridList->DataSource();
        table->Lock();
        table->Rows[0]->Cells[0] = true;
        table->Unlock();
        QString seen;
        CloseProgressWhenDone(this, &seen);
        rig.Menu(0, 4);
        if (!QTest::qWaitFor([&seen] { return !seen.isEmpty(); }, 20000))
            return QStringLiteral("<no end shown>");
        return seen;
    }

private slots:
    void initTestCase() { qputenv("CALVOX_AUDIO_SINK", "null"); }

    void timeBoxesCouple_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("state");
        QTest::newRow("nothing") << QStringList{} << "start=01 end=01 edits=00 quick=000";
        QTest::newRow("start checks end") << QStringList{"SearchStartTimeCheckBox"} << "start=11 end=11 edits=11 quick=000";
        QTest::newRow("end checks start") << QStringList{"SearchEndTimeCheckBox"} << "start=11 end=11 edits=11 quick=000";
        QTest::newRow("unchecking end unchecks start")
            << QStringList{"SearchStartTimeCheckBox", "SearchEndTimeCheckBox"} << "start=01 end=01 edits=00 quick=000";
        QTest::newRow("a quick range clears and locks the explicit one")
            << QStringList{"SearchStartTimeCheckBox", "SearchTime1CheckBox"} << "start=00 end=00 edits=00 quick=100";
        QTest::newRow("another quick range replaces it")
            << QStringList{"SearchStartTimeCheckBox", "SearchTime1CheckBox", "SearchTime2CheckBox"}
            << "start=00 end=00 edits=00 quick=010";
        QTest::newRow("unchecking the quick range frees the explicit one")
            << QStringList{"SearchTime1CheckBox", "SearchTime2CheckBox", "SearchTime2CheckBox"}
            << "start=01 end=01 edits=00 quick=000";
        QTest::newRow("a locked start box takes no click")
            << QStringList{"SearchTime3CheckBox", "SearchStartTimeCheckBox"} << "start=00 end=00 edits=00 quick=001";
    }
    void timeBoxesCouple()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, state);
        RecordPageRig rig;
        for (const QString& name : clicks)
            rig.Click(rig.Form->findChild<QWidget*>(name));
        QCOMPARE(TimeState(rig.ui), state);
    }

    void filterBoxesEnableTheirFields()
    {
        RecordPageRig rig;
        Ui::MainForm* ui = rig.ui;
        const struct {
            ZCheckBox* box;
            QList<QWidget*> fields;
        } filters[] = {
            {ui->SearchRecordTypeCheckBox, {ui->SearchRecordTypeComboBox}},
            {ui->SearchChannelCheckBox, {ui->SearchChannelButton}},
            {ui->SearchPhoneNumCheckBox, {ui->SearchPhoneNumLineEdit}},
            {ui->SearchPhoneNumNameCheckBox, {ui->SearchPhoneNumNameLineEdit}},
            {ui->SearchTalkTimeCheckBox, {ui->SearchTalkTimeLowLineEdit, ui->SearchTalkTimeHighLineEdit}},
            {ui->SearchNotesCheckBox, {ui->SearchNotesLineEdit}},
        };
        for (const auto& filter : filters) {
            for (bool on : {true, false}) {
                rig.Click(filter.box);
                for (QWidget* field : filter.fields)
                    QVERIFY2(field->isEnabled() == on, qPrintable(field->objectName()));
            }
        }
    }

    void endFollowsTheStart()
    {
        RecordPageRig rig;
        Ui::MainForm* ui = rig.ui;
        rig.SetRange(QDateTime(QDate(2024, 5, 6), QTime(8, 0)), QDateTime(QDate(2024, 5, 6), QTime(9, 30)));
        ui->SearchStartDateTimeEdit->setDateTime(QDateTime(QDate(2024, 5, 10), QTime(8, 15)));
        QCOMPARE(ui->SearchEndDateTimeEdit->dateTime(), QDateTime(QDate(2024, 5, 10), QTime(23, 59)));
        ui->SearchEndDateTimeEdit->setDateTime(QDateTime(QDate(2024, 5, 9), QTime(12, 0)));
        QCOMPARE(ui->SearchEndDateTimeEdit->dateTime(), QDateTime(QDate(2024, 5, 10), QTime(8, 15)));
        // A start still before the end leaves the end alone.
        ui->SearchStartDateTimeEdit->setDateTime(QDateTime(QDate(2024, 5, 10), QTime(7, 0)));
        QCOMPARE(ui->SearchEndDateTimeEdit->dateTime(), QDateTime(QDate(2024, 5, 10), QTime(8, 15)));
    }

    void playerBarShowsThePlayersEvents()
    {
        RecordPageRig rig;
        Ui::MainForm* ui = rig.ui;
        const struct {
            int bytes;
            const char* text;
        } totals[] = {{4000000, "08:20"}, {800000000, "1666:40"}, {479999, "00:59"}};
        for (const auto& total : totals) {
            rig.Form->RecordPlayerEvent(RecordPlayer_Total, total.bytes);
            QCOMPARE(ui->PlayerTimeLabel2->Text(), QString(total.text));
            QCOMPARE(ui->PlayerTrackBar->Maximum(), total.bytes);
        }
        rig.Form->RecordPlayerEvent(RecordPlayer_Buffered, 300000);
        QCOMPARE(ui->PlayerTrackBar->Value2(), 300000);

        // The label is set when the whole second changes, not on every report.
        rig.Form->RecordPlayerEvent(RecordPlayer_Position, 8000);
        QCOMPARE(ui->PlayerTimeLabel1->Text(), QString("00:01"));
        ui->PlayerTimeLabel1->SetText("unchanged");
        rig.Form->RecordPlayerEvent(RecordPlayer_Position, 15999);
        QCOMPARE(ui->PlayerTimeLabel1->Text(), QString("unchanged"));
        QCOMPARE(ui->PlayerTrackBar->Value1(), 15999);
        rig.Form->RecordPlayerEvent(RecordPlayer_Position, 16000);
        QCOMPARE(ui->PlayerTimeLabel1->Text(), QString("00:02"));

        rig.Form->RecordPlayerEvent(RecordPlayer_Stopped, 0);
        QCOMPARE(ui->PlayerTimeLabel1->Text(), QString("00:00"));
        QCOMPARE(ui->PlayerTimeLabel2->Text(), QString("00:00"));
        QCOMPARE(ui->PlayerTrackBar->Value1(), 0);
        QCOMPARE(ui->PlayerTrackBar->Value2(), 0);
        // After a stop the first second shows again.
        rig.Form->RecordPlayerEvent(RecordPlayer_Position, 8000);
        QCOMPARE(ui->PlayerTimeLabel1->Text(), QString("00:01"));
    }

    void muteAndVolume()
    {
        RecordPageRig rig;
        Ui::MainForm* ui = rig.ui;
        ui->PlayerVolumeTrackBar->SetValue1(0);
        QCOMPARE(ui->MuteButton->Tag, qintptr(1));
        // At 0 the mute button shows the sound image while nothing sounds; 50 then keeps it.
        rig.Click(ui->MuteButton);
        QCOMPARE(ui->MuteButton->Tag, qintptr(0));
        QCOMPARE(ui->PlayerVolumeTrackBar->Value1(), 0);
        ui->PlayerVolumeTrackBar->SetValue1(50);
        QCOMPARE(ui->MuteButton->Tag, qintptr(0));
        QCOMPARE(ui->PlayerVolumeLabel->Text(), QString("50%"));
        // Muting leaves the slider; moving it ends the mute.
        rig.Click(ui->MuteButton);
        QCOMPARE(ui->MuteButton->Tag, qintptr(1));
        QCOMPARE(ui->PlayerVolumeTrackBar->Value1(), 50);
        ui->PlayerVolumeTrackBar->SetValue1(20);
        QCOMPARE(ui->MuteButton->Tag, qintptr(0));
        ui->PlayerVolumeTrackBar->SetValue1(0);
        QCOMPARE(ui->MuteButton->Tag, qintptr(1));
    }

    void searchesTheRecorder()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        Ui::MainForm* ui = rig.ui;

        rig.WholeDay(6);
        rig.Search();
        QStringList rows = rig.Rows();
        QCOMPARE(rows.size(), 3);
        const QStringList first = rows[0].split(QLatin1Char('|'));
        QCOMPARE(first[0], QString("2024-05-06 07:08:09"));
        QCOMPARE(first[1], QString("1"));
        QCOMPARE(first[3], QString("Inbound"));
        QCOMPARE(first[4], QString("01:05"));
        QCOMPARE(first[6], QString("0123456"));
        QCOMPARE(first[7], QString("Alice"));
        QCOMPARE(g_RecordSearchCondition.Target, 0);

        rig.SetRange(QDateTime(QDate(2024, 5, 5), QTime(23, 59)), QDateTime(QDate(2024, 5, 6), QTime(7, 9)));
        rig.Search();
        rows = rig.Rows();
        QCOMPARE(rows.size(), 2);
        QVERIFY(rows[0].startsWith("2024-05-05 23:59:00|2|"));
        QVERIFY(rows[1].startsWith("2024-05-06 07:08:09|1|"));

        // One filter at a time over the whole day of the 6th.
        rig.WholeDay(6);
        const auto only = [&](ZCheckBox* box, std::function<void()> fill) {
            rig.Click(box);
            fill();
            rig.Search();
            const QStringList found = rig.Rows();
            rig.Click(box);
            return found;
        };
        for (int channel = 0; channel < 4; ++channel)
            rig.Device->ChannelFlags[channel] = channel == 2;
        rows = only(ui->SearchChannelCheckBox, [] {});
        QCOMPARE(rows.size(), 2);
        QVERIFY(rows[0].startsWith("2024-05-06 07:10:00|3|") && rows[1].startsWith("2024-05-06 09:00:00|3|"));
        rows = only(ui->SearchPhoneNumCheckBox, [&] { ui->SearchPhoneNumLineEdit->SetText("555"); });
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].startsWith("2024-05-06 07:10:00"));
        rows = only(ui->SearchPhoneNumNameCheckBox, [&] { ui->SearchPhoneNumNameLineEdit->SetText("bob"); });
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].contains("|9555|Bob|"));
        rows = only(ui->SearchTalkTimeCheckBox, [&] {
            ui->SearchTalkTimeLowLineEdit->SetText("60");
            ui->SearchTalkTimeHighLineEdit->SetText("65");
        });
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].startsWith("2024-05-06 07:08:09"));
        rows = only(ui->SearchRecordTypeCheckBox, [&] { ui->SearchRecordTypeComboBox->SetSelectedIndex(2); });
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].startsWith("2024-05-06 09:00:00|3||Missed|--/--"));

        // Sorting by a column, then the same column again reverses; the check header checks all, then none.
        rig.Search();
        rig.Header(7);
        QVERIFY(rig.Rows()[0].contains("|0123456|"));
        rig.Header(7);
        QVERIFY(rig.Rows()[0].contains("|9555|"));
        rig.Header(0);
        ZGridListData* table = ui->RecordGridList->DataSource();
        for (const ZGridListRow* row : table->Rows)
            QCOMPARE(row->Cells[0].Value, qintptr(1));
        rig.Header(0);
        for (const ZGridListRow* row : table->Rows)
            QCOMPARE(row->Cells[0].Value, qintptr(0));
    }

    void playsARecordFromTheRecorder()
    {
        QTemporaryDir sinkDir;
        const QString sink = sinkDir.filePath("out.wav");
        qputenv("CALVOX_AUDIO_SINK", ("wav:" + sink).toUtf8());
        QByteArray stored;
        {
            RecordPageRig rig;
            QVERIFY(rig.LogIn());
            rig.ui->PlayerVolumeTrackBar->SetValue1(100);
            rig.WholeDay(6);
            rig.Search();
            QCOMPARE(rig.RowCount(), 3);
            rig.SelectRecord(0);
            bool started = false;
            QObject::connect(g_RecordPlayer, &RecordPlayer::EventSignal, rig.Form,
                             [&started](RecordPlayerEventType e, int) { started = started || e == RecordPlayer_Playing; });
            rig.Click(rig.ui->PlayButton);
            QCOMPARE(rig.ui->RecordGridList->LockedRow, rig.ui->RecordGridList->DataSource()->Rows[0]);
            QTRY_VERIFY(started);
            QTRY_VERIFY_WITH_TIMEOUT(!g_RecordPlayer->IsPlaying(), 20000);
            QTRY_COMPARE(rig.ui->PlayerTimeLabel2->Text(), QString("00:00"));
            stored = ReadAll(rig.StoragePath("/RecordFiles/2405/06/CH01/240506070809-CH01.wav"));
        }  // the SDK closes its output with the main window: the WAV file is complete now
        qputenv("CALVOX_AUDIO_SINK", "null");

        const QByteArray out = ReadAll(sink);
        QVERIFY(out.size() > 44);
        QCOMPARE(out.mid(36, 4), QByteArray("data"));
        const int blocks = stored.size() / 1024;
        QVERIFY(blocks >= 2);
        const QByteArray pcm = out.mid(44);
        QCOMPARE(pcm.size(), blocks * 1024 * 2);
        for (int i = 0; i < blocks * 1024; ++i) {
            const auto sample = static_cast<int16_t>(quint8(pcm[2 * i]) | (quint8(pcm[2 * i + 1]) << 8));
            if (sample != calvox::kALawTable[quint8(stored[i])])
                QFAIL(qPrintable(QString("sample %1 differs").arg(i)));
        }
    }

    void downloadsTheCheckedRecords()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        rig.WholeDay(6);
        rig.Search();
        rig.Header(0);
        QTemporaryDir folder;
        QString seen;
        AnswerFileDialog(this, folder.path());
        CloseProgressWhenDone(this, &seen);
        rig.Menu(0, 3);
        QTRY_VERIFY(!seen.isEmpty());
        QTRY_VERIFY(ProgressForm() == nullptr);
        QCOMPARE(seen, QString("Download Finished"));
        QStringList files = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, (QStringList{"240506070809-CH01-0123456.wav", "240506071000-CH03-9555.wav"}));
        QCOMPARE(ReadAll(folder.filePath(files[0])),
                 ReadAll(rig.StoragePath("/RecordFiles/2405/06/CH01/240506070809-CH01.wav")));
        QCOMPARE(ReadAll(folder.filePath(files[1])),
                 ReadAll(rig.StoragePath("/RecordFiles/2405/06/CH03/240506071000-CH03.wav")));
    }

    void aSilentRecorderEndsTheDownloadAndKeepsEarlierFiles()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        rig.WholeDay(6);
        rig.Search();
        rig.Header(0);
        const emu::Handler* download = emu::DefaultCommands().Find(29);
        QVERIFY(download);
        auto silent = std::make_shared<std::atomic<bool>>(false);
        rig.Recorder->SetHandler(29, [download, silent](emu::Exchange& x) {
            const std::vector<uint8_t>& p = x.request.payload;
            if (p.size() > 2 && p[0] == 0 &&
                QByteArray(reinterpret_cast<const char*>(p.data()) + 2).contains("071000"))
                *silent = true;
            if (!*silent)
                (*download)(x);
        });
        QTemporaryDir folder;
        QString seen;
        AnswerFileDialog(this, folder.path());
        CloseProgressWhenDone(this, &seen);
        rig.Menu(0, 3);
        QTRY_VERIFY_WITH_TIMEOUT(!seen.isEmpty(), 30000);
        QCOMPARE(seen, QString("Download Failed Errno:3"));
        QTRY_VERIFY(ProgressForm() == nullptr);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"240506070809-CH01-0123456.wav"});
    }

    void cancellingADownloadLeavesNoPartialFile()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        rig.WholeDay(6);
        rig.Search();
        rig.Header(0);
        rig.Recorder->SetHandler(29, {});  // the recorder falls silent: the download hangs until cancelled
        QTemporaryDir folder;
        AnswerFileDialog(this, folder.path());
        bool pressed = false;
        When(this, [] { return ProgressForm() != nullptr; }, [&pressed] {
            pressed = true;
            PressProgressButton();
        });
        rig.Menu(0, 3);
        QTRY_VERIFY(pressed);
        QTRY_VERIFY(ProgressForm() == nullptr);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
    }

    void deletesARecordOnTheRecorder()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        rig.WholeDay(6);
        rig.Search();
        QCOMPARE(DeleteFirstRecord(rig), QString("Deleting Finshied"));
        QTRY_COMPARE(rig.RowCount(), 2);
        QVERIFY(!QFile::exists(rig.StoragePath("/RecordFiles/2405/06/CH01/240506070809-CH01.wav")));
        const QByteArray index = ReadAll(rig.StoragePath("/RecordFiles/2405/06/CH01.Index"));
        QVERIFY(index.isEmpty() || (index[0] & 1) == 0);
        for (const QString& row : rig.Rows())
            QVERIFY(!row.startsWith("2024-05-06 07:08:09"));
    }

    void statisticsFollowAFreshSearch()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        rig.WholeDay(6);
        bool shown = false;
        When(this, [] { return Shown<RecordStatisticsForm>() != nullptr; }, [&shown] {
            shown = true;
            QTest::mouseClick(Shown<RecordStatisticsForm>()->findChild<QWidget*>(QStringLiteral("ConfirmButton")),
                              Qt::LeftButton);
        });
        rig.Click(rig.ui->RecordStatisticsButton);
        QTRY_VERIFY(shown);
        QCOMPARE(rig.RowCount(), 3);
        QCOMPARE(g_RecordSearchCondition.Target, 0);
    }

    void addsTheCallerToTheContacts()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        rig.WholeDay(6);
        rig.Search();
        When(this, [] { return Shown<ContactsEditForm>() != nullptr; }, [] {
            ContactsEditForm* form = Shown<ContactsEditForm>();
            form->findChild<ZLineEdit*>(QStringLiteral("NameLineEdit"))->SetText("Carol");
            form->findChild<ZComboBox*>(QStringLiteral("ContactsListComboBox"))->SetSelectedIndex(0);
            QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("ConfirmButton")), Qt::LeftButton);
        });
        rig.Menu(2, 6);  // the missed call from 0777
        QTRY_VERIFY(ReadAll(ContactsRoot + "/Staff").contains("Carol"));
        const QJsonArray contacts =
            QJsonDocument::fromJson(ReadAll(ContactsRoot + "/Staff")).object().value("Contacts").toArray();
        QCOMPARE(contacts.size(), 3);
        QCOMPARE(contacts[2].toObject().value("PhoneNum").toString(), QString("0777"));
    }

    void theMenuFollowsTargetAndRows()
    {
        RecordPageRig rig;
        QList<bool> enabled;
        const QList<bool> none{false, false, false, false, false, false, false};
        rig.Menu(-1, -1, &enabled);  // before any search: no device named
        QTRY_COMPARE(enabled, none);
        QVERIFY(rig.LogIn());
        rig.WholeDay(6);
        rig.Search();
        enabled.clear();
        rig.Menu(2, -1, &enabled);  // the missed call: everything but Play; nothing checked
        QTRY_COMPARE(enabled, (QList<bool>{false, true, true, false, false, false, true}));
        rig.Header(0);
        enabled.clear();
        rig.Menu(0, -1, &enabled);
        QTRY_COMPARE(enabled, (QList<bool>{true, true, true, true, true, true, true}));
        // Gone offline since the search: nothing.
        QCOMPARE(rig.Device->Logout(), 0);
        QTRY_VERIFY(CalvoxAPI_ConnectStatus(rig.Device->Handle) != 2);
        enabled.clear();
        rig.Menu(0, -1, &enabled);
        QTRY_COMPARE(enabled, none);
    }

    void thePcBackupTree()
    {
        RecordPageRig rig;
        QVERIFY(rig.LogIn());
        rig.UseTreeAsBackup();
        QCOMPARE(rig.ui->SearchDeviceComboBox->SelectedText(), QString("Office"));
        rig.WholeDay(6);
        rig.Search();
        QCOMPARE(g_RecordSearchCondition.Target, 1);
        QCOMPARE(rig.RowCount(), 3);
        QVERIFY(rig.Rows()[0].startsWith("2024-05-06 07:08:09|1||Inbound|01:05|"));

        // Play: the plain name is missing, the name with the phone digits is played.
        rig.SelectRecord(0);
        bool stoppedWithoutPlaying = true;
        int total = 0;
        QObject::connect(g_RecordPlayer, &RecordPlayer::EventSignal, rig.Form, [&](RecordPlayerEventType e, int arg) {
            if (e == RecordPlayer_Total)
                total = arg, stoppedWithoutPlaying = false;
        });
        rig.Click(rig.ui->PlayButton);
        const QString played = rig.BackupPath(QString(RecordPageRig::kId) + "/2405/06/CH01/240506070809-CH01-0123456.wav");
        QTRY_COMPARE(total, int(QFileInfo(played).size()));
        QVERIFY(!stoppedWithoutPlaying);

        // Notes go into the local index copy.
        When(this, [] { return Shown<EditRecordNotesForm>() != nullptr; }, [] {
            EditRecordNotesForm* form = Shown<EditRecordNotesForm>();
            form->findChild<ZLineEdit*>(QStringLiteral("NotesLineEdit"))->SetText("call back");
            QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("ConfirmButton")), Qt::LeftButton);
        });
        rig.Menu(0, 2);
        QTRY_VERIFY(rig.Rows()[0].endsWith("|call back"));
        const QByteArray index = ReadAll(rig.BackupPath(QString(RecordPageRig::kId) + "/2405/06/CH01.Index"));
        QCOMPARE(index.mid(512 + 63, 9), QByteArray("call back"));

        // Download is not offered for the backup; delete removes the record from the local tree.
        rig.Header(0);
        QList<bool> enabled;
        rig.Menu(0, -1, &enabled);
        QTRY_COMPARE(enabled.size(), 7);
        QVERIFY(!enabled[3] && enabled[4]);
        rig.Header(0);
        QCOMPARE(DeleteFirstRecord(rig), QString("Deleting Finshied"));
        QTRY_COMPARE(rig.RowCount(), 2);
        QVERIFY(!QFile::exists(played));
    }

    void dropsRecorderFiles()
    {
        RecordPageRig rig;
        QTemporaryDir dropped;
        const QString wav = dropped.filePath("240506070809-CH01.wav");
        QVERIFY(QFile::copy(rig.StoragePath("/RecordFiles/2405/06/CH01/240506070809-CH01.wav"), wav));
        const QString capitals = dropped.filePath("X.WAV");
        QVERIFY(QFile::copy(wav, capitals));
        const QString text = dropped.filePath("notes.txt");
        {
            QFile file(text);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a record");
        }
        rig.ui->MainTabControl->SetSelectedIndex(0);
        const auto drop = [&](const QStringList& paths) {
            QList<QUrl> urls;
            for (const QString& p : paths)
                urls << QUrl::fromLocalFile(p);
            QMimeData mime;
            mime.setUrls(urls);
            QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            // Straight to the window's handler: the application routes only drops of a real drag.
            static_cast<QObject*>(rig.Form)->event(&event);
        };
        drop({text, capitals});
        QCOMPARE(rig.ui->RecordGridList->DataSource(), nullptr);
        QCOMPARE(rig.ui->MainTabControl->SelectedIndex(), 0);

        drop({wav, text, capitals});
        QCOMPARE(rig.ui->MainTabControl->SelectedIndex(), 1);
        QCOMPARE(g_RecordSearchCondition.Target, 2);
        QCOMPARE(rig.RowCount(), 1);
        QVERIFY(rig.Rows()[0].startsWith("2024-05-06 07:08:09|1||Inbound|01:05|"));
        rig.Header(0);
        QList<bool> enabled;
        rig.Menu(0, -1, &enabled);
        QTRY_COMPARE(enabled, (QList<bool>{false, false, false, false, false, false, false}));

        // The player takes the dropped file's own path.
        int total = 0;
        QObject::connect(g_RecordPlayer, &RecordPlayer::EventSignal, rig.Form, [&](RecordPlayerEventType e, int arg) {
            if (e == RecordPlayer_Total)
                total = arg;
        });
        rig.SelectRecord(0);
        rig.Click(rig.ui->PlayButton);
        QTRY_COMPARE(total, int(QFileInfo(wav).size()));

        // A second drop replaces (and frees) the first table.
        drop({wav, wav});
        QCOMPARE(rig.RowCount(), 2);
    }
};

QTEST_MAIN(RecordPageTest)
#include "tst_record_page.moc"
