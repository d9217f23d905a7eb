// Shows the skin colour page in a main-window stand-in and the software settings dialog with a version and notes
// from a local update server, on a real X display, and writes screenshots into the folder given, for review
// (scripts/screenshots-skin-settings runs it under Xvfb with a compositor). The dialog is shot in English and in
// the built-in language whose texts for it are the longest.
#include "DialogTestSupport.h"
#include "LocalHttpServer.h"

#include "GetVersionInfoThread.h"
#include "SkinForm.h"
#include "SoftwareSetting.h"
#include "SoftwareSettingForm.h"
#include "ZLabel.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// The summed length of the dialog's texts in the loaded language.
int TextLength(QWidget* dialog)
{
    int length = 0;
    for (ZLabel* label : dialog->findChildren<ZLabel*>())
        length += label->Text().size();
    return length;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    LocalHttpServer server;
    server.Serve("/CalvoxClient/Version.json",
                 R"({"Version":"2.5.1.6","Updates-English":["Faster record search","Contacts export to workbooks",)"
                 R"("Fixes the call pop-up position"],"Updates-Chinese":["记录搜索更快"]})");
    qputenv("CALVOX_UPDATE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server.Port()));
    DialogEnvironment environment;
    g_SoftwareSetting.Language = Language::Names().first();
    g_SoftwareSetting.StatusPopup = true;
    g_SoftwareSetting.AutoBackup = true;
    g_SoftwareSetting.BackupCycle = 1;

    auto main = MakeMainWindow(940, 620);
    main->SetTitle(QStringLiteral("Main window"));
    main->SetTitleHeight(36);
    main->SetBackColor(Qt::white);
    auto* page = new SkinForm(main.get());
    auto* dialog = new SoftwareSettingForm(main.get());
    Language::Load(Language::Names().first());
    emit g_Skin->SkinChanged();
    main->SetTitleBackColor(g_ThemeColor);
    page->setGeometry(18, 56, 904, 540);
    page->show();

    int failures = 0;
    auto grab = [&](QWidget* window, const QString& name) {
        const QRect around = window->frameGeometry().adjusted(-20, -20, 20, 20);
        const QPixmap shot =
            QApplication::primaryScreen()->grabWindow(0, around.x(), around.y(), around.width(), around.height());
        if (!shot.save(out.filePath(name)))
            ++failures;
    };
    auto later = [](int ms, std::function<void()> step) { QTimer::singleShot(ms, step); };

    // The longest language for the dialog.
    QString longest = Language::Names().first();
    int longestLength = 0;
    for (const QString& name : Language::Names()) {
        Language::Load(name);
        if (TextLength(dialog) > longestLength) {
            longestLength = TextLength(dialog);
            longest = name;
        }
    }
    Language::Load(Language::Names().first());

    later(600, [&]() {
        grab(main->HostWindow(), "skin-page.png");
        for (const QString& language : {Language::Names().first(), longest}) {
            Language::Load(language);
            later(600, [&, language]() {
                grab(dialog->HostWindow(), QStringLiteral("settings-%1.png").arg(language == longest ? "long" : "english"));
                dialog->exit(0);
            });
            dialog->exec(true);
        }
        std::printf("long-text language: %s; latest version shown: %s\n", qPrintable(longest),
                    qPrintable(dialog->findChild<ZLabel*>("LatestVersionLabel")->Text()));
        app.quit();
    });
    app.exec();
    delete dialog;
    delete page;
    return failures == 0 ? 0 : 1;
}
