// CalvoxClient: one per user. A second start brings the running one's window forward and exits with 0.
#include "ExitSignals.h"
#include "FontSetup.h"
#include "MainForm.h"
#include "SingleInstance.h"

#include <QApplication>

#include <memory>

namespace {

const char* const kToolTipStyle = "QToolTip                {                    border:1px solid #646464;       "
                                  "             color:rgb(100,100,100);                    background:white;    "
                                  "            }";

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetupApplicationFont();
    app.setStyleSheet(kToolTipStyle);
    // Closing or hiding windows never ends the program: it lives on in the tray until Exit.
    app.setQuitOnLastWindowClosed(false);

    auto instance = std::make_unique<SingleInstance>();
    if (instance->NotifyRunningInstance())
        return 0;

    auto window = std::make_unique<MainForm>();
    MainForm* form = window.get();
    // Ctrl-C, a logout or a service stop end the program the way Exit does, settings saved.
    ExitSignals exitSignals;
    QObject::connect(&exitSignals, &ExitSignals::ExitRequested, form, [form] {
        if (form->Started())
            form->Exit();
        else
            QCoreApplication::exit(0);
    });
    instance->Listen();
    QObject::connect(instance.get(), &SingleInstance::ActivationRequested, form, [form] { form->showNormal(); });
    if (form->Started())
        form->show(true);
    const int result = app.exec();

    // No later start may reach a window that is going away.
    instance.reset();
    window.reset();
    return result;
}
