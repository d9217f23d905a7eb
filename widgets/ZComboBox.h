#pragma once
#include "ZBase.h"

#include <QStringList>

struct ZComboBoxPrivate;

// A drop-down list box: shows the selected item's text and an arrow; a press opens the list below it as a
// popup (ZComboDropDownBox) and runs a local event loop until the user picks a row or clicks elsewhere.
// A new choice is reported by SelectedIndexChanged. Any change of the item list clears the selection.
//
// Embedded in a grid cell the combo is only painted into the grid (ZBase::GridListPaint): it remembers the
// screen position where it was painted, and its list opens there when the grid hands it a press.
//
// The arrow is drawn only once its colour is set (DropDownButtonColor / DropDownButtonColorDisable).
class VELOUR_EXPORT ZComboBox : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(QColor BorderColorHover READ BorderColorHover WRITE SetBorderColorHover)
    Q_PROPERTY(Qt::Alignment Align READ Align WRITE SetAlign)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(QColor ItemBackColorHover READ ItemBackColorHover WRITE SetItemBackColorHover)
    Q_PROPERTY(QColor ItemForeColorHover READ ItemForeColorHover WRITE SetItemForeColorHover)
    Q_PROPERTY(QColor DropDownButtonColor READ DropDownButtonColor WRITE SetDropDownButtonColor)
    Q_PROPERTY(QColor DropDownButtonColorDisable READ DropDownButtonColorDisable WRITE SetDropDownButtonColorDisable)
    Q_PROPERTY(bool ShowDropDownButton READ ShowDropDownButton WRITE SetShowDropDownButton)
    Q_PROPERTY(int SelectedIndex READ SelectedIndex WRITE SetSelectedIndex)

public:
    explicit ZComboBox(QWidget* parent = nullptr);
    ~ZComboBox() override;

    // -1 when nothing is selected.
    int SelectedIndex() const;
    // The selected item's text; empty when nothing is selected.
    QString SelectedText() const;
    const QColor& BorderColorHover() const;
    const QColor& DropDownButtonColor() const;
    const QColor& DropDownButtonColorDisable() const;
    bool ShowDropDownButton() const;
    // Kept by the list's rows, which draw them (the combo's own text uses Align too).
    const QStringList& Items() const;
    int ItemHeight() const;
    Qt::Alignment Align() const;
    const QColor& ItemBackColorHover() const;
    const QColor& ItemForeColorHover() const;

    // Limited to -1 .. count - 1; on a change repaints and emits SelectedIndexChanged.
    void SetSelectedIndex(int index);
    // Keeps the selection when it is still below the new count, else selects -1.
    void SetItems(const QStringList& items);
    // These three change the list and then select -1. InsetItem inserts before index (0 .. count; count
    // appends); an index out of range changes nothing (the selection is still cleared).
    void AddItem(const QString& text);
    void InsetItem(int index, const QString& text);
    void RemoveItem(int index);
    // Replaces one item's text (0 .. count - 1, else ignored); the selection stays.
    void SetItem(int index, const QString& text);
    void SetItemHeight(int height);
    void SetAlign(QFlags<Qt::AlignmentFlag> align);
    // Also the list's scroll-bar slider colour under the mouse.
    void SetItemBackColorHover(const QColor& color);
    void SetItemForeColorHover(const QColor& color);
    void SetBorderColorHover(const QColor& color);
    void SetShowDropDownButton(bool show);
    // The arrow image ("://Icons/ComboBox/DropDownIcon.png") recoloured for the enabled / disabled state.
    void SetDropDownButtonColor(const QColor& color);
    void SetDropDownButtonColorDisable(const QColor& color);

signals:
    void SelectedIndexChanged(int Index);

protected:
    void Paint(QPainter* painter) override;
    // Enter / Leave: hover look; a press while enabled and with items opens the list.
    bool event(QEvent* e) override;

private:
    void DropDown();

    ZComboBoxPrivate* d_zcombobox;
};
