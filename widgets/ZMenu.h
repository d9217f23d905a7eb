#pragma once
#include "ZBase.h"
#include "ZPadding.h"

#include <QPoint>

class ZMenuItem;
struct ZMenuPrivate;

// A context or tray menu: a translucent frameless popup with a small shadow that lists ZMenuItems one per
// row and highlights the row under the mouse. exec() runs it modally at a screen point and returns the item
// pressed, or null when the menu closed without a choice (a press outside it, Escape, or with AutoHide the
// mouse leaving it). The menu owns its items. Settings are stored only and take effect at the next paint
// or exec.
class VELOUR_EXPORT ZMenu : public ZBase
{
    Q_OBJECT

public:
    explicit ZMenu(QWidget* parent = nullptr);
    ~ZMenu() override;

    // Appends an item; the menu widens to its text when that is the widest so far.
    ZMenuItem* AddItem(const QString& text);
    // Sets the text; the menu widens when needed but never narrows here.
    void SetItemText(ZMenuItem* item, const QString& text);
    // Index outside 0 .. count - 1: ignored.
    void SetItemText(int index, const QString& text);
    // Deletes the item at index (others: ignored); the width follows the widest remaining text.
    void RemoveItem(int index);
    // Deletes every item; the width stays as it was.
    void Clear();
    // -1 when the item is not in the menu.
    int IndexOf(ZMenuItem* item) const;
    int ItemCount() const;
    ZMenuItem* Item(int index) const;

    bool AutoHide() const;
    const ZPadding& Padding() const;
    int ItemHeight() const;
    // The widest text measured so far (see AddItem, SetItemText, RemoveItem).
    int TextWidth() const;
    void SetAutoHide(bool autoHide);
    void SetPadding(const ZPadding& padding);
    void SetItemHeight(int height);
    void SetItemBackColorHover(const QColor& color);
    void SetItemForeColorHover(const QColor& color);
    void SetItemForeColorDisable(const QColor& color);

    // Shows the menu with its top-left at globalPos (to the left of and / or above the point when it would
    // pass the right or bottom edge of the point's screen, kept on that screen), runs a local event loop
    // until the menu closes and returns the chosen item or null. A second call while open returns null.
    ZMenuItem* exec(const QPoint& globalPos);

signals:
    void HoverItemChanged(int index, ZMenuItem* Item);

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    ZMenuPrivate* d_zmenu;
};
