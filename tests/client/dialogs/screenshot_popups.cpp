// Shows the dial pad, the record notes editor and the three pop-ups on a real X display and writes screenshots
// into the folder given as the first argument, for review (scripts/screenshots-popups runs it under Xvfb with a
// compositor).
#include "DialogTestSupport.h"

#include "DialForm.h"
#include "EditRecordNotesForm.h"
#include "RecordPopupForm.h"
#include "StatusPopupForm.h"
#include "WarningPopupForm.h"

#include "ZLineEdit.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cstdio>

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
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    DialogEnvironment environment;

    Desktop desktop;
    desktop.setGeometry(QApplication::primaryScreen()->geometry());
    desktop.show();
    auto main = MakeMainWindow(640, 420);
    main->SetTitle(QStringLiteral("Main window"));
    main->SetTitleHeight(36);
    main->SetTitleBackColor(g_ThemeColor);
    main->SetForeColor(g_TextColor);
    main->SetBackColor(Qt::white);
    DialForm dial(main.get());
    EditRecordNotesForm notes(main.get());
    Language::Load(Language::Names().first());
    emit g_Skin->SkinChanged();

    int failures = 0;
    auto grab = [&](const QString& name) {
        if (!QApplication::primaryScreen()->grabWindow(0).save(out.filePath(name)))
            ++failures;
    };
    auto later = [](int ms, std::function<void()> step) { QTimer::singleShot(ms, step); };

    later(400, [&]() {
        dial.SetPhoneNumber(QStringLiteral("15551234567"));
        dial.Show(false);
        later(400, [&]() {
            grab(QStringLiteral("dial-pad.png"));
            dial.hide();
            later(300, [&]() {
                later(400, [&]() {
                    notes.findChild<ZLineEdit*>(QStringLiteral("NotesLineEdit"))
                        ->SetText(QStringLiteral("Customer asks for a call back on Monday about the order"));
                    later(200, [&]() {
                        grab(QStringLiteral("notes-editor.png"));
                        notes.exit(0);
                    });
                });
                notes.Exec(QStringLiteral("call back"));

                auto* call = new StatusPopupForm(nullptr);
                call->PhoneNum = QStringLiteral("5551234");
                call->Name = QStringLiteral("Ann Example");
                call->Company = QStringLiteral("Acme Trading");
                call->Notes = QStringLiteral("Prefers mornings. <b>VIP</b>");
                call->Popup(1, 10, false);
                auto* record = new RecordPopupForm(nullptr);
                record->PhoneNum = QStringLiteral("95550000");
                record->Popup(0, 0);
                later(1600, [&]() {
                    grab(QStringLiteral("call-and-record-popups.png"));
                    for (QWidget* w : QApplication::allWidgets())
                        if (auto* popup = qobject_cast<PopupForm*>(w))
                            popup->close();
                    auto* alert = new WarningPopupForm(nullptr);
                    alert->Message = QStringLiteral("Channel 2 Lost");
                    alert->Popup(1, 0);
                    later(600, [&]() {
                        grab(QStringLiteral("alert-popup.png"));
                        QApplication::exit(failures);
                    });
                });
            });
        });
    });
    return app.exec();
}
