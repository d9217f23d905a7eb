// The three pop-ups as a user meets them: placement, the countdown on the close button and the fade-out, a
// press that holds the pop-up, the ways of closing (each frees the pop-up), and what each shows.

#include "DialogTestSupport.h"
#include "WindowSystem.h"

#include "ContactRequestQueue.h"
#include "LanguageTexts.h"
#include "RecordPopupForm.h"
#include "StatusPopupForm.h"
#include "WarningPopupForm.h"

#include "ZButton.h"
#include "ZLabel.h"
#include "ZLineEdit.h"

#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QToolTip>
#include <QtTest>

namespace {

QString ButtonText(QWidget* form, const char* name)
{
    return form->findChild<ZButton*>(QLatin1String(name))->Text();
}

QString LabelText(QWidget* form, const char* name)
{
    return form->findChild<ZLabel*>(QLatin1String(name))->Text();
}

QTextEdit* NotesBox(QWidget* form)
{
    return form->findChild<QTextEdit*>(QStringLiteral("NotesTextEdit"));
}

void Click(QWidget* form, const char* name)
{
    QTest::mouseClick(form->findChild<QWidget*>(QLatin1String(name)), Qt::LeftButton);
}

double EffectOpacity(QWidget* form)
{
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(form->graphicsEffect());
    return effect ? effect->opacity() : -1;
}

}  // namespace

class PopupFormsTest : public DialogTestCase
{
    Q_OBJECT

private slots:
    // English texts for every case (the base's initTestCase made the Language object).
    void init()
    {
        if (TextMisc024.isEmpty())
            Language::Load(Language::Names().first());
    }

    void placementKeepsToTheAvailableArea_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("corner");
        QTest::addColumn<QPoint>("expected");
        // A panel along the top: the pop-up sits on the bottom edge, not 32 pixels below it.
        QTest::newRow("top panel, right") << QRect(0, 32, 1280, 992) << QSize(440, 270) << 1 << QPoint(840, 754);
        QTest::newRow("top panel, left") << QRect(0, 32, 1280, 992) << QSize(440, 270) << 0 << QPoint(0, 754);
        // A panel along the left: the left corner starts beside it.
        QTest::newRow("left panel, left") << QRect(48, 0, 1232, 984) << QSize(440, 270) << 0 << QPoint(48, 714);
        QTest::newRow("left panel, right") << QRect(48, 0, 1232, 984) << QSize(440, 270) << 1 << QPoint(840, 714);
        QTest::newRow("alert") << QRect(0, 32, 1280, 992) << QSize(340, 200) << 1 << QPoint(940, 824);
        QTest::newRow("any nonzero corner is right") << QRect(0, 0, 1000, 700) << QSize(440, 270) << 7
                                                     << QPoint(560, 430);
    }

    void placementKeepsToTheAvailableArea()
    {
        QFETCH(QRect, available);
        QFETCH(QSize, size);
        QFETCH(int, corner);
        QFETCH(QPoint, expected);
        QCOMPARE(PopupForm::Placement(available, size, corner), expected);
    }

    void popupSitsInTheCornerAboveOtherWindows()
    {
        auto* popup = new StatusPopupForm(nullptr);
        QPointer<StatusPopupForm> guard(popup);
        popup->Popup(1, 0, false);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(popup->mapToGlobal(QPoint(0, 0)), PopupForm::Placement(area, popup->size(), 1));
        QVERIFY(popup->HostWindow()->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(popup->HostWindow()->isVisible());
        popup->close();
        QTRY_VERIFY(guard.isNull());
    }

    // Two seconds: the caption for the first second, then "Close (2)", "Close (1)"; ten fade steps of 0.1 end
    // just below zero and the eleventh tick closes and frees the pop-up.
    void countdownThenFadeThenFree()
    {
        auto* popup = new StatusPopupForm(nullptr);
        QPointer<StatusPopupForm> guard(popup);
        popup->PhoneNum = QStringLiteral("5551234");
        popup->Popup(0, 2, false);

        QStringList captions{ButtonText(popup, "CloselButton")};
        QList<float> opacities{popup->Opacity};
        QElapsedTimer clock;
        clock.start();
        while (guard && clock.elapsed() < 6000) {
            const QString caption = ButtonText(popup, "CloselButton");
            if (caption != captions.last())
                captions << caption;
            if (popup->Opacity != opacities.last())
                opacities << popup->Opacity;
            QTest::qWait(10);
        }
        QVERIFY2(guard.isNull(), "the pop-up was not freed after its fade");
        QCOMPARE(captions, (QStringList{"Close", "Close (2)", "Close (1)"}));
        QCOMPARE(opacities.size(), 11);
        for (int i = 1; i < 10; ++i)
            QVERIFY2(qAbs(opacities[i] - (1.0f - 0.1f * i)) < 1e-4f, qPrintable(QString::number(opacities[i])));
        QVERIFY(opacities.last() < 0 && opacities.last() > -0.01f);
        // Three seconds of countdown and eleven fade ticks: about 3.1 s; much longer means a tick was lost.
        QVERIFY(clock.elapsed() < 4500);
    }

    void pressWhileFadingRestoresFullOpacityAndHolds()
    {
        auto* popup = new WarningPopupForm(nullptr);
        QPointer<WarningPopupForm> guard(popup);
        popup->Message = QStringLiteral("Storage Device Not Found");
        popup->Popup(1, 1);
        QTRY_VERIFY_WITH_TIMEOUT(popup->Opacity < 0.75f, 3000);
        // A press on the body, away from the text box and the button.
        QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(5, 190));
        QCOMPARE(EffectOpacity(popup), 1.0);
        QVERIFY(popup->Held);
        const float held = popup->Opacity;
        QTest::qWait(400);
        QVERIFY(guard);
        QCOMPARE(popup->Opacity, held);
        QCOMPARE(EffectOpacity(popup), 1.0);
        // A second press changes nothing; Close ends it.
        QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(5, 190));
        QCOMPARE(EffectOpacity(popup), 1.0);
        Click(popup, "CloselButton");
        QTRY_VERIFY(guard.isNull());
    }

    void titlePressHolds()
    {
        auto* popup = new StatusPopupForm(nullptr);
        QPointer<StatusPopupForm> guard(popup);
        popup->Popup(1, 1, false);
        QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(200, 10));
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(200, 10));
        QVERIFY(popup->Held);
        QTest::qWait(2500);
        QVERIFY(guard);
        QCOMPARE(ButtonText(popup, "CloselButton"), QStringLiteral("Close"));
        QVERIFY(popup->HostWindow()->isVisible());
        delete popup;
    }

    void withoutCountdownStaysOpaqueWithItsCaption()
    {
        auto* call = new StatusPopupForm(nullptr);
        auto* alert = new WarningPopupForm(nullptr);
        QPointer<StatusPopupForm> callGuard(call);
        QPointer<WarningPopupForm> alertGuard(alert);
        call->Popup(1, 0, false);
        alert->Popup(1, -3);
        QVERIFY(call->Held && alert->Held);
        QVERIFY(!call->graphicsEffect() && !alert->graphicsEffect());
        QTest::qWait(1300);
        QCOMPARE(ButtonText(call, "CloselButton"), QStringLiteral("Close"));
        // The alert has no text map: its layout caption stays.
        QCOMPARE(ButtonText(alert, "CloselButton"), QStringLiteral("关闭"));
        WindowSystemClose(call->HostWindow());
        WindowSystemClose(alert->HostWindow());
        QTRY_VERIFY(callGuard.isNull() && alertGuard.isNull());
    }

    void everyClosePathFreesThePopup()
    {
        // Close button.
        auto* a = new StatusPopupForm(nullptr);
        QPointer<StatusPopupForm> ga(a);
        a->Popup(0, 5, false);
        Click(a, "CloselButton");
        // New Contacts: the signal, then the close.
        auto* b = new StatusPopupForm(nullptr);
        QPointer<StatusPopupForm> gb(b);
        QSignalSpy edit(b, &StatusPopupForm::EditButtonClicked);
        b->Popup(0, 5, false);
        Click(b, "EditButton");
        QCOMPARE(edit.count(), 1);
        // The window system closes a counting pop-up.
        auto* c = new RecordPopupForm(nullptr);
        QPointer<RecordPopupForm> gc(c);
        c->Popup(1, 5);
        QVERIFY(WindowSystemClose(c->HostWindow()));
        QTRY_VERIFY(ga.isNull() && gb.isNull() && gc.isNull());
    }

    void callPopupShowsTheContactAndTheDirection()
    {
        auto* known = new StatusPopupForm(nullptr);
        known->PhoneNum = QStringLiteral("5551234");
        known->Name = QStringLiteral("Ann");
        known->Company = QStringLiteral("Acme");
        known->Notes = QStringLiteral("<b>x</b>");
        known->Popup(1, 0, true);
        QCOMPARE(known->Title(), QStringLiteral("Outbound Pop-up"));
        QCOMPARE(LabelText(known, "NameLabel"), QStringLiteral("Ann"));
        QCOMPARE(LabelText(known, "PhoneNumLabel"), QStringLiteral("5551234"));
        QCOMPARE(LabelText(known, "CompanyLabel"), QStringLiteral("Acme"));
        // Markup in the notes is text, not formatting.
        QCOMPARE(NotesBox(known)->toPlainText(), QStringLiteral("<b>x</b>"));
        QVERIFY(!known->findChild<ZButton*>(QStringLiteral("EditButton"))->isEnabled());
        delete known;

        auto* stranger = new StatusPopupForm(nullptr);
        stranger->PhoneNum = QStringLiteral("999");
        stranger->Popup(1, 0, false);
        QCOMPARE(stranger->Title(), QStringLiteral("Inbound Pop-up"));
        QVERIFY(stranger->findChild<ZButton*>(QStringLiteral("EditButton"))->isEnabled());
        delete stranger;

        // A title without "|": whole for inbound, empty for outbound.
        for (bool outbound : {false, true}) {
            auto* popup = new StatusPopupForm(nullptr);
            popup->SetTitle(QStringLiteral("Call"));
            popup->Popup(1, 0, outbound);
            QCOMPARE(popup->Title(), outbound ? QString() : QStringLiteral("Call"));
            delete popup;
        }
    }

    void alertMessageIsPlainAndCannotBeSelected()
    {
        auto* alert = new WarningPopupForm(nullptr);
        alert->Message = QStringLiteral("<i>Channel 2 Lost</i>");
        alert->Popup(1, 0);
        QCOMPARE(NotesBox(alert)->toPlainText(), QStringLiteral("<i>Channel 2 Lost</i>"));
        QCOMPARE(NotesBox(alert)->textInteractionFlags(), Qt::NoTextInteraction);
        QVERIFY(NotesBox(alert)->isReadOnly());
        delete alert;
    }

    void recordNotesTurnRedBeyondSixtyFourBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::newRow("64 ASCII") << QString(64, QLatin1Char('a')) << true;
        QTest::newRow("65 ASCII") << QString(65, QLatin1Char('a')) << false;
        QTest::newRow("21 x 3 bytes") << QString(21, QChar(0x20AC)) << true;
        QTest::newRow("22 x 3 bytes") << QString(22, QChar(0x20AC)) << false;
        QTest::newRow("empty") << QString() << true;
    }

    void recordNotesTurnRedBeyondSixtyFourBytes()
    {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        auto* popup = new RecordPopupForm(nullptr);
        popup->Popup(0, 0);
        auto* line = popup->findChild<ZLineEdit*>(QStringLiteral("NotesLineEdit"));
        line->SetText(QStringLiteral("x"));
        line->SetText(text);
        QCOMPARE(line->ForeColor(), fits ? QColor(100, 100, 100) : QColor(255, 0, 0));
        delete popup;
    }

    void typingStopsTheCountdownForGood()
    {
        auto* popup = new RecordPopupForm(nullptr);
        QPointer<RecordPopupForm> guard(popup);
        popup->Popup(1, 1);
        QTRY_COMPARE_WITH_TIMEOUT(ButtonText(popup, "CloselButton"), QStringLiteral("Close (1)"), 2000);
        QTest::keyClicks(popup->findChild<ZLineEdit*>(QStringLiteral("NotesLineEdit")), QStringLiteral("k"));
        QTest::qWait(2500);
        QVERIFY(guard);
        QCOMPARE(ButtonText(popup, "CloselButton"), QStringLiteral("Close (1)"));
        delete popup;
    }

    void addKeywordsWithoutADeviceFailsAndStays()
    {
        auto* popup = new RecordPopupForm(nullptr);
        QPointer<RecordPopupForm> guard(popup);
        popup->Popup(1, 0);
        Click(popup, "AddNotesButton");
        QCOMPARE(QToolTip::text(), TextTips002);
        QVERIFY(guard && popup->HostWindow()->isVisible());
        QToolTip::hideText();
        delete popup;
    }

    // A New Contacts press while the editor runs (handled inside its event loop) waits for that run to end
    // and then gets its own run; none is lost, none nests.
    void contactRequestsRunOneAtATime()
    {
        QStringList runs;
        int depth = 0;
        int deepest = 0;
        ContactRequestQueue* queue = nullptr;
        ContactRequestQueue requests([&](const QString& number) {
            deepest = qMax(deepest, ++depth);
            runs << number;
            if (number == "1") {
                queue->Add("2");
                queue->Add("3");
                QCOMPARE(queue->Waiting(), 2);
            }
            --depth;
        });
        queue = &requests;
        requests.Add("1");
        QCOMPARE(runs, (QStringList{"1", "2", "3"}));
        QCOMPARE(deepest, 1);
        QCOMPARE(requests.Waiting(), 0);
        requests.Add("4");
        QCOMPARE(runs.last(), QStringLiteral("4"));
    }
};

QTEST_MAIN(PopupFormsTest)
#include "tst_popup_forms.moc"
