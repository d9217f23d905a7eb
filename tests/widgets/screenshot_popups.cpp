// Screenshots for review (scripts/screenshots-designer), on an X display:
//   screenshot-popups grab <file.png>   the whole screen
//   screenshot-popups popups <folder>   a combo box with its list open, and a menu near the screen's corner
#include "ZComboBox.h"
#include "ZComboDropDownBox.h"
#include "ZMenu.h"
#include "ZMenuItem.h"
#include "ZPanel.h"

#include <QApplication>
#include <QDir>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <cstdio>

static bool GrabScreen(const QString& file)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen && screen->grabWindow(0).save(file, "PNG");
}

// Grabs the screen after the popup has been painted and composited, then closes it.
static void GrabLater(QWidget* popup, const QString& file, bool* ok)
{
    QTimer::singleShot(700, popup, [popup, file, ok]() {
        *ok = GrabScreen(file) && *ok;
        popup->close();
    });
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s grab <file.png> | popups <folder>\n", argv[0]);
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("grab"))
        return GrabScreen(target) ? 0 : 1;

    const QColor theme(82, 178, 250), text(100, 100, 100), frame(200, 200, 200);
    ZPanel window;
    window.setGeometry(100, 100, 360, 260);
    window.SetBackColor(QColor(245, 248, 252));
    auto* combo = new ZComboBox(&window);
    combo->setGeometry(30, 30, 160, 30);
    combo->SetBackColor(Qt::white);
    combo->SetForeColor(text);
    combo->SetBorder(PositionFlag::All);
    combo->SetBorderWidth(1);
    combo->SetBorderColor(frame);
    combo->SetRadius(4);
    combo->SetDropDownButtonColor(theme);
    combo->SetItemBackColorHover(theme);
    combo->SetItemForeColorHover(Qt::white);
    QStringList languages{"English", "Deutsch", "Français", "Español", "Italiano", "Português", "Polski",
                          "Русский", "Türkçe", "العربية", "中文"};
    combo->SetItems(languages);
    combo->SetSelectedIndex(0);
    window.show();

    bool ok = true;
    QTimer::singleShot(500, &window, [&]() {
        QTimer::singleShot(100, &window, [&]() {
            if (auto* list = qobject_cast<ZComboDropDownBox*>(QApplication::activePopupWidget())) {
                QHoverEvent hover(QEvent::HoverMove, QPoint(20, 50), QPoint(-1, -1));
                QCoreApplication::sendEvent(list->Rows(), &hover);
                GrabLater(list, QDir(target).filePath("combo-list.png"), &ok);
            }
        });
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), combo->mapToGlobal(QPoint(10, 10)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(combo, &press);

        ZMenu menu(&window);
        ZPadding padding;
        padding.Top = 5;
        padding.Bottom = 5;
        padding.Left = 10;
        padding.Right = 30;
        menu.SetPadding(padding);
        menu.SetItemHeight(24);
        menu.SetBorder(PositionFlag::All);
        menu.SetBorderWidth(1);
        menu.SetBorderColor(QColor(230, 230, 230));
        menu.SetBackColor(Qt::white);
        menu.SetForeColor(text);
        menu.SetItemBackColorHover(theme);
        menu.SetItemForeColorHover(Qt::white);
        menu.SetItemForeColorDisable(QColor(190, 190, 190));
        for (const char* item : {"Play", "Dial", "Edit Keyword", "Download", "Delete", "Export Excel", "Add to Contacts"})
            menu.AddItem(item);
        menu.Item(4)->Enabled = false;
        QTimer::singleShot(100, &menu, [&]() {
            QHoverEvent hover(QEvent::HoverMove, QPoint(20, 5 + 24 + 12), QPoint(-1, -1));
            QCoreApplication::sendEvent(&menu, &hover);
            GrabLater(&menu, QDir(target).filePath("menu-corner.png"), &ok);
        });
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        menu.exec(screen.bottomRight() - QPoint(20, 20));
        app.quit();
    });
    app.exec();
    return ok ? 0 : 1;
}
