#include "WaitForm.h"

#include "ui_WaitForm.h"

#include "Skin.h"
#include "WaitThread.h"

#include "ZDrawAPI.h"
#include "ZFrame.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>

WaitForm* g_WaitForm = nullptr;

WaitForm::WaitForm(QWidget* parent) : ZPanel(parent), ui(new Ui::WaitForm)
{
    Q_INIT_RESOURCE(WaitForm);
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowModality(Qt::WindowModal);
    FrameIndex = 0;
    Thread = new WaitThread;
    connect(&Timer, &QTimer::timeout, this, &WaitForm::UpdateImage);
    connect(g_Skin, &Skin::SkinChanged, this, &WaitForm::LoadFrames);
    // The first run ends here, whether or not anything ran before.
    connect(Thread, &QThread::finished, this,
            [this]() { m_Finished = Thread->m_Ended.load(std::memory_order_acquire); });
    hide();
    if (!g_WaitForm)
        g_WaitForm = this;
}

WaitForm::~WaitForm()
{
    WaitForTheTask();
    delete Thread;
    delete ui;
    if (g_WaitForm == this)
        g_WaitForm = nullptr;
}

bool WaitForm::Run()
{
    // Another run is in progress: this call comes from a handler reached from inside it, which that run's
    // task may be waiting for. The task set for this call is dropped unrun (its captures die with the caller).
    if (m_Running) {
        Thread->Task = nullptr;
        return false;
    }
    m_Running = true;
    Thread->m_Running = std::move(Thread->Task);
    Thread->Task = nullptr;

    QEventLoop loop;
    if (QWidget* p = parentWidget())
        move(p->mapToGlobal(QPoint((p->width() - width()) / 2, (p->height() - height()) / 2)));
    show();
    QMetaObject::Connection quit = connect(Thread, &QThread::finished, &loop, &QEventLoop::quit);
    m_Finished = false;
    Thread->m_Ended.store(false, std::memory_order_relaxed);
    Thread->start(QThread::InheritPriority);
    Timer.start(100);
    loop.exec();
    disconnect(quit);
    // The loop also ends when the program is told to quit (and a loop begun after that returns at once);
    // the task still writes the caller's locals until it has finished.
    WaitForTheTask();

    Timer.stop();
    hide();
    Thread->m_Running = nullptr;
    m_Running = false;
    return true;
}

void WaitForm::WaitForTheTask()
{
    // Not QThread::wait: the task may be waiting for the GUI thread (a device-list change is handed over to
    // it), so the GUI thread keeps handling events, only not the user's.
    while (!m_Finished)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

void WaitForm::UpdateImage()
{
    FrameIndex = FrameIndex == 7 ? 0 : FrameIndex + 1;
    repaint();
}

void WaitForm::LoadFrames()
{
    for (int n = 1; n <= 8; ++n) {
        Frames[n - 1] = QImage(QStringLiteral("://WaitForm/") + QString::number(n) + QStringLiteral(".png"));
        ZDrawAPI::ImageReplaceWhite(Frames[n - 1], g_ThemeColor);
    }
}

void WaitForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!ZFrame::TranslucentWindows())
        painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, Frames[FrameIndex]);
}
