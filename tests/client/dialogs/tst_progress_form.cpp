// The progress dialog and its driver with the real transfer workers against an emulated recorder (and a
// local HTTP server for the update server): what the window shows at the end of a transfer, a cancel, a
// close of the window mid-transfer, a press that comes after the work completed, the online upgrade's
// two stages, and a quit while a transfer runs.

#include "DialogTestSupport.h"
#include "WindowSystem.h"

#include "ProgressDriver.h"
#include "ProgressOperations.h"
#include "SingleProgressForm.h"

#include "WorkersFixture.h"
#include "workers/DownloadFileThread.h"
#include "workers/DownloadFirmwareThread.h"

#include "ZButton.h"
#include "ZLabel.h"
#include "ZProgressBar.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

const char kFirmwareName[] = "KES2204S-2.1.4.0.bin";

// What the open progress window shows.
struct Shown
{
    QString Text;
    QString Button;
    int Value = -1;
    bool Visible = false;
};

SingleProgressForm* OpenProgressForm()
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto form = qobject_cast<SingleProgressForm*>(widget))
            if (form->HostWindow()->isVisible())
                return form;
    return nullptr;
}

Shown Read(SingleProgressForm* form)
{
    Shown shown;
    shown.Text = form->findChild<ZLabel*>("ContentLabel")->Text();
    shown.Button = form->findChild<ZButton*>("CancelButton")->Text();
    shown.Value = form->findChild<ZProgressBar*>("ProgressBar")->Value();
    shown.Visible = form->HostWindow()->isVisible();
    return shown;
}

void Press(SingleProgressForm* form)
{
    QTest::mouseClick(form->findChild<ZButton*>("CancelButton"), Qt::LeftButton);
}

// Calls `step` with the open progress window every 10 ms from now on, until it returns true.
class WhileOpen
{
public:
    explicit WhileOpen(std::function<bool(SingleProgressForm*)> step) : m_Step(std::move(step))
    {
        QObject::connect(&m_Timer, &QTimer::timeout, &m_Timer, [this]() {
            if (SingleProgressForm* form = OpenProgressForm())
                if (m_Step(form))
                    m_Timer.stop();
        });
        m_Timer.start(10);
    }

private:
    std::function<bool(SingleProgressForm*)> m_Step;
    QTimer m_Timer;
};

// Calls `step` with a progress window as it appears, before any event is handled after its show.
class OnShow : public QObject
{
public:
    explicit OnShow(std::function<void(SingleProgressForm*)> step) : m_Step(std::move(step))
    {
        qApp->installEventFilter(this);
    }
    ~OnShow() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && m_Step)
            if (auto form = qobject_cast<SingleProgressForm*>(watched)) {
                auto step = std::move(m_Step);
                m_Step = nullptr;
                step(form);
            }
        return false;
    }

private:
    std::function<void(SingleProgressForm*)> m_Step;
};

// What a progress window shows when it appears.
struct AtShow
{
    Shown First;
    OnShow Watch{[this](SingleProgressForm* form) { First = Read(form); }};
};

// Presses the button once the window shows a result; keeps what it showed.
struct PressAtResult
{
    Shown AtResult;
    WhileOpen Watch{[this](SingleProgressForm* form) {
        const Shown shown = Read(form);
        const QStringList results = {TextMisc014, TextMisc015, TextMisc018, TextMisc019, TextMisc021, TextMisc022};
        if (std::none_of(results.begin(), results.end(), [&](const QString& r) { return shown.Text.startsWith(r); }))
            return false;  // still working
        AtResult = shown;
        Press(form);
        return true;
    }};
};

}  // namespace

class ProgressFormTest : public DialogTestCase
{
    Q_OBJECT

private:
    std::unique_ptr<RecorderRig> m_Rig;
    std::unique_ptr<LocalHttpServer> m_Http;
    QString m_Local;
    QByteArray m_Log;

    QString LocalPath(const QString& name) const { return m_Local + QLatin1Char('/') + name; }

private slots:
    void initTestCase()
    {
        DialogTestCase::initTestCase();
        Language::Load(Language::Names().first());
        m_Http = std::make_unique<LocalHttpServer>();
        QVERIFY(m_Http->Port() > 0);
        qputenv("CALVOX_UPDATE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(m_Http->Port()));
        m_Local = m_Environment->Path() + QStringLiteral("/local");
        QVERIFY(QDir().mkpath(m_Local));
    }

    void init()
    {
        m_Rig = std::make_unique<RecorderRig>();
        QVERIFY(m_Rig->Ready());
        m_Log = PatternBytes(300 * 1024, 3);
        QVERIFY(QDir().mkpath(m_Rig->storage.path() + "/RecordFiles"));
        QVERIFY(WriteAll(m_Rig->storage.path() + "/RecordFiles/Log.txt", m_Log));
    }

    void cleanup() { m_Rig.reset(); }

    void WindowLayout()
    {
        Skin::SetThemeColor(QColor(200, 40, 60));
        SingleProgressForm form(QStringLiteral("Download the file"), m_Main.get());
        Skin::SetThemeColor(QColor(82, 178, 250));
        QCOMPARE(form.size(), QSize(350, 180));
        QCOMPARE(form.Title(), QStringLiteral("Download the file"));
        QCOMPARE(form.SysButtonSize(), QSize(0, 0));
        QCOMPARE(form.TitleHeight(), 30);
        QCOMPARE(form.TitleBackColor(), QColor(200, 40, 60));
        QCOMPARE(form.findChild<ZProgressBar*>("ProgressBar")->ForeColor(), QColor(200, 40, 60));
        QCOMPARE(form.findChild<ZButton*>("CancelButton")->geometry(), QRect(125, 130, 100, 30));
        QCOMPARE(form.findChild<ZLabel*>("ContentLabel")->geometry(), QRect(0, 50, 350, 30));
        QCOMPARE(form.findChild<ZProgressBar*>("ProgressBar")->geometry(), QRect(35, 90, 280, 25));
        const QStringList order = {"CancelButton", "ContentLabel", "ProgressBar"};
        QStringList children;
        for (QObject* child : form.children())
            if (order.contains(child->objectName()))
                children << child->objectName();
        QCOMPARE(children, order);
        form.SetText("a");
        form.SetButtonText("b");
        form.SetValue(40);
        const Shown shown = Read(&form);
        QCOMPARE(shown.Text, QStringLiteral("a"));
        QCOMPARE(shown.Button, QStringLiteral("b"));
        QCOMPARE(shown.Value, 40);
    }

    void LogDownloadSucceeds()
    {
        PressAtResult press;
        const QString path = LocalPath("Log.txt");
        QCOMPARE(DownloadLogWithProgress(m_Rig->device.get(), path, m_Main.get()), ProgressResult::Succeeded);
        QCOMPARE(press.AtResult.Text, QStringLiteral("Download Finished"));
        QCOMPARE(press.AtResult.Value, 100);
        QCOMPARE(press.AtResult.Button, QStringLiteral("Completed"));
        QCOMPARE(ReadAll(path), m_Log);
        QVERIFY(!OpenProgressForm());
    }

    // A recorder that stops answering: the SDK gives up with 3 (no reply), shown after the failure text.
    void SilentRecorderFails()
    {
        emu::Faults silent;
        silent.dropRequests = 1.0;
        m_Rig->recorder->SetFaults(silent);
        PressAtResult press;
        QCOMPARE(DownloadLogWithProgress(m_Rig->device.get(), LocalPath("Silent.txt"), m_Main.get()),
                 ProgressResult::Failed);
        QCOMPARE(press.AtResult.Text, QStringLiteral("Download Failed Errno:3"));
        QCOMPARE(press.AtResult.Value, 100);
        QCOMPARE(press.AtResult.Button, QStringLiteral("Completed"));
        QVERIFY(!QFile::exists(LocalPath("Silent.txt")));
    }

    // A press, a program's close() or a close from the window system mid-transfer: the window stays until
    // the worker reports that it stopped, then closes without a result.
    void CancelMidTransfer_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("button") << 0;
        QTest::newRow("close()") << 1;
        QTest::newRow("window system") << 2;
    }
    void CancelMidTransfer()
    {
        QFETCH(int, how);
        emu::Faults slow;
        slow.delayMs = 5;
        m_Rig->recorder->SetFaults(slow);
        Shown afterCancel;
        // At once, as the window appears: the worker has started and is still far from its end.
        OnShow atShow([&](SingleProgressForm* form) {
            if (how == 0)
                Press(form);
            else if (how == 1)
                form->HostWindow()->close();
            else
                WindowSystemClose(form->HostWindow());
            afterCancel = Read(form);
        });
        const QString path = LocalPath("Cancelled.txt");
        QCOMPARE(DownloadLogWithProgress(m_Rig->device.get(), path, m_Main.get()), ProgressResult::Cancelled);
        QVERIFY(afterCancel.Visible);
        QCOMPARE(afterCancel.Text, QString());
        QCOMPARE(afterCancel.Button, QStringLiteral("Cancel"));
        QVERIFY(!QFile::exists(path));
    }

    // The work completes, the button is pressed before the done signal is handled: the success still shows.
    void PressAfterTheWorkCompleted()
    {
        ProgressDriver driver(ProgressTexts{"Download the file", QString(), "Download Finished", "Download Failed",
                                            "Completed", "Completed", true},
                              m_Main.get());
        const QString path = LocalPath("Late.txt");
        DownloadFileThread worker(m_Rig->device.get(), "/RecordFiles/Log.txt", path);
        connect(&worker, &DownloadFileThread::ProgressSignal, driver.Form(), &SingleProgressForm::SetValue);
        connect(&worker, &DownloadFileThread::DoneSignal, &driver, &ProgressDriver::WorkerDone);
        Shown afterPress;
        bool ended = false;
        OnShow atShow([&](SingleProgressForm* form) {
            ended = worker.wait(30000);  // no events handled: the done signal waits in the queue
            Press(form);
            afterPress = Read(form);
        });
        PressAtResult press;
        QCOMPARE(driver.Run(&worker, &worker.Stop), ProgressResult::Succeeded);
        QVERIFY(ended);
        QVERIFY(worker.Stop);
        QVERIFY(afterPress.Visible);
        QCOMPARE(afterPress.Text, QString());
        QCOMPARE(press.AtResult.Text, QStringLiteral("Download Finished"));
        QCOMPARE(ReadAll(path), m_Log);
    }

    // The program is told to quit mid-transfer: the run ends, the worker is stopped and waited for.
    void QuitMidTransfer()
    {
        emu::Faults slow;
        slow.delayMs = 5;
        m_Rig->recorder->SetFaults(slow);
        ProgressResult result = ProgressResult::Succeeded;
        QTimer::singleShot(0, m_Main.get(), [&]() {
            OnShow atShow([](SingleProgressForm*) { qApp->quit(); });
            result = DownloadLogWithProgress(m_Rig->device.get(), LocalPath("Quit.txt"), m_Main.get());
        });
        QCoreApplication::exec();
        QCOMPARE(result, ProgressResult::Cancelled);
        QVERIFY(!QFile::exists(LocalPath("Quit.txt")));
        QVERIFY(!OpenProgressForm());
    }

    // An announcement: its name first, then the result; the bar is left where the upload put it.
    void AnnouncementUpload()
    {
        const QString path = LocalPath("Welcome.pcm");
        const QByteArray sound = PatternBytes(20000, 9);
        QVERIFY(WriteAll(path, sound));
        AtShow shown;
        PressAtResult press;
        QCOMPARE(UploadAnnouncementWithProgress(m_Rig->device.get(), path, m_Main.get()), ProgressResult::Succeeded);
        QCOMPARE(shown.First.Text, QStringLiteral("Welcome.pcm"));
        QCOMPARE(shown.First.Button, QStringLiteral("Cancel"));
        QCOMPARE(press.AtResult.Text, QStringLiteral("Upload Finished"));
        QCOMPARE(press.AtResult.Button, QStringLiteral("Completed"));
        QCOMPARE(m_Rig->DeviceFile("/PlayBackFiles/Welcome.pcm"), sound);
    }

    // A manual upgrade whose image cannot be read: the failure with its code; the button keeps "Cancel".
    void ManualUpgradeFailureKeepsCancel()
    {
        PressAtResult press;
        QCOMPARE(ManualUpgradeWithProgress(m_Rig->device.get(), LocalPath("missing.bin"), m_Main.get()),
                 ProgressResult::Failed);
        QCOMPARE(press.AtResult.Text, QStringLiteral("Upload Failed Errno:20"));
        QCOMPARE(press.AtResult.Button, QStringLiteral("Cancel"));
        QVERIFY(!m_Rig->DeviceFileExists("/Upgrade/Image.bin"));
    }

    // The online upgrade: an image the server does not have is a download failure without a code, the button
    // keeps "Cancel" and nothing is uploaded; an image it has is uploaded and offers the restart.
    void OnlineUpgrade()
    {
        AtShow shown;
        {
            PressAtResult press;
            QCOMPARE(OnlineUpgradeWithProgress(m_Rig->device.get(), kFirmwareName, m_Main.get()),
                     ProgressResult::Failed);
            QCOMPARE(press.AtResult.Text, QStringLiteral("Download Failed"));
            QCOMPARE(press.AtResult.Button, QStringLiteral("Cancel"));
            QCOMPARE(shown.First.Text, QStringLiteral("Downloading..."));
            std::lock_guard<std::mutex> lock(m_Rig->recorder->StateMutex());
            const emu::FileStore& store = m_Rig->recorder->State<emu::FileStore>();
            QCOMPARE(store.uploadsCompleted + store.uploadsCancelled, 0);
            QVERIFY(!store.upload.open);
        }
        QVERIFY(!m_Rig->DeviceFileExists("/Upgrade/Image.bin"));

        const QByteArray image = PatternBytes(64 * 1024, 5);
        m_Http->Serve(std::string("/KES2204S/") + kFirmwareName, image.toStdString());
        PressAtResult press;
        QCOMPARE(OnlineUpgradeWithProgress(m_Rig->device.get(), kFirmwareName, m_Main.get()),
                 ProgressResult::Succeeded);
        QCOMPARE(press.AtResult.Text, QStringLiteral("Upload Finished"));
        QCOMPARE(press.AtResult.Button, QStringLiteral("Restart device"));
        QCOMPARE(m_Rig->DeviceFile("/Upgrade/Image.bin"), image);
        QCOMPARE(ReadAll(DownloadFirmwareThread::DefaultFolder() + kFirmwareName), image);
    }
};

QTEST_MAIN(ProgressFormTest)
#include "tst_progress_form.moc"
