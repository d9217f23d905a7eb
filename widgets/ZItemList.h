#pragma once
#include "ZScrollContainer.h"

#include <QRect>
#include <QStringList>

struct ZItemListPrivate;

// A scrolling list of text lines; a click selects a line, a click on the selected line (or below the last
// line) clears the selection. No signals: the client reads SelectedIndex().
//
// PaddingTBLR packs the inner padding into a QRect: x = Top, y = Bottom, width = Left, height = Right. The
// content is (widest text + Left + Right) x (count * ItemHeight + Top + Bottom). The click hit test uses the
// same geometry as painting, padding included: a click in the padding above the first line or below the
// last one hits no line.
class VELOUR_EXPORT ZItemList : public ZScrollContainer
{
    Q_OBJECT
    Q_PROPERTY(bool CanSelectItem READ CanSelectItem WRITE SetCanSelectItem)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(QColor ItemBackColorSelected READ ItemBackColorSelected WRITE SetItemBackColorSelected)
    Q_PROPERTY(QColor ItemForeColorSelected READ ItemForeColorSelected WRITE SetItemForeColorSelected)
    Q_PROPERTY(QRect PaddingTBLR READ Padding WRITE SetPadding)

public:
    explicit ZItemList(QWidget* parent = nullptr);
    ~ZItemList() override;

    int SelectedIndex() const;
    // Clamped to -1 .. count - 1; repaints when it changes.
    void SetSelectedIndex(int index);

    bool CanSelectItem() const;
    int ItemHeight() const;
    const QStringList& Items() const;
    const QColor& ItemBackColorSelected() const;
    const QColor& ItemForeColorSelected() const;
    // The item padding (not the container's): x = Top, y = Bottom, width = Left, height = Right.
    const QRect& Padding() const;

    // Replaces the lines; the selection becomes -1.
    void SetItems(const QStringList& items);
    // Append, or insert before index (0 .. count; other indexes insert nothing). The selected index stays
    // as it was, so it may name another line afterwards.
    void AddItem(const QString& text);
    void InsetItem(int index, const QString& text);
    // Stored only.
    void SetCanSelectItem(bool can);
    void SetItemHeight(int height);
    void SetPadding(const QRect& padding);
    void SetItemBackColorSelected(const QColor& color);
    void SetItemForeColorSelected(const QColor& color);

    // Scroll size from the widest text, the count and the padding; both scroll values back to 0; repaints.
    void ComputeContentSize();
    // The line under a point of the widget, as painted; -1 when none.
    int ItemAt(const QPoint& pos) const;

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;
    void ScrollContainerAreaChangedEvent() override;
    void HScrollBarValueChangedEvent(int value) override;
    void VScrollBarValueChangedEvent(int value) override;

private:
    ZItemListPrivate* d_zitemlist;
};
