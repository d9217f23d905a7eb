#pragma once

#include "ZForm.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class QGraphicsOpacityEffect;
class QTimer;
class ZButton;

// What the three pop-ups (call, record, alert) share: a top-level window without parent, placed in a lower
// corner of the primary screen's available area, kept above other windows, counting down on its close button
// and then fading out. A press on the pop-up holds it (full opacity, countdown stopped at its next tick).
//
// A pop-up frees itself: once it is closed by any path (its buttons, the fade, a close from the window system)
// its timer stops and it is deleted later from the event loop. Callers keep no pointer to it, or a QPointer.
class PopupForm : public ZForm
{
    Q_OBJECT

public:
    ~PopupForm() override;

    // Where a w x h pop-up goes in the available area: flush against its lower left corner (corner 0) or its
    // lower right corner (any other value). The area's origin counts, so a panel at the top or the left of the
    // screen is kept clear as well as one at the bottom.
    static QPoint Placement(const QRect& available, const QSize& size, int corner);

    // Seconds still to count down; -1 once the fade-out has begun.
    int Seconds = 0;
    // The window's opacity during the fade-out (1.0 when the countdown starts).
    float Opacity = 1.0f;
    // Set by a press on the pop-up, or from the start when no countdown runs: the countdown stops at its next
    // tick.
    bool Held = false;

protected:
    // The derived form builds its layout, then calls FinishConstruction.
    explicit PopupForm(QWidget* parent);
    // The end of every pop-up's constructor: the theme (widgets, title bar, title text), the form's own
    // colouring (OwnSkin), then its texts from the language.
    void FinishConstruction();
    virtual void OwnSkin() {}

    // The shared steps of showing: placement in the corner, the countdown of `seconds` on `closeButton`
    // (below 1: none), staying on top, show where placed.
    void StartPopup(int corner, int seconds, ZButton* closeButton);
    // Stops the countdown and closes the pop-up (which then frees itself).
    void ClosePopup();
    // Stops the countdown for good, leaving the opacity as it is.
    void StopCountdown();

    // A press on the title bar or on the body holds the pop-up.
    void TitleMousePressEvent() override;
    void mousePressEvent(QMouseEvent* event) override;
    // A hide that the program or the window system makes (not a minimise) ends the pop-up.
    bool event(QEvent* event) override;

private:
    // Every 1000 ms while counting, every 100 ms while fading.
    void Tick();

    // No Qt parent: owned and deleted by the pop-up.
    QTimer* Timer = nullptr;
    // Null until a countdown starts; then the pop-up's graphics effect, which the pop-up owns.
    QGraphicsOpacityEffect* OpacityEffect = nullptr;
    ZButton* CountdownButton = nullptr;
    bool Ending = false;
};
