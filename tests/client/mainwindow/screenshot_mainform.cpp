// Shows the main window's designed widget tree with the English texts applied on a real X display and writes
// screenshots into the folder given as the first argument, for review (scripts/screenshots-mainform runs it
// under Xvfb with a compositor): each page at 1024 x 660, the settings page at each of its ten bookmark
// positions, and the window at 1400 x 800.
#include "FontSetup.h"
#include "Language.h"
#include "MainFormUi.h"
#include "ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir programFolder; // the language's "OEM" file is written there, not beside this program
    SetProgramFolder(programFolder.path());
    SetupApplicationFont();
    InitMainFormResources();

    Language language;
    Language::Load(Language::Names().value(0));

    ZForm form;
    Ui::MainForm ui;
    SetUpMainForm(ui, &form);
    const QList<QWidget*> texted = {&form,
                                    ui.MonitorTabPage,
                                    ui.RecordTabPage,
                                    ui.OnlineUserTabPage,
                                    ui.ContactsTabPage,
                                    ui.SettingTabPage,
                                    ui.BackupsTabPage};
    for (QWidget* w : texted)
        Language::ApplyLanguage(w);
    form.SetTitle(g_OemTitle);
    form.move(20, 20);

    int failures = 0;
    auto grab = [&](const QString& name) {
        const QRect area = form.HostWindow()->geometry();
        const QPixmap shot = QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                                       area.height());
        if (!shot.save(out.filePath(name))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
            ++failures;
        }
    };

    // Steps a second apart: painting the settings content under Xvfb takes a few hundred milliseconds.
    std::vector<std::function<void()>> steps;
    steps.push_back([&]() {
        form.show();
        form.HostWindow()->activateWindow();
    });
    const QStringList pages = {"monitor", "record", "online-users", "settings", "contacts", "backups"};
    for (int i = 0; i < pages.size(); ++i) {
        steps.push_back([&, i]() { ui.MainTabControl->SetSelectedIndex(i); });
        steps.push_back([&, i]() { grab(QStringLiteral("page-%1-%2.png").arg(i).arg(pages[i])); });
    }
    // The bookmarks jump to 15 pixels above each section's title.
    const QList<QWidget*> titles = {ui.DeviceInfoLabel00,  ui.BaseSettingLabel00,       ui.ChannelSettingLabel00,
                                    ui.KeyControlSettingLabel00, ui.NetSettingLabel00, ui.SMDRSettingLabel00,
                                    ui.UserListLabel00,    ui.RecordTimeQuantumLabel00, ui.ScheduledRestartLabel00,
                                    ui.LogLabel00};
    steps.push_back([&]() { ui.MainTabControl->SetSelectedIndex(3); });
    for (int k = 0; k < titles.size(); ++k) {
        steps.push_back([&, k]() { ui.SettingScrollPanel->SetVScrollBarValue(titles[k]->y() - 15); });
        steps.push_back([&, k]() { grab(QStringLiteral("settings-bookmark-%1.png").arg(k + 1, 2, 10, QLatin1Char('0'))); });
    }
    steps.push_back([&]() {
        ui.SettingScrollPanel->SetVScrollBarValue(0);
        form.resize(1400, 800);
        ui.MainTabControl->SetSelectedIndex(1);
    });
    steps.push_back([&]() { grab(QStringLiteral("window-1400x800-record.png")); });
    steps.push_back([&]() { ui.MainTabControl->SetSelectedIndex(5); });
    steps.push_back([&]() { grab(QStringLiteral("window-1400x800-backups.png")); });
    steps.push_back([&]() { app.exit(failures == 0 ? 0 : 1); });

    for (size_t i = 0; i < steps.size(); ++i)
        QTimer::singleShot(1000 * int(i + 1), &app, steps[i]);
    return app.exec();
}
