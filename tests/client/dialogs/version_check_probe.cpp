// A client in miniature for the update check's hand-over: the settings dialog over a main-window stand-in, the
// application's event loop running as in the real client. It prints what the dialog showed and, when the loop
// ends, the loop's exit code; the test reads the rest from what the "Upgrade" program in the program folder wrote.
//
// Usage: version_check_probe <program folder> [auto] [click] [modal] [theme=RRGGBB] [locale=NAME]
//   auto    AutoUpgrade stored on
//   click   press Upgrade once the version is shown
//   modal   a modal dialog runs from the start for about 1.5 s; prints "modal-ended launched=<0|1>"
// The probe ends itself with 3 ("ran on") 1 s after the version was shown and the click handled (not with modal),
// or after 8 s. CALVOX_UPDATE_SERVER comes from the environment.

#include "DataFolder.h"
#include "GetVersionInfoThread.h"
#include "Language.h"
#include "ProgramFolder.h"
#include "Skin.h"
#include "SoftwareSetting.h"
#include "SoftwareSettingForm.h"
#include "TipForm.h"
#include "ZButton.h"
#include "ZItemList.h"
#include "ZLabel.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>

namespace {

void Say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return 2;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());  // a data folder of this run's own
    SetProgramFolder(args[0]);
    InitDataFolder();
    for (const QString& arg : args) {
        if (arg.startsWith("locale="))
            QLocale::setDefault(QLocale(arg.mid(7)));
    }
    Language language;
    Skin skin;
    Language::Load(Language::Names().first());
    Skin::SetThemeColor(QColor(82, 178, 250));
    for (const QString& arg : args) {
        if (arg.startsWith("theme="))
            Skin::SetThemeColor(QColor(QLatin1Char('#') + arg.mid(6)));
    }
    g_SoftwareSetting.AutoUpgrade = args.contains("auto");

    ZForm main(nullptr);
    main.resize(800, 600);
    main.show();
    auto* form = new SoftwareSettingForm(&main);
    const QString marker = args[0] + "/upgrade-arguments";

    QObject::connect(form->VersionCheck(), &GetVersionInfoThread::GotVersionInfo, form, [&] {
        Say("version-shown");
        // A message box the click raises runs modally inside it: the 1 s ending counts from after it, so that a
        // busy machine cannot end the probe before the box was seen.
        if (args.contains("click"))
            QTest::mouseClick(form->findChild<ZButton*>("UpgradeButton"), Qt::LeftButton, Qt::NoModifier,
                              QPoint(40, 13));
        // Under a modal run the hand-over waits for its end: the probe then waits for the 8 s ending.
        if (!args.contains("modal"))
            QTimer::singleShot(1000, &app, [] { QCoreApplication::exit(3); });
    });
    if (args.contains("modal")) {
        QTimer::singleShot(0, &main, [&] {
            ZForm modal(&main);
            modal.resize(200, 100);
            QTimer::singleShot(1500, &modal, [&modal] { modal.exit(1); });
            modal.exec(true);
            Say(QString("modal-ended launched=%1").arg(QFileInfo::exists(marker) ? 1 : 0));
        });
    }
    // A message box the Upgrade button raised: its text, then it is closed.
    QTimer tips;
    QObject::connect(&tips, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* tip = qobject_cast<TipForm*>(widget);
            if (tip != nullptr && tip->isVisible()) {
                Say("tip=" + tip->findChild<ZLabel*>("Label1")->Text());
                tip->exit(1);
            }
        }
    });
    tips.start(20);
    QTimer::singleShot(8000, &app, [] { QCoreApplication::exit(3); });

    const int code = app.exec();
    // Read after the loop: a hand-over may end it before any later slot runs.
    Say("label=" + form->findChild<ZLabel*>("LatestVersionLabel")->Text());
    Say("notes=" + form->findChild<ZItemList*>("UpgradeInfoItemList")->Items().join('|'));
    Say(QString("exit=%1").arg(code));
    delete form;
    return code;
}
