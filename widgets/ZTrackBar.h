#pragma once
#include "OrientationType.h"
#include "ZBase.h"

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QSize>

struct ZTrackBarPrivate;

// The library's slider: a main line with a draggable knob for Value1 and a second value, Value2, drawn only
// as a second fill along the line. With an HSL Type the line is painted as a hue, saturation or lightness
// gradient (one channel of a colour picker). Mouse only: a press on the knob starts a drag, a press beside
// it makes the knob jump there. ManuallyDragChanged marks the end of a user action (a jump or a finished
// drag); Value1Changed also fires at every drag step.
//
// The setters keep 0 <= Minimum < Maximum and Minimum <= Value1, Value2 <= Maximum. While the user drags,
// SetValue1 and SetValue1WithoutEvent are ignored, so that a program following a position (playback) does
// not pull the knob from under the mouse.
class VELOUR_EXPORT ZTrackBar : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(ZTrackBar::TrackType Type READ Type WRITE SetType)
    Q_PROPERTY(OrientationType::Types Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(int MainLineSize READ MainLineSize WRITE SetMainLineSize)
    Q_PROPERTY(QColor MainLineBackColor READ MainLineBackColor WRITE SetMainLineBackColor)
    Q_PROPERTY(QColor MainLineFillColor1 READ MainLineFillColor1 WRITE SetMainLineFillColor1)
    Q_PROPERTY(QColor MainLineFillColor2 READ MainLineFillColor2 WRITE SetMainLineFillColor2)
    Q_PROPERTY(QPixmap MainLineImage READ MainLineImage WRITE SetMainLineImage)
    Q_PROPERTY(bool SudokuDraw READ SudokuDraw WRITE SetSudokuDraw)
    Q_PROPERTY(QRect SudokuTBLR READ SudokuTBLR WRITE SetSudokuTBLR)
    Q_PROPERTY(QSize ButtonSize READ ButtonSize WRITE SetButtonSize)
    Q_PROPERTY(QColor ButtonColor READ ButtonColor WRITE SetButtonColor)
    Q_PROPERTY(QColor ButtonColorHover READ ButtonColorHover WRITE SetButtonColorHover)
    Q_PROPERTY(QColor ButtonColorDisabled READ ButtonColorDisabled WRITE SetButtonColorDisabled)
    Q_PROPERTY(QPixmap ButtonImage READ ButtonImage WRITE SetButtonImage)
    Q_PROPERTY(bool ReplaceImageWhite READ ReplaceImageWhite WRITE SetReplaceImageWhite)
    Q_PROPERTY(int Maximum READ Maximum WRITE SetMaximum)
    Q_PROPERTY(int Minimum READ Minimum WRITE SetMinimum)
    Q_PROPERTY(int Value1 READ Value1 WRITE SetValue1)
    Q_PROPERTY(int Value2 READ Value2 WRITE SetValue2)

public:
    enum TrackType { Normal = 0, HslColorH = 1, HslColorS = 2, HslColorL = 3 };
    Q_ENUM(TrackType)

    explicit ZTrackBar(QWidget* parent = nullptr);
    ~ZTrackBar() override;

    TrackType Type() const;
    OrientationType::Types Orientation() const;
    int MainLineSize() const;
    const QColor& MainLineBackColor() const;
    const QColor& MainLineFillColor1() const;
    const QColor& MainLineFillColor2() const;
    const QPixmap& MainLineImage() const;
    bool SudokuDraw() const;
    // Nine-patch margins of MainLineImage: x = top, y = bottom, width = left, height = right.
    const QRect& SudokuTBLR() const;
    const QSize& ButtonSize() const;
    const QColor& ButtonColor() const;
    const QColor& ButtonColorHover() const;
    const QColor& ButtonColorDisabled() const;
    const QPixmap& ButtonImage() const;
    bool ReplaceImageWhite() const;
    int Maximum() const;
    int Minimum() const;
    int Value1() const;
    int Value2() const;

    void SetType(TrackType type);
    void SetOrientation(OrientationType::Types orientation);
    void SetMainLineSize(int size);
    void SetMainLineBackColor(const QColor& color);
    void SetMainLineFillColor1(const QColor& color);
    void SetMainLineFillColor2(const QColor& color);
    void SetMainLineImage(const QPixmap& image);
    void SetSudokuDraw(bool sudoku);
    void SetSudokuTBLR(const QRect& margins);
    void SetButtonSize(const QSize& size);
    // The three knob colours recolour the white pixels of ButtonImage when ReplaceImageWhite is set, and
    // fill the knob rectangle when there is no image.
    void SetButtonColor(const QColor& color);
    void SetButtonColorHover(const QColor& color);
    void SetButtonColorDisabled(const QColor& color);
    void SetButtonImage(const QPixmap& image);
    void SetReplaceImageWhite(bool replace);

    // Clamped to Minimum..Maximum; nothing while dragging or when unchanged.
    void SetValue1(int value);
    void SetValue1WithoutEvent(int value);
    // Clamped likewise; also while dragging.
    void SetValue2(int value);
    // Maximum is kept above Minimum, Minimum at 0 or more and below Maximum; values outside the new range
    // are pulled in (emitting), even during a drag.
    void SetMaximum(int value);
    void SetMinimum(int value);

    // Geometry steps: the line's area and the gradient's end, the gradient's stops, the knob's offset for
    // Value1, the second fill's length for Value2, Value1 for the knob's offset (emits Value1Changed every
    // time), and the nine-patch of MainLineImage.
    void ComputemMainLineDrawArea();
    void ComputemMainLineGradient();
    void ComputeButtonLocation();
    void ComputeButtonMainLine2Length();
    void ComputeValue();
    void UpdateMainLineImageSudoku();

    // Read-outs of the geometry, for tests and hosts: the knob's offset from the widget's leading edge, the
    // second fill's length, the line's area and whether the knob is being dragged.
    int ButtonLocation() const;
    int MainLine2Length() const;
    const QRect& MainLineDrawArea() const;
    bool IsDragging() const;

signals:
    void ManuallyDragChanged(int Value);
    void Value1Changed(int Value);
    void Value2Changed(int Value);

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    int TrackLength() const;
    int ButtonLength() const;
    void StoreValue1(int value, bool notify);
    void ReplaceButtonImageNormalColor();
    void ReplaceButtonImageHoverColor();
    void ReplaceButtonImageDisabledColor();

    ZTrackBarPrivate* d_ztrackbar;
};
