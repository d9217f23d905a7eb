// Shows the user editor (editing "admin" of a 4-channel recorder), the channel picker (16 channels) and the
// weekday picker (day 3) over a main-window stand-in on a real X display and writes screenshots into the folder
// given as the first argument, for review (scripts/screenshots-user-dialogs runs it under Xvfb with a
// compositor).
#include "DialogTestSupport.h"

#include "AddUserForm.h"
#include "ChannelSelectForm.h"
#include "KesDevice.h"
#include "WeekSelectForm.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    DialogEnvironment environment;
    auto main = MakeMainWindow(900, 640);
    main->move(40, 40);
    main->SetTitle(QStringLiteral("Main window"));
    main->SetTitleHeight(36);
    main->SetBackColor(QColor(240, 243, 246));
    AddUserForm editor(main.get());
    ChannelSelectForm channels(main.get());
    WeekSelectForm week(main.get());
    Language::Load(Language::Names().first());
    emit g_Skin->SkinChanged();
    main->SetTitleBackColor(g_ThemeColor);

    std::unique_ptr<KesDevice> four(KesDevice::Create(QStringLiteral("Office"), QStringLiteral("4B000000000000000061")));
    std::unique_ptr<KesDevice> sixteen(KesDevice::Create(QStringLiteral("Hall"), QStringLiteral("6B000000000000000001")));
    if (!four || !sixteen)
        return 1;
    Calvox_UserInfo admin;
    std::memset(&admin, 0, sizeof admin);
    admin.NameLength = 5;
    std::memcpy(admin.Name, "admin", 5);
    admin.ManageUsers = admin.ChangeSetting = admin.Download = admin.Delete = admin.Monitor = 1;
    std::memset(admin.Channels, 1, sizeof admin.Channels);
    bool flags[64] = {};
    for (int i = 0; i < 16; i += 3)
        flags[i] = true;
    bool days[7] = {};

    int failures = 0;
    auto grab = [&](ZForm* form, const QString& name) {
        const QRect around = form->HostWindow()->frameGeometry().adjusted(-10, -10, 10, 10);
        const QPixmap shot =
            QApplication::primaryScreen()->grabWindow(0, around.x(), around.y(), around.width(), around.height());
        if (!shot.save(out.filePath(name)))
            ++failures;
    };
    auto later = [](int ms, std::function<void()> step) { QTimer::singleShot(ms, step); };

    later(400, [&]() {
        later(500, [&]() {
            grab(&editor, QStringLiteral("user-editor-admin.png"));
            editor.exit(0);
        });
        editor.Exec(four.get(), &admin);
        later(500, [&]() {
            grab(&channels, QStringLiteral("channel-picker-16.png"));
            channels.exit(0);
        });
        channels.Exec(16, flags);
        later(500, [&]() {
            grab(&week, QStringLiteral("weekday-picker-3.png"));
            week.exit(0);
        });
        week.Exec(3, days);
        app.quit();
    });
    app.exec();
    return failures == 0 ? 0 : 1;
}
