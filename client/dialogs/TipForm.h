#pragma once

#include "ZForm.h"

class QGraphicsOpacityEffect;
class QTimer;

namespace Ui {
class TipForm;
}

// The one-line message box: a small borderless white box with a success or error icon above a centred text.
// The caller runs it with exec(true) at once (centred over `parent`, window-modal); it has no buttons and
// closes itself: a success box stays opaque for about a second and fades over about one more, an error box
// stays about two seconds before the same fade; exec then returns 1. The time counts from construction.
// Colours are fixed: the box follows neither the language nor the theme colour.
class TipForm : public ZForm
{
    Q_OBJECT

public:
    // A text wider than the box (its width + 30 > 120) widens the box to the text width + 40, the text and
    // the icon centred in it. The text is never wrapped or cut.
    TipForm(bool success, const QString& text, QWidget* parent);
    ~TipForm() override;

    // The remaining life in seconds (2.0 for success, 3.0 for an error), less 0.1 per 100 ms tick and used
    // as the opacity; the run ends at the first tick that finds it at or below 0.
    float Life = 0;

private slots:
    // Every 100 ms while the box lives: fades by 0.1, or, when the life is spent, stops the timer, takes
    // the effect off and ends the run with 1.
    void Tick();

private:
    Ui::TipForm* ui;
    // The timer has no Qt parent: stopped at the end of the fade, deleted with the box. The effect is the
    // box's child until it is set on the box, which then owns it; null once the fade has ended.
    QTimer* Timer = nullptr;
    QGraphicsOpacityEffect* Opacity = nullptr;
};
