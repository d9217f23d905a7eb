#pragma once

#include "ZPanel.h"

#include <QImage>
#include <QTimer>

class QPaintEvent;
class WaitThread;

namespace Ui {
class WaitForm;
}

// The wait panel: a 100 x 100 spinner shown window-modal over its parent's window while a device request
// runs on the panel's WaitThread, so that the window stays alive but takes no input meanwhile.
//
//     int result = -1;                                      // a failure until the task says otherwise
//     g_WaitForm->Thread->Task = [&]() { result = device->Something(); };
//     if (!g_WaitForm->Run() || result != 0) ...error...    // else success
//
// Run returns only after the task has ended (its finished() reached the GUI thread), also when the program
// was told to quit meanwhile, so the task's writes to the caller's locals are complete and visible.
// One task at a time: a Run entered while one is in progress (from a handler reached from inside the first,
// such as a device-list receiver during a removal task) does not wait, since the first task may be waiting
// for that very handler; it returns false at once and runs nothing.
class WaitForm : public ZPanel
{
    Q_OBJECT

public:
    // Hidden after construction; its frames load at the first SkinChanged.
    explicit WaitForm(QWidget* parent);
    // Waits (handling events) for a task still running: the thread is never deleted while it runs.
    ~WaitForm() override;

    // Runs Thread->Task under the panel, centred over the parent; true when the task ran to its end, false
    // (busy) when another run was in progress. The animation goes on where the last run left it.
    bool Run();

    WaitThread* Thread = nullptr;
    QTimer Timer;
    QImage Frames[8];
    int FrameIndex = 0;

public slots:
    // The next frame (0 after 7), painted at once.
    void UpdateImage();
    // Reloads the eight frames and paints their white in the theme colour.
    void LoadFrames();

protected:
    // The current frame only; the rest stays transparent (white where the display cannot show
    // translucent windows, so that no black square appears around the spinner).
    void paintEvent(QPaintEvent* event) override;

private:
    Ui::WaitForm* ui;
    bool m_Running = false;
    // Set when the running task's finished() has reached the GUI thread.
    bool m_Finished = true;
    // Handles events without user input until m_Finished.
    void WaitForTheTask();
};

extern WaitForm* g_WaitForm;
