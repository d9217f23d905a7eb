#pragma once
#include "ZScrollContainer.h"

#include <QStringList>

class QEventLoop;
class ZComboBox;
struct ZComboDropDownBoxPrivate;

// The rows of a combo box's list: one line per item, the row under the mouse highlighted; a press chooses
// that row and ends the list's event loop. Library-internal (placed by ZComboDropDownBox).
class VELOUR_EXPORT ZComboBoxScrollArea : public ZBase
{
    Q_OBJECT

public:
    explicit ZComboBoxScrollArea(QWidget* parent = nullptr);

    int ItemHeight = 20;
    Qt::Alignment Align = Qt::AlignVCenter;
    QStringList Items;
    QColor ItemBackColorHover;
    QColor ItemForeColorHover;
    int HoverIndex = -1;
    int ChosenIndex = -1;
    // The running list loop; null when the list is closed.
    QEventLoop* Loop = nullptr;

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;
};

// The popup list of a ZComboBox: a translucent, frameless top-level window with a small shadow on the
// right and at the bottom, scrolling its rows when there are more than fit. Made and owned by the combo;
// exec() shows it at a screen position and returns the chosen row (-1 when the user clicked elsewhere).
class VELOUR_EXPORT ZComboDropDownBox : public ZScrollContainer
{
    Q_OBJECT

public:
    // The tallest list area before it scrolls.
    static constexpr int MaximumListHeight = 150;
    // Room for the shadow on the right and at the bottom.
    static constexpr int ShadowSize = 4;

    explicit ZComboDropDownBox(ZComboBox* owner);
    ~ZComboDropDownBox() override;

    ZComboBoxScrollArea* Rows() const;
    // Measures the items: the rows become as wide as the widest text (plus its margins) and as high as all
    // items; both scroll positions go back to 0.
    void UpdateListSize();
    // Opens below-left at globalPos (above instead when it does not fit below on that screen, shifted left
    // when it passes the screen's right edge), runs the loop, hides; returns the chosen row or -1. A second
    // call while open returns -1 at once.
    int exec(const QPoint& globalPos);
    // True while the list runs its loop.
    bool IsRunning() const;
    // True when the last opening went upwards (the combo then keeps its plain look).
    bool OpenedUpwards() const;

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;
    void ScrollContainerAreaChangedEvent() override;
    void HScrollBarValueChangedEvent(int value) override;
    void VScrollBarValueChangedEvent(int value) override;

private:
    ZComboDropDownBoxPrivate* d_zcombodropdownbox;
};
