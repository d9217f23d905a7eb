#include "ZProgressBar.h"

#include "ZDrawAPI.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

struct ZProgressBarPrivate
{
    int Value = 0;
};

ZProgressBar::ZProgressBar(QWidget* parent)
    : ZBase(parent)
    , d_zprogressbar(new ZProgressBarPrivate)
{
}

ZProgressBar::~ZProgressBar()
{
    delete d_zprogressbar;
}

int ZProgressBar::Value() const
{
    return d_zprogressbar->Value;
}

void ZProgressBar::SetValue(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (d_zprogressbar->Value == percent)
        return;
    d_zprogressbar->Value = percent;
    update();
}

void ZProgressBar::Paint(QPainter* p)
{
    const int W = width();
    const int H = height();
    const int bw = BorderWidth();
    const int fill = W * d_zprogressbar->Value / 100;
    const QRect r(0, 0, W, H);

    if (Radius() > 0) {
        // On half pixels, inset by half the border, so that the border's stroke lies inside the widget.
        const int half = bw / 2;
        const int odd = bw % 2;
        const qreal xy = half + odd - 0.5;
        const qreal h = H - bw - odd + 1;
        QPainterPath outline;
        outline.addRoundedRect(QRectF(xy, xy, W - bw - odd + 1, h), Radius(), Radius());
        p->setRenderHint(QPainter::Antialiasing, true);
        p->fillPath(outline, BackColor());
        if (fill > 0) {
            // The clip keeps the fill's rounded right end inside the outline; it is dropped again before
            // the border, whose stroke reaches half its width outside the outline.
            p->save();
            p->setClipPath(outline);
            QPainterPath filled;
            filled.addRoundedRect(QRectF(xy, xy, fill - bw - odd + 1, h), Radius(), Radius());
            p->fillPath(filled, ForeColor());
            p->restore();
        }
        // A pen of width 0 would be a one-pixel line: no border width, no border.
        if (bw > 0)
            p->strokePath(outline, QPen(QBrush(BorderColor()), bw, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        return;
    }

    ZDrawAPI::DrawBackColor(p, r, 0, BackColor(), bw);
    if (fill > 0)
        p->fillRect(QRect(QPoint(bw, bw), QPoint(bw + fill - 1, H - 1 - bw)), ForeColor());
    ZDrawAPI::DrawBorder(p, r, 0, BorderColor(), Border(), bw);
}
