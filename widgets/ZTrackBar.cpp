#include "ZTrackBar.h"

#include "SudokuPatch.h"
#include "ZDrawAPI.h"

#include <QImage>
#include <QLinearGradient>
#include <QMetaType>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// Layouts set Type by key name ("HslColorH"): the enum must be known to the meta-type system from the start.
struct TrackTypeRegistration
{
    TrackTypeRegistration() { qRegisterMetaType<ZTrackBar::TrackType>(); }
};
const TrackTypeRegistration registration;

} // namespace

struct ZTrackBarPrivate
{
    ZTrackBar::TrackType Type = ZTrackBar::Normal;
    OrientationType::Types Orientation = OrientationType::Horizontal;
    int MainLineSize = 10;
    QColor MainLineBackColor;
    QColor MainLineFillColor1;
    QColor MainLineFillColor2;
    QPixmap MainLineImage;
    bool SudokuDraw = false;
    QRect SudokuTBLR;
    QSize ButtonSize = QSize(-1, -1);
    QColor ButtonColor;
    QColor ButtonColorHover;
    QColor ButtonColorDisabled;
    QPixmap ButtonImage;
    bool ReplaceImageWhite = false;
    int Maximum = 100;
    int Minimum = 0;
    int Value1 = 0;
    int Value2 = 0;
    QRect MainLineArea;
    QLinearGradient Gradient = QLinearGradient(QPointF(0, 0), QPointF(0, 0));
    QImage ButtonImageNormal;
    QImage ButtonImageHover;
    QImage ButtonImageDisabled;
    SudokuPatch* Sudoku = nullptr; // owned
    bool Hovered = false;
    bool Dragging = false;
    int ButtonLocation = 0;
    int LastMousePosition = 0;
    int MainLine2Length = 0;
};

ZTrackBar::ZTrackBar(QWidget* parent)
    : ZBase(parent)
    , d_ztrackbar(new ZTrackBarPrivate)
{
}

ZTrackBar::~ZTrackBar()
{
    delete d_ztrackbar->Sudoku;
    delete d_ztrackbar;
}

ZTrackBar::TrackType ZTrackBar::Type() const { return d_ztrackbar->Type; }
OrientationType::Types ZTrackBar::Orientation() const { return d_ztrackbar->Orientation; }
int ZTrackBar::MainLineSize() const { return d_ztrackbar->MainLineSize; }
const QColor& ZTrackBar::MainLineBackColor() const { return d_ztrackbar->MainLineBackColor; }
const QColor& ZTrackBar::MainLineFillColor1() const { return d_ztrackbar->MainLineFillColor1; }
const QColor& ZTrackBar::MainLineFillColor2() const { return d_ztrackbar->MainLineFillColor2; }
const QPixmap& ZTrackBar::MainLineImage() const { return d_ztrackbar->MainLineImage; }
bool ZTrackBar::SudokuDraw() const { return d_ztrackbar->SudokuDraw; }
const QRect& ZTrackBar::SudokuTBLR() const { return d_ztrackbar->SudokuTBLR; }
const QSize& ZTrackBar::ButtonSize() const { return d_ztrackbar->ButtonSize; }
const QColor& ZTrackBar::ButtonColor() const { return d_ztrackbar->ButtonColor; }
const QColor& ZTrackBar::ButtonColorHover() const { return d_ztrackbar->ButtonColorHover; }
const QColor& ZTrackBar::ButtonColorDisabled() const { return d_ztrackbar->ButtonColorDisabled; }
const QPixmap& ZTrackBar::ButtonImage() const { return d_ztrackbar->ButtonImage; }
bool ZTrackBar::ReplaceImageWhite() const { return d_ztrackbar->ReplaceImageWhite; }
int ZTrackBar::Maximum() const { return d_ztrackbar->Maximum; }
int ZTrackBar::Minimum() const { return d_ztrackbar->Minimum; }
int ZTrackBar::Value1() const { return d_ztrackbar->Value1; }
int ZTrackBar::Value2() const { return d_ztrackbar->Value2; }
int ZTrackBar::ButtonLocation() const { return d_ztrackbar->ButtonLocation; }
int ZTrackBar::MainLine2Length() const { return d_ztrackbar->MainLine2Length; }
const QRect& ZTrackBar::MainLineDrawArea() const { return d_ztrackbar->MainLineArea; }
bool ZTrackBar::IsDragging() const { return d_ztrackbar->Dragging; }

void ZTrackBar::SetType(TrackType type)
{
    d_ztrackbar->Type = type;
    ComputemMainLineGradient();
    update();
}

void ZTrackBar::SetOrientation(OrientationType::Types orientation)
{
    if (d_ztrackbar->Orientation == orientation)
        return;
    d_ztrackbar->Orientation = orientation;
    ComputemMainLineDrawArea();
    ComputeButtonLocation();
    ComputeButtonMainLine2Length();
    update();
}

void ZTrackBar::SetMainLineSize(int size)
{
    if (d_ztrackbar->MainLineSize == size)
        return;
    d_ztrackbar->MainLineSize = size;
    ComputemMainLineDrawArea();
    update();
}

void ZTrackBar::SetMainLineBackColor(const QColor& color)
{
    if (d_ztrackbar->MainLineBackColor == color)
        return;
    d_ztrackbar->MainLineBackColor = color;
    ComputemMainLineGradient();
    update();
}

void ZTrackBar::SetMainLineFillColor1(const QColor& color)
{
    if (d_ztrackbar->MainLineFillColor1 == color)
        return;
    d_ztrackbar->MainLineFillColor1 = color;
    update();
}

void ZTrackBar::SetMainLineFillColor2(const QColor& color)
{
    if (d_ztrackbar->MainLineFillColor2 == color)
        return;
    d_ztrackbar->MainLineFillColor2 = color;
    update();
}

void ZTrackBar::SetMainLineImage(const QPixmap& image)
{
    d_ztrackbar->MainLineImage = image;
    UpdateMainLineImageSudoku();
    update();
}

void ZTrackBar::SetSudokuDraw(bool sudoku)
{
    if (d_ztrackbar->SudokuDraw == sudoku)
        return;
    d_ztrackbar->SudokuDraw = sudoku;
    UpdateMainLineImageSudoku();
    update();
}

void ZTrackBar::SetSudokuTBLR(const QRect& margins)
{
    if (d_ztrackbar->SudokuTBLR == margins)
        return;
    d_ztrackbar->SudokuTBLR = margins;
    UpdateMainLineImageSudoku();
    update();
}

void ZTrackBar::SetButtonSize(const QSize& size)
{
    if (d_ztrackbar->ButtonSize == size)
        return;
    d_ztrackbar->ButtonSize = size;
    // The track is the widget's length less the knob's: the knob's place for Value1 moves with its size.
    ComputeButtonLocation();
    update();
}

void ZTrackBar::SetButtonColor(const QColor& color)
{
    if (d_ztrackbar->ButtonColor == color)
        return;
    d_ztrackbar->ButtonColor = color;
    ReplaceButtonImageNormalColor();
    update();
}

void ZTrackBar::SetButtonColorHover(const QColor& color)
{
    if (d_ztrackbar->ButtonColorHover == color)
        return;
    d_ztrackbar->ButtonColorHover = color;
    ReplaceButtonImageHoverColor();
    update();
}

void ZTrackBar::SetButtonColorDisabled(const QColor& color)
{
    if (d_ztrackbar->ButtonColorDisabled == color)
        return;
    d_ztrackbar->ButtonColorDisabled = color;
    ReplaceButtonImageDisabledColor();
    update();
}

void ZTrackBar::SetButtonImage(const QPixmap& image)
{
    d_ztrackbar->ButtonImage = image;
    ReplaceButtonImageNormalColor();
    ReplaceButtonImageHoverColor();
    ReplaceButtonImageDisabledColor();
    update();
}

void ZTrackBar::SetReplaceImageWhite(bool replace)
{
    if (d_ztrackbar->ReplaceImageWhite == replace)
        return;
    d_ztrackbar->ReplaceImageWhite = replace;
    ReplaceButtonImageNormalColor();
    ReplaceButtonImageHoverColor();
    ReplaceButtonImageDisabledColor();
    update();
}

void ZTrackBar::StoreValue1(int value, bool notify)
{
    ZTrackBarPrivate* d = d_ztrackbar;
    value = qBound(d->Minimum, value, d->Maximum);
    if (value == d->Value1)
        return;
    d->Value1 = value;
    ComputeButtonLocation();
    update();
    if (notify)
        emit Value1Changed(d->Value1);
}

void ZTrackBar::SetValue1(int value)
{
    if (d_ztrackbar->Dragging)
        return;
    StoreValue1(value, true);
}

void ZTrackBar::SetValue1WithoutEvent(int value)
{
    if (d_ztrackbar->Dragging)
        return;
    StoreValue1(value, false);
}

void ZTrackBar::SetValue2(int value)
{
    ZTrackBarPrivate* d = d_ztrackbar;
    value = qBound(d->Minimum, value, d->Maximum);
    if (value == d->Value2)
        return;
    d->Value2 = value;
    ComputeButtonMainLine2Length();
    update();
    emit Value2Changed(d->Value2);
}

void ZTrackBar::SetMaximum(int value)
{
    ZTrackBarPrivate* d = d_ztrackbar;
    value = qMax(value, d->Minimum + 1);
    if (value == d->Maximum)
        return;
    d->Maximum = value;
    // The range wins over a drag in progress: the drag goes on from the knob's new place.
    if (d->Value1 > value)
        StoreValue1(value, true);
    if (d->Value2 > value)
        SetValue2(value);
    // Same values on a new range stand elsewhere on the line.
    ComputeButtonLocation();
    ComputeButtonMainLine2Length();
    update();
}

void ZTrackBar::SetMinimum(int value)
{
    ZTrackBarPrivate* d = d_ztrackbar;
    value = qMin(qMax(value, 0), d->Maximum - 1);
    if (value == d->Minimum)
        return;
    d->Minimum = value;
    if (d->Value1 < value)
        StoreValue1(value, true);
    if (d->Value2 < value)
        SetValue2(value);
    ComputeButtonLocation();
    ComputeButtonMainLine2Length();
    update();
}

int ZTrackBar::ButtonLength() const
{
    const QSize& s = d_ztrackbar->ButtonSize;
    return d_ztrackbar->Orientation == OrientationType::Vertical ? s.height() : s.width();
}

// The knob's travel: the widget's length less the knob's. Zero or negative when the knob is at least as long
// as the widget; the knob then stays at the start and stands for Minimum.
int ZTrackBar::TrackLength() const
{
    const int length = d_ztrackbar->Orientation == OrientationType::Vertical ? height() : width();
    return length - ButtonLength();
}

void ZTrackBar::ComputemMainLineDrawArea()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    const int w = width();
    const int h = height();
    if (d->Orientation == OrientationType::Vertical) {
        d->MainLineArea = QRect((w - d->MainLineSize) / 2, 0, d->MainLineSize, h);
        d->Gradient.setFinalStop(0, h);
    } else {
        d->MainLineArea = QRect(0, (h - d->MainLineSize) / 2, w, d->MainLineSize);
        d->Gradient.setFinalStop(w, 0);
    }
}

void ZTrackBar::ComputemMainLineGradient()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    if (d->Type == Normal)
        return;
    // Stops of an earlier type would otherwise stay between the new ones (the hue's yellow in a lightness
    // track).
    d->Gradient.setStops(QGradientStops());
    switch (d->Type) {
    case HslColorH:
        d->Gradient.setColorAt(0, Qt::red);
        d->Gradient.setColorAt(qreal(1.0f / 6.0f), Qt::yellow);
        d->Gradient.setColorAt(qreal(1.0f / 3.0f), Qt::green);
        d->Gradient.setColorAt(qreal(1.0f / 2.0f), Qt::cyan);
        d->Gradient.setColorAt(qreal(2.0f / 3.0f), Qt::blue);
        d->Gradient.setColorAt(qreal(5.0f / 6.0f), Qt::magenta);
        d->Gradient.setColorAt(1, Qt::red);
        break;
    case HslColorS: {
        const QColor& c = d->MainLineBackColor;
        QColor grey;
        grey.setHsl(c.hslHue(), 0, c.lightness(), 255);
        QColor full;
        full.setHsl(c.hslHue(), 255, c.lightness(), 255);
        d->Gradient.setColorAt(0, grey);
        d->Gradient.setColorAt(1, full);
        break;
    }
    case HslColorL:
        d->Gradient.setColorAt(0, Qt::black);
        d->Gradient.setColorAt(1, Qt::white);
        break;
    default:
        break;
    }
}

void ZTrackBar::ComputeButtonLocation()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    const int track = TrackLength();
    if (track <= 0) {
        d->ButtonLocation = 0;
        return;
    }
    d->ButtonLocation =
        int(qint64(d->Value1 - d->Minimum) * track / (qint64(d->Maximum) - d->Minimum));
}

void ZTrackBar::ComputeButtonMainLine2Length()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    const int length = d->Orientation == OrientationType::Vertical ? height() : width();
    d->MainLine2Length = int(qint64(d->Value2 - d->Minimum) * length / (qint64(d->Maximum) - d->Minimum));
}

void ZTrackBar::ComputeValue()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    const int track = TrackLength();
    if (track <= 0) {
        d->Value1 = d->Minimum;
    } else {
        const qint64 value = (qint64(d->Maximum) - d->Minimum) * d->ButtonLocation / track + d->Minimum;
        d->Value1 = int(qBound<qint64>(d->Minimum, value, d->Maximum));
    }
    emit Value1Changed(d->Value1);
}

void ZTrackBar::UpdateMainLineImageSudoku()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    delete d->Sudoku;
    d->Sudoku = nullptr;
    if (!d->SudokuDraw || d->MainLineImage.isNull())
        return;
    const QRect& m = d->SudokuTBLR;
    d->Sudoku = new SudokuPatch(d->MainLineImage, m.x(), m.y(), m.width(), m.height());
    d->Sudoku->Resize(size());
}

// Each knob image is rebuilt only from an image to recolour and a visible colour; otherwise it keeps what it
// held.
static void RebuildButtonImage(QImage& target, const QPixmap& source, bool replace, const QColor& color)
{
    if (!replace || source.isNull() || color.alpha() <= 0)
        return;
    target = source.toImage().convertToFormat(QImage::Format_ARGB32);
    ZDrawAPI::ImageReplaceWhite(target, color);
}

void ZTrackBar::ReplaceButtonImageNormalColor()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    RebuildButtonImage(d->ButtonImageNormal, d->ButtonImage, d->ReplaceImageWhite, d->ButtonColor);
}

void ZTrackBar::ReplaceButtonImageHoverColor()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    RebuildButtonImage(d->ButtonImageHover, d->ButtonImage, d->ReplaceImageWhite, d->ButtonColorHover);
}

void ZTrackBar::ReplaceButtonImageDisabledColor()
{
    ZTrackBarPrivate* d = d_ztrackbar;
    RebuildButtonImage(d->ButtonImageDisabled, d->ButtonImage, d->ReplaceImageWhite, d->ButtonColorDisabled);
}

void ZTrackBar::Paint(QPainter* painter)
{
    ZTrackBarPrivate* d = d_ztrackbar;
    const int w = width();
    const int h = height();
    const QRect& area = d->MainLineArea;
    const bool vertical = d->Orientation == OrientationType::Vertical;

    painter->save();
    painter->save();
    QPainterPath path;
    if (Radius() < 1) {
        path.addRect(area);
    } else {
        painter->setRenderHint(QPainter::Antialiasing, true);
        const int border = BorderWidth();
        const int half = border / 2;
        const int odd = border % 2;
        path.addRoundedRect(QRectF(area.left() + half + odd - 0.5, area.top() + half + odd - 0.5,
                                   area.width() - border - odd + 1, area.height() - border - odd + 1),
                            Radius(), Radius());
    }
    painter->setClipPath(path, Qt::IntersectClip);

    if (d->Type == Normal) {
        if (!d->MainLineImage.isNull()) {
            if (d->SudokuDraw && d->Sudoku)
                d->Sudoku->Paint(painter);
            else
                painter->drawPixmap(QRect(0, 0, w, h), d->MainLineImage);
        } else {
            painter->fillRect(area, d->MainLineBackColor);
            const auto band = [&](int length) {
                return vertical ? QRect(area.left(), area.top(), area.width(), length)
                                : QRect(area.left(), area.top(), length, area.height());
            };
            painter->fillRect(band(d->MainLine2Length), d->MainLineFillColor2);
            painter->fillRect(band(d->ButtonLocation), d->MainLineFillColor1);
        }
    } else {
        painter->fillPath(path, QBrush(d->Gradient));
    }

    if (Border() != PositionFlag::None) {
        if (Radius() < 1) {
            // The border routine draws at (0, 0): move it onto the line.
            painter->translate(area.topLeft());
            ZDrawAPI::DrawBorder(painter, area, 0, BorderColor(), Border(), BorderWidth());
        } else {
            painter->strokePath(path, QPen(QBrush(BorderColor()), BorderWidth(), Qt::SolidLine, Qt::SquareCap,
                                           Qt::BevelJoin));
        }
    }
    painter->restore();
    painter->setClipRect(rect(), Qt::IntersectClip);

    const QSize& bs = d->ButtonSize;
    const QPoint place = vertical ? QPoint((w - bs.width()) / 2, d->ButtonLocation)
                                  : QPoint(d->ButtonLocation, (h - bs.height()) / 2);
    if (!d->ButtonImage.isNull()) {
        if (!d->ReplaceImageWhite) {
            painter->drawPixmap(place, d->ButtonImage);
        } else {
            const QImage& image = !isEnabled() ? d->ButtonImageDisabled
                                  : d->Hovered ? d->ButtonImageHover
                                               : d->ButtonImageNormal;
            if (!image.isNull())
                painter->drawImage(place, image);
        }
    } else if (bs.width() > 0 && bs.height() > 0) {
        const QColor& color = !isEnabled() ? d->ButtonColorDisabled
                              : d->Hovered ? d->ButtonColorHover
                                           : d->ButtonColor;
        painter->fillRect(QRect(place, bs), color);
    }
    painter->restore();
}

bool ZTrackBar::event(QEvent* e)
{
    ZTrackBarPrivate* d = d_ztrackbar;
    const bool vertical = d->Orientation == OrientationType::Vertical;
    const bool enabled = isEnabled();
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        QMouseEvent* me = static_cast<QMouseEvent*>(e);
        if (!enabled || me->button() != Qt::LeftButton)
            break;
        const int p = qRound(vertical ? me->localPos().y() : me->localPos().x());
        d->LastMousePosition = p;
        if (d->ButtonLocation <= p && p <= d->ButtonLocation + ButtonLength()) {
            d->Dragging = true;
            break;
        }
        // A press beside the knob makes it jump there (no drag).
        d->ButtonLocation = qMax(0, qMin(p, TrackLength()));
        ComputeValue();
        emit ManuallyDragChanged(d->Value1);
        update();
        break;
    }
    case QEvent::MouseMove: {
        if (!enabled || !d->Dragging)
            break;
        QMouseEvent* me = static_cast<QMouseEvent*>(e);
        const int p = qRound(vertical ? me->localPos().y() : me->localPos().x());
        const int location =
            qBound(0, int(qint64(p) + d->ButtonLocation - d->LastMousePosition), qMax(0, TrackLength()));
        if (location != d->ButtonLocation) {
            d->ButtonLocation = location;
            ComputeValue();
            update();
        }
        d->LastMousePosition = p;
        break;
    }
    case QEvent::MouseButtonRelease:
        if (enabled && d->Dragging && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            d->Dragging = false;
            emit ManuallyDragChanged(d->Value1);
        }
        break;
    case QEvent::EnabledChange:
    case QEvent::Hide:
        // No release reaches a disabled or hidden widget: end the drag here, or the knob would stop
        // following SetValue1 for good.
        if (d->Dragging && (!enabled || e->type() == QEvent::Hide)) {
            d->Dragging = false;
            emit ManuallyDragChanged(d->Value1);
        }
        break;
    case QEvent::Enter:
    case QEvent::Leave:
        d->Hovered = e->type() == QEvent::Enter;
        update();
        break;
    case QEvent::Resize:
        if (d->Sudoku)
            d->Sudoku->Resize(size());
        ComputemMainLineDrawArea();
        ComputeButtonLocation();
        // The second fill is measured along the whole widget: it follows a resize like the knob.
        ComputeButtonMainLine2Length();
        break;
    default:
        break;
    }
    return ZBase::event(e);
}
