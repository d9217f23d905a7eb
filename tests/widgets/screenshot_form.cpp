// Shows the frameless window with its shadow and a tab control on a real X display and writes screenshots
// of the screen into the folder given as the first argument, for review (scripts/screenshots-form runs it
// under Xvfb, with and without a compositor). A second argument names the set: "compositor" (default) or
// "plain".
#include "ZForm.h"
#include "ZPanel.h"
#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor Theme(82, 178, 250);
const QColor Text(100, 100, 100);

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

void StylePage(ZTabPage* page, const QString& text)
{
    page->SetText(text);
    page->SetTabBarBackColor(QColor(245, 247, 250));
    page->SetTabBarBackColorSelected(Theme);
    page->SetTabBarBackColorHover(QColor(225, 238, 252));
    page->SetTabBarBackColorPress(QColor(200, 225, 250));
    page->SetTabBarForeColor(Text);
    page->SetTabBarForeColorSelected(Qt::white);
    page->SetTabBarForeColorHover(Text);
    page->SetBackColor(Qt::white);
    // Some content to tell the pages apart.
    auto* box = new ZPanel(page);
    box->setGeometry(20, 20, 200, 60);
    box->SetBackColor(QColor(240, 246, 252));
    box->SetBorder(PositionFlag::All);
    box->SetBorderWidth(1);
    box->SetBorderColor(QColor(210, 220, 230));
    box->SetRadius(5);
}

ZTabControl* MakeTabs(ZForm* form, PositionType::Types position, const QSize& tab, const QStringList& names)
{
    auto* tabs = new ZTabControl(form);
    tabs->SetDock(DockType::Fill);
    tabs->SetTabBarPosition(position);
    tabs->SetTabBarSize(tab);
    tabs->SetTabPaddingColor(QColor(245, 247, 250));
    for (const QString& name : names) {
        auto* page = new ZTabPage(tabs);
        StylePage(page, name);
        tabs->AddPage(page);
    }
    tabs->SetSelectedIndex(1);
    return tabs;
}

void StyleForm(ZForm* form, const QString& title)
{
    form->SetTitle(title);
    form->SetTitleBackColor(Theme);
    form->SetForeColor(Qt::white);
    form->SetBackColor(Qt::white);
    form->SetSysButtonColor(Qt::white);
    form->SetSysButtonColorHover(Qt::white);
    QFont font = form->font();
    font.setPixelSize(14);
    form->SetTitleFont(font);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [compositor|plain]\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const bool plain = argc > 2 && QByteArray(argv[2]) == "plain";
    QApplication::setQuitOnLastWindowClosed(false);

    Desktop desktop;
    desktop.setWindowFlags(Qt::FramelessWindowHint);
    desktop.setGeometry(QApplication::primaryScreen()->geometry());
    desktop.show();

    ZForm main;
    StyleForm(&main, QStringLiteral("Calvox"));
    main.SetTitlePadding(12);
    main.SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    MakeTabs(&main, PositionType::Left, QSize(120, 50),
             {QStringLiteral("Monitor"), QStringLiteral("Records"), QStringLiteral("Settings")});
    main.resize(560, 380);
    main.move(60, 60);

    ZForm dialog(&main);
    StyleForm(&dialog, QStringLiteral("Dialog"));
    dialog.SetShowMinimizeButton(false);
    dialog.SetShowMaximizeButton(false);
    dialog.SetCanResize(false);
    MakeTabs(&dialog, PositionType::Top, QSize(90, 32),
             {QStringLiteral("General"), QStringLiteral("Network"), QStringLiteral("Users")});
    dialog.resize(360, 240);

    int failures = 0;
    auto grab = [&](const QString& name, const QRect& area) {
        const QPixmap shot = QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                                       area.height());
        if (!shot.save(out.filePath(name))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
            ++failures;
        }
    };
    const QRect around(20, 20, 700, 480);

    // Steps a few hundred milliseconds apart, so that the compositor has painted.
    std::vector<std::function<void()>> steps;
    steps.push_back([&]() {
        main.show();
        main.HostWindow()->activateWindow();
    });
    steps.push_back([&]() { grab(plain ? "form-no-compositor.png" : "form-active.png", around); });
    if (!plain) {
        steps.push_back([&]() {
            dialog.show(true);
            dialog.HostWindow()->activateWindow();
        });
        steps.push_back([&]() { grab("dialog-over-inactive-form.png", around); });
        steps.push_back([&]() {
            dialog.hide();
            main.showMaximized();
        });
        steps.push_back([&]() { grab("form-maximised.png", QApplication::primaryScreen()->geometry()); });
    }
    steps.push_back([&]() { app.exit(failures == 0 ? 0 : 1); });

    for (size_t i = 0; i < steps.size(); ++i)
        QTimer::singleShot(400 * int(i + 1), &app, steps[i]);
    return app.exec();
}
