#pragma once
#include "ZBase.h"

struct ZProgressBarPrivate;

// A percentage shown as a horizontal bar filled from the left: BackColor for the empty bar, ForeColor for
// the filled part, BorderColor/Border/BorderWidth/Radius for the outline. With a Radius the bar is rounded
// and its whole outline is stroked (Border is not consulted).
class VELOUR_EXPORT ZProgressBar : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue)

public:
    explicit ZProgressBar(QWidget* parent = nullptr);
    ~ZProgressBar() override;

    int Value() const;
    // Limited to 0 .. 100; repaints when the stored value changes.
    void SetValue(int percent);

protected:
    void Paint(QPainter* painter) override;

private:
    ZProgressBarPrivate* d_zprogressbar;
};
