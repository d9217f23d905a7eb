// Shows the message box, the wait panel and the progress dialog over a main-window stand-in on a real X
// display and writes screenshots into the folder given as the first argument, for review
// (scripts/screenshots-dialogs runs it under Xvfb, with and without a compositor). A second argument names
// the set: "compositor" (default) or "plain".
#include "DialogTestSupport.h"

#include "SingleProgressForm.h"
#include "TipForm.h"
#include "WaitForm.h"
#include "WaitThread.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// Desktop stand-in: a patterned window below everything, so that the shadows show.
class Desktop : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(205, 214, 222));
        p.setPen(QColor(190, 200, 210));
        for (int x = 0; x < width(); x += 24)
            p.drawLine(x, 0, x, height());
        for (int y = 0; y < height(); y += 24)
            p.drawLine(0, y, width(), y);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [compositor|plain]\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString set = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("compositor");
    DialogEnvironment environment;
    Language::Load(Language::Names().first());

    Desktop desktop;
    desktop.setGeometry(QApplication::primaryScreen()->geometry());
    desktop.show();
    auto main = MakeMainWindow(640, 420);
    main->SetTitle(QStringLiteral("Main window"));
    main->SetTitleHeight(36);
    main->SetTitleBackColor(g_ThemeColor);
    main->SetForeColor(g_TextColor);
    main->SetBackColor(Qt::white);
    WaitForm wait(main.get());
    emit g_Skin->SkinChanged();

    int failures = 0;
    const QRect around = main->HostWindow()->frameGeometry().adjusted(-20, -20, 20, 20);
    auto grab = [&](const QString& name) {
        const QPixmap shot =
            QApplication::primaryScreen()->grabWindow(0, around.x(), around.y(), around.width(), around.height());
        if (!shot.save(out.filePath(set + QLatin1Char('-') + name)))
            ++failures;
    };
    auto later = [](int ms, std::function<void()> step) { QTimer::singleShot(ms, step); };

    later(400, [&]() {
        for (bool success : {true, false}) {
            TipForm tip(success, success ? TextTips001 : TextDevice011, main.get());
            later(400, [&grab, success]() { grab(success ? "tip-success.png" : "tip-error.png"); });
            tip.exec(true);
        }
        later(450, [&]() { grab("wait.png"); });
        wait.Thread->Task = []() { std::this_thread::sleep_for(std::chrono::milliseconds(900)); };
        wait.Run();

        SingleProgressForm progress(TextMisc012, main.get());
        progress.SetButtonText(TextMisc003);
        progress.SetValue(60);
        later(400, [&]() {
            grab("progress-running.png");
            progress.SetValue(100);
            progress.SetText(TextMisc015 + QStringLiteral(" Errno:3"));
            progress.SetButtonText(TextMisc004);
            later(300, [&]() {
                grab("progress-result.png");
                progress.exit(0);
            });
        });
        progress.exec(true);
        app.quit();
    });
    app.exec();
    return failures == 0 ? 0 : 1;
}
