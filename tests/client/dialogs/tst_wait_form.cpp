// The wait panel: its window, its frames and their colour, where it shows, the run of one task (also when a
// new task is set mid-run, when Run is entered again from inside a run and when the program is told to quit
// meanwhile), and a device removal run as a task against an emulated recorder.

#include "DialogTestSupport.h"

#include "WaitForm.h"
#include "WaitThread.h"

#include "DeviceManage.h"
#include "KesDevice.h"

#include "ZFrame.h"

#include "WorkersFixture.h"

#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// For a task: waits until the GUI thread has done its part of the test (at most 10 s).
void WaitFor(const std::atomic<bool>& flag)
{
    for (int i = 0; i < 1000 && !flag; ++i)
        Sleep(10);
}

// The lead dot of frame n (1..8) sits at 45 * (n - 1) degrees clockwise from the top of a ring of radius 30.
QColor LeadDotColour(const QImage& frame, int n)
{
    const double angle = (-90.0 + 45.0 * (n - 1)) * 3.14159265358979 / 180.0;
    return frame.pixelColor(int(50.5 + 30 * std::cos(angle)), int(50.5 + 30 * std::sin(angle)));
}

}  // namespace

class WaitFormTest : public DialogTestCase
{
    Q_OBJECT

private:
    std::unique_ptr<WaitForm> m_Wait;

private slots:
    void init() { m_Wait = std::make_unique<WaitForm>(m_Main.get()); }
    void cleanup() { m_Wait.reset(); }

    void WindowIsAHiddenModalSpinner()
    {
        QCOMPARE(m_Wait->objectName(), QStringLiteral("WaitForm"));
        QCOMPARE(m_Wait->size(), QSize(100, 100));
        QVERIFY(m_Wait->isWindow());
        QVERIFY(!m_Wait->isVisible());
        QCOMPARE(m_Wait->windowModality(), Qt::WindowModal);
        QVERIFY(m_Wait->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(m_Wait->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(m_Wait->windowType(), Qt::Dialog);
        QCOMPARE(g_WaitForm, m_Wait.get());
        for (const QImage& frame : m_Wait->Frames)
            QVERIFY(frame.isNull());
    }

    // Each SkinChanged reloads the frames with their white in the theme colour of that moment.
    void FramesTakeTheThemeColour()
    {
        for (QColor theme : {QColor(82, 178, 250), QColor(200, 40, 60)}) {
            Skin::SetThemeColor(theme);
            emit g_Skin->SkinChanged();
            for (int n = 1; n <= 8; ++n) {
                QCOMPARE(m_Wait->Frames[n - 1].size(), QSize(100, 100));
                QCOMPARE(LeadDotColour(m_Wait->Frames[n - 1], n).rgb(), theme.rgb());
            }
        }
        Skin::SetThemeColor(QColor(82, 178, 250));
    }

    // Transparent around the spinner where windows can be translucent; white (not black) where they cannot.
    void BackgroundWithAndWithoutTranslucency()
    {
        emit g_Skin->SkinChanged();
        for (int translucent : {1, 0}) {
            ZFrame::OverrideTranslucentWindows(translucent);
            QImage image(100, 100, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            m_Wait->render(&image);
            QCOMPARE(image.pixelColor(2, 2), translucent ? QColor(Qt::transparent) : QColor(Qt::white));
            QCOMPARE(LeadDotColour(image, 1).rgb(), g_ThemeColor.rgb());
        }
        ZFrame::OverrideTranslucentWindows(-1);
    }

    // Shown centred over the parent form (inside its shadow host) while the task runs, hidden after it.
    void RunShowsCentredOverTheParent()
    {
        QPoint shownAt;
        bool visible = false;
        int result = -1;
        std::atomic<bool> seen{false};
        m_Wait->Thread->Task = [&]() {
            WaitFor(seen);
            result = 7;
        };
        QTimer::singleShot(100, m_Wait.get(), [&]() {
            visible = m_Wait->isVisible();
            shownAt = m_Wait->mapToGlobal(QPoint(0, 0));
            seen = true;
        });
        QVERIFY(m_Wait->Run());
        QCOMPARE(result, 7);
        QVERIFY(visible);
        QVERIFY(!m_Wait->isVisible());
        QVERIFY(m_Main->Shadow);
        QCOMPARE(shownAt, m_Main->mapToGlobal(QPoint((m_Main->width() - 100) / 2, (m_Main->height() - 100) / 2)));
    }

    // A task done before the loop starts still ends Run; no task runs nothing; the animation does not restart.
    void ShortRunsAndTheAnimation()
    {
        int runs = 0;
        m_Wait->Thread->Task = [&]() { ++runs; };
        QVERIFY(m_Wait->Run());
        QCOMPARE(runs, 1);
        QVERIFY(!m_Wait->Thread->Task);
        QVERIFY(m_Wait->Run());  // nothing set: the last task is not run again
        QCOMPARE(runs, 1);

        // Two runs, the first lasting three frames: every tick advances the frame, none resets it.
        const int before = m_Wait->FrameIndex;
        std::atomic<bool> threeFrames{false};
        std::atomic<bool> oneMore{false};
        int ticks = 0;
        connect(&m_Wait->Timer, &QTimer::timeout, m_Wait.get(), [&]() {
            ++ticks;
            threeFrames = ticks >= 3;
            oneMore = ticks >= 4;
        });
        m_Wait->Thread->Task = [&]() { WaitFor(threeFrames); };
        QVERIFY(m_Wait->Run());
        QCOMPARE(m_Wait->FrameIndex, (before + ticks) % 8);
        m_Wait->Thread->Task = [&]() { WaitFor(oneMore); };
        QVERIFY(m_Wait->Run());
        QCOMPARE(m_Wait->FrameIndex, (before + ticks) % 8);
    }

    // The thread runs the task taken at the start: one set meanwhile does not replace it.
    void TaskSetMidRunChangesNothing()
    {
        std::atomic<bool> replaced{false};
        std::atomic<int> first{0};
        std::atomic<int> second{0};
        m_Wait->Thread->Task = [&]() {
            WaitFor(replaced);
            ++first;
        };
        QTimer::singleShot(100, m_Wait.get(), [&]() {
            m_Wait->Thread->Task = [&]() { ++second; };
            replaced = true;
        });
        QVERIFY(m_Wait->Run());
        QVERIFY(replaced);
        QCOMPARE(first.load(), 1);
        QCOMPARE(second.load(), 0);
    }

    // A Run entered from inside a run returns at once with the busy result and runs nothing.
    void RunInsideARunIsBusy()
    {
        std::atomic<bool> innerDone{false};
        std::atomic<bool> firstDone{false};
        bool innerResult = true;
        bool innerRan = false;
        bool firstStillRunning = false;
        m_Wait->Thread->Task = [&]() {
            WaitFor(innerDone);
            firstDone = true;
        };
        QTimer::singleShot(100, m_Wait.get(), [&]() {
            m_Wait->Thread->Task = [&]() { innerRan = true; };
            innerResult = m_Wait->Run();
            firstStillRunning = !firstDone && m_Wait->isVisible();
            innerDone = true;
        });
        QVERIFY(m_Wait->Run());
        QVERIFY(firstDone);
        QVERIFY(!innerResult);
        QVERIFY(!innerRan);
        QVERIFY(firstStillRunning);
    }

    // quit() 100 ms into a 1 s task: Run returns only after the task's last write; a Run begun after the
    // quit (when every new event loop returns at once) still runs its task to the end.
    void QuitDuringARun()
    {
        int first = 0;
        int second = 0;
        bool hidden = false;
        QTimer::singleShot(0, m_Wait.get(), [&]() {
            m_Wait->Thread->Task = [&]() {
                Sleep(1000);
                first = 1;
            };
            QTimer::singleShot(100, qApp, &QCoreApplication::quit);
            m_Wait->Run();
            const int firstSeen = first;
            m_Wait->Thread->Task = [&]() {
                Sleep(300);
                second = 2;
            };
            m_Wait->Run();
            first = firstSeen;
            hidden = !m_Wait->isVisible();
        });
        QCoreApplication::exec();
        QCOMPARE(first, 1);
        QCOMPARE(second, 2);
        QVERIFY(hidden);
    }

    // A removal run as a task (the GUI thread is handed the list change and the task waits for it): no
    // deadlock, the receiver sees the device alive, and a Run from that receiver is busy. Once more with the
    // program told to quit during the task.
    void RemovingADeviceAsATask_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("plain") << false;
        QTest::newRow("quit meanwhile") << true;
    }
    void RemovingADeviceAsATask()
    {
        QFETCH(bool, quit);
        auto manage = std::make_unique<DeviceManage>();
        QVERIFY(DeviceManage::LoadDevices());
        RecorderRig rig;
        QVERIFY(rig.Ready());
        KesDevice* device = rig.device.release();
        device->Name = QStringLiteral("Front desk");
        QVERIFY(DeviceManage::AddDevice(device));
        device->CreateHeartbeatThread();
        QPointer<KesDevice> watched = device;

        QString removedName;
        int removedIndex = -1;
        bool innerRun = true;
        connect(g_DeviceManage, &DeviceManage::DeviceListChanged, m_Wait.get(),
                [&](DeviceManageEvent event, KesDevice* removed, int index) {
                    if (event != DeviceRemoved)
                        return;
                    removedName = removed->Name;
                    removedIndex = index;
                    m_Wait->Thread->Task = []() {};
                    innerRun = m_Wait->Run();
                });

        bool removedOk = false;
        bool returned = false;
        QTimer::singleShot(0, m_Wait.get(), [&]() {
            m_Wait->Thread->Task = [&]() { removedOk = DeviceManage::RemoveDevice(0); };
            if (quit)
                QTimer::singleShot(5, qApp, &QCoreApplication::quit);
            m_Wait->Run();
            returned = true;
            if (!quit)
                qApp->quit();
        });
        QCoreApplication::exec();
        QVERIFY(returned);
        QVERIFY(removedOk);
        QCOMPARE(removedName, QStringLiteral("Front desk"));
        QCOMPARE(removedIndex, 0);
        QVERIFY(!innerRun);
        QCOMPARE(DeviceManage::DeviceCount(), 0);
        QTRY_VERIFY(watched.isNull());
        manage.reset();
    }
};

QTEST_MAIN(WaitFormTest)
#include "tst_wait_form.moc"
