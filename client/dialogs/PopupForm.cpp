#include "PopupForm.h"

#include "DialogFrame.h"
#include "LanguageTexts.h"

#include "ZButton.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

PopupForm::PopupForm(QWidget* parent) : ZForm(parent), Timer(new QTimer)
{
    connect(Timer, &QTimer::timeout, this, &PopupForm::Tick);
}

PopupForm::~PopupForm()
{
    delete Timer;
}

QPoint PopupForm::Placement(const QRect& available, const QSize& size, int corner)
{
    const int x = available.left() + (corner != 0 ? available.width() - size.width() : 0);
    const int y = available.top() + available.height() - size.height();
    return QPoint(x, y);
}

void PopupForm::FinishConstruction()
{
    ApplyDialogSkin(this);
    OwnSkin();
    Language::ApplyLanguage(this);
}

void PopupForm::StartPopup(int corner, int seconds, ZButton* closeButton)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(Placement(screen->availableGeometry(), size(), corner));

    CountdownButton = closeButton;
    Seconds = seconds;
    Held = seconds < 1;
    if (seconds > 0) {
        Opacity = 1.0f;
        OpacityEffect = new QGraphicsOpacityEffect(this);
        OpacityEffect->setOpacity(1.0);
        setGraphicsEffect(OpacityEffect);
        Timer->start(1000);
    }
    SetStayOnTop(true);
    show(false);
}

void PopupForm::Tick()
{
    if (Held) {
        Timer->stop();
        return;
    }
    if (Seconds > 0) {
        CountdownButton->SetText(QStringLiteral("%1 (%2)").arg(TextMisc024).arg(Seconds));
        --Seconds;
        return;
    }
    if (Seconds == 0) {
        Seconds = -1;
        Timer->stop();
        Timer->start(100);
        return;
    }
    if (Opacity <= 0) {
        ClosePopup();
        return;
    }
    Opacity = static_cast<float>(static_cast<double>(Opacity) - 0.1);
    OpacityEffect->setOpacity(Opacity);
}

void PopupForm::StopCountdown()
{
    Timer->stop();
}

void PopupForm::ClosePopup()
{
    Timer->stop();
    close();
}

void PopupForm::TitleMousePressEvent()
{
    if (Held)
        return;
    Held = true;
    if (OpacityEffect)
        OpacityEffect->setOpacity(1.0);
}

void PopupForm::mousePressEvent(QMouseEvent*)
{
    TitleMousePressEvent();
}

bool PopupForm::event(QEvent* e)
{
    if (e->type() == QEvent::Hide && !e->spontaneous() && !Ending) {
        Ending = true;
        Timer->stop();
        deleteLater();
    }
    return ZForm::event(e);
}
