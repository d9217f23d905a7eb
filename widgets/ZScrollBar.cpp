#include "ZScrollBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

struct ZScrollBarPrivate
{
    OrientationType::Types Orientation = OrientationType::Vertical;
    int Total = 0;
    int Value = 0;
    int SliderMinimum = 20;
    int SliderRadius = 0;
    QColor SliderColor;
    QColor SliderColorHover;
    QRect Slider;
    int Travel = 0;
    double Ratio = 1.0; // content pixels per slider pixel
    bool Hover = false;
    bool Dragging = false;
    int Anchor = 0; // last mouse coordinate along the bar while dragging
};

ZScrollBar::ZScrollBar(OrientationType::Types orientation, QWidget* parent)
    : ZBase(parent)
    , d_zscrollbar(new ZScrollBarPrivate)
{
    d_zscrollbar->Orientation = orientation;
    UpdateSliderGeometry();
}

ZScrollBar::~ZScrollBar()
{
    delete d_zscrollbar;
}

OrientationType::Types ZScrollBar::Orientation() const { return d_zscrollbar->Orientation; }
int ZScrollBar::TotalSize() const { return d_zscrollbar->Total; }
int ZScrollBar::Value() const { return d_zscrollbar->Value; }
int ZScrollBar::SliderMinimumSize() const { return d_zscrollbar->SliderMinimum; }
int ZScrollBar::SliderRadius() const { return d_zscrollbar->SliderRadius; }
const QColor& ZScrollBar::SliderColor() const { return d_zscrollbar->SliderColor; }
const QColor& ZScrollBar::SliderColorHover() const { return d_zscrollbar->SliderColorHover; }
const QRect& ZScrollBar::SliderRect() const { return d_zscrollbar->Slider; }

int ZScrollBar::Length() const
{
    return std::max(d_zscrollbar->Orientation == OrientationType::Horizontal ? width() : height(), 0);
}

void ZScrollBar::SetTotalSize(int total)
{
    ZScrollBarPrivate* d = d_zscrollbar;
    if (d->Total == total)
        return;
    d->Total = std::max(total, 0);
    const int maximum = std::max(0, d->Total - Length());
    if (d->Value > maximum) {
        d->Value = maximum;
        UpdateSliderGeometry();
        update();
        emit ValueChanged(d->Value);
        return;
    }
    UpdateSliderGeometry();
    update();
}

void ZScrollBar::SetValue(int value)
{
    ZScrollBarPrivate* d = d_zscrollbar;
    const int v = std::clamp(value, 0, std::max(0, d->Total - Length()));
    if (v == d->Value)
        return;
    d->Value = v;
    UpdateSliderGeometry();
    update();
    emit ValueChanged(v);
}

void ZScrollBar::SetSliderMinimumSize(int size)
{
    if (d_zscrollbar->SliderMinimum == size)
        return;
    d_zscrollbar->SliderMinimum = size;
    UpdateSliderGeometry();
    update();
}

void ZScrollBar::SetSliderRadius(int radius)
{
    radius = std::max(radius, 0);
    if (d_zscrollbar->SliderRadius == radius)
        return;
    d_zscrollbar->SliderRadius = radius;
    update();
}

void ZScrollBar::SetSliderColor(const QColor& color)
{
    if (d_zscrollbar->SliderColor == color)
        return;
    d_zscrollbar->SliderColor = color;
    update();
}

void ZScrollBar::SetSliderColorHover(const QColor& color)
{
    if (d_zscrollbar->SliderColorHover == color)
        return;
    d_zscrollbar->SliderColorHover = color;
    update();
}

void ZScrollBar::UpdateSliderGeometry()
{
    ZScrollBarPrivate* d = d_zscrollbar;
    const int L = Length();
    const int T = d->Total;
    int S = L;
    d->Travel = 0;
    d->Ratio = 1.0;
    if (T > L) {
        S = int(std::max<qint64>(qint64(L) * L / T, d->SliderMinimum));
        // A bar shorter than the minimum slider shows a slider as long as itself, which cannot move.
        S = std::min(S, L);
        d->Travel = L - S;
        if (d->Travel > 0)
            d->Ratio = double(T - L) / d->Travel;
    }
    int P = 0;
    if (d->Travel > 0)
        P = d->Value == T - L ? d->Travel : int(d->Value / d->Ratio);
    if (d->Orientation == OrientationType::Horizontal)
        d->Slider = QRect(P, 0, S, height());
    else
        d->Slider = QRect(0, P, width(), S);
}

void ZScrollBar::Paint(QPainter* p)
{
    const ZScrollBarPrivate* d = d_zscrollbar;
    const QColor& color = d->Hover ? d->SliderColorHover : d->SliderColor;
    const QRect& r = d->Slider;
    if (d->SliderRadius < 1) {
        p->fillRect(r, color);
        return;
    }
    p->setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    path.addRoundedRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.right() - r.left(), r.bottom() - r.top()),
                        d->SliderRadius, d->SliderRadius);
    p->fillPath(path, color);
}

bool ZScrollBar::event(QEvent* e)
{
    ZScrollBarPrivate* d = d_zscrollbar;
    const bool horizontal = d->Orientation == OrientationType::Horizontal;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton) {
            const int c = qRound(horizontal ? me->localPos().x() : me->localPos().y());
            const int start = horizontal ? d->Slider.left() : d->Slider.top();
            const int length = horizontal ? d->Slider.width() : d->Slider.height();
            d->Anchor = c;
            // Any pixel of the slider takes it.
            d->Dragging = c >= start && c < start + length;
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
            d->Dragging = false;
        return true;
    case QEvent::MouseMove: {
        if (!d->Dragging)
            break;
        auto* me = static_cast<QMouseEvent*>(e);
        const int c = qRound(horizontal ? me->localPos().x() : me->localPos().y());
        const int start = horizontal ? d->Slider.left() : d->Slider.top();
        const int n = std::max(c + start - d->Anchor, 0);
        const int maximum = std::max(0, d->Total - Length());
        int position = start;
        int value = d->Value;
        if (n > d->Travel) {
            position = d->Travel;
            value = maximum;
        } else if (n != start) {
            position = n;
            value = n == d->Travel ? maximum : int(n * d->Ratio);
        }
        if (position != start) {
            if (horizontal)
                d->Slider.moveLeft(position);
            else
                d->Slider.moveTop(position);
            update();
            if (value != d->Value) {
                d->Value = value;
                emit ValueChanged(value);
            }
        }
        d->Anchor = c;
        return true;
    }
    case QEvent::Enter:
    case QEvent::Leave:
        d->Hover = e->type() == QEvent::Enter;
        update();
        return true;
    case QEvent::Resize:
        UpdateSliderGeometry();
        break;
    default:
        break;
    }
    return ZBase::event(e);
}
