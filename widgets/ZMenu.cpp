#include "ZMenu.h"

#include "PopupFrame.h"
#include "SudokuPatch.h"
#include "ZMenuItem.h"

#include <QEventLoop>
#include <QHoverEvent>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {
// Room for the shadow on the right and at the bottom.
constexpr int ShadowSize = 4;
} // namespace

struct ZMenuPrivate
{
    bool AutoHide = false;
    ZPadding Padding;
    int ItemHeight = 30;
    QColor ItemBackColorHover;
    QColor ItemForeColorHover;
    QColor ItemForeColorDisable;
    int TextWidth = 0;
    ZMenuItem* Hovered = nullptr;
    ZMenuItem* Chosen = nullptr;
    QList<ZMenuItem*> Items;
    QEventLoop* Loop = nullptr;
    SudokuPatch Shadow{QPixmap(QStringLiteral(":/Icons/Shadow.png")), 6, 6, 6, 6};
};

ZMenu::ZMenu(QWidget* parent)
    : ZBase(parent)
    , d_zmenu(new ZMenuPrivate)
{
    setAttribute(Qt::WA_Hover, true);
    setAttribute(Qt::WA_TranslucentBackground, true);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
}

ZMenu::~ZMenu()
{
    // Destroyed from inside its own exec (its window went away): end the loop, exec returns null.
    if (d_zmenu->Loop)
        d_zmenu->Loop->exit();
    qDeleteAll(d_zmenu->Items);
    delete d_zmenu;
}

ZMenuItem* ZMenu::AddItem(const QString& text)
{
    auto* item = new ZMenuItem(text);
    d_zmenu->Items.append(item);
    d_zmenu->TextWidth = std::max(d_zmenu->TextWidth, fontMetrics().horizontalAdvance(text));
    return item;
}

void ZMenu::SetItemText(ZMenuItem* item, const QString& text)
{
    if (!item)
        return;
    item->Text = text;
    d_zmenu->TextWidth = std::max(d_zmenu->TextWidth, fontMetrics().horizontalAdvance(text));
}

void ZMenu::SetItemText(int index, const QString& text)
{
    if (index >= 0 && index < d_zmenu->Items.size())
        SetItemText(d_zmenu->Items.at(index), text);
}

void ZMenu::RemoveItem(int index)
{
    ZMenuPrivate* d = d_zmenu;
    if (index >= 0 && index < d->Items.size()) {
        ZMenuItem* item = d->Items.takeAt(index);
        // The menu may be open (a slot removes an item): forget the pointer before it dangles.
        if (d->Hovered == item)
            d->Hovered = nullptr;
        if (d->Chosen == item)
            d->Chosen = nullptr;
        delete item;
    }
    const QFontMetrics metrics = fontMetrics();
    d->TextWidth = 0;
    for (ZMenuItem* item : qAsConst(d->Items))
        d->TextWidth = std::max(d->TextWidth, metrics.horizontalAdvance(item->Text));
}

void ZMenu::Clear()
{
    d_zmenu->Hovered = nullptr;
    d_zmenu->Chosen = nullptr;
    qDeleteAll(d_zmenu->Items);
    d_zmenu->Items.clear();
}

int ZMenu::IndexOf(ZMenuItem* item) const { return d_zmenu->Items.indexOf(item); }
int ZMenu::ItemCount() const { return d_zmenu->Items.size(); }

ZMenuItem* ZMenu::Item(int index) const
{
    return index >= 0 && index < d_zmenu->Items.size() ? d_zmenu->Items.at(index) : nullptr;
}

bool ZMenu::AutoHide() const { return d_zmenu->AutoHide; }
const ZPadding& ZMenu::Padding() const { return d_zmenu->Padding; }
int ZMenu::ItemHeight() const { return d_zmenu->ItemHeight; }
int ZMenu::TextWidth() const { return d_zmenu->TextWidth; }
void ZMenu::SetAutoHide(bool autoHide) { d_zmenu->AutoHide = autoHide; }
void ZMenu::SetPadding(const ZPadding& padding) { d_zmenu->Padding = padding; }
void ZMenu::SetItemHeight(int height) { d_zmenu->ItemHeight = height; }
void ZMenu::SetItemBackColorHover(const QColor& color) { d_zmenu->ItemBackColorHover = color; }
void ZMenu::SetItemForeColorHover(const QColor& color) { d_zmenu->ItemForeColorHover = color; }
void ZMenu::SetItemForeColorDisable(const QColor& color) { d_zmenu->ItemForeColorDisable = color; }

ZMenuItem* ZMenu::exec(const QPoint& p)
{
    ZMenuPrivate* d = d_zmenu;
    if (d->Loop)
        return nullptr;
    const ZPadding& pad = d->Padding;
    const int W = pad.Left + d->TextWidth + pad.Right + ShadowSize;
    const int H = d->ItemHeight * d->Items.size() + pad.Top + pad.Bottom + ShadowSize;
    d->Hovered = nullptr;
    d->Chosen = nullptr;

    // Open to the left of and / or above the point when the menu would pass the right or bottom edge; then keep
    // it on the screen (a menu wider or taller than the room on both sides of the point, or a point outside
    // every screen, which is measured against the primary screen).
    const QPoint at = PlacePopup(p, p, QPoint(p.x() - W, p.y() - H), QSize(W, H),
                                 PopupFlipX | PopupFlipY | PopupClampX | PopupClampY).Position;
    const int x = at.x();
    const int y = at.y();

    QEventLoop loop;
    d->Loop = &loop;
    QPointer<ZMenu> self(this);
    setGeometry(x, y, W, H);
    show();
    loop.exec();
    if (!self)
        return nullptr;
    d->Loop = nullptr;
    hide();
    return d->Chosen;
}

void ZMenu::Paint(QPainter* painter)
{
    ZMenuPrivate* d = d_zmenu;
    PaintPopupFrame(painter, this, d->Shadow);

    int y = d->Padding.Top;
    for (ZMenuItem* item : qAsConst(d->Items)) {
        const QRect text(d->Padding.Left, y, d->TextWidth, d->ItemHeight);
        if (!item->Enabled) {
            painter->setPen(d->ItemForeColorDisable);
        } else if (item == d->Hovered) {
            painter->fillRect(QRect(QPoint(4, y), QPoint(width() - 9, y + d->ItemHeight - 1)), d->ItemBackColorHover);
            painter->setPen(d->ItemForeColorHover);
        } else {
            painter->setPen(ForeColor());
        }
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, item->Text);
        y += d->ItemHeight;
    }
}

bool ZMenu::event(QEvent* e)
{
    ZMenuPrivate* d = d_zmenu;
    switch (e->type()) {
    case QEvent::HoverMove: {
        const QPointF pos = static_cast<QHoverEvent*>(e)->posF();
        const int x = qRound(pos.x());
        const int y = qRound(pos.y());
        const ZPadding& pad = d->Padding;
        if (x >= 1 && x <= width() - 1 && y > pad.Top && y < height() - ShadowSize - pad.Bottom && d->ItemHeight > 0) {
            const int index = (y - pad.Top) / d->ItemHeight;
            if (index < d->Items.size() && d->Items.at(index) != d->Hovered) {
                d->Hovered = d->Items.at(index);
                update();
                emit HoverItemChanged(index, d->Hovered);
            }
        }
        break;
    }
    case QEvent::HoverLeave:
        d->Hovered = nullptr;
        if (d->AutoHide && isVisible())
            close();
        else
            update();
        break;
    case QEvent::MouseButtonPress: {
        // A press outside the menu (a popup receives those) chooses nothing, whatever was hovered last:
        // the pointer may have left the menu without a hover leave while the popup held the mouse.
        const bool inside = rect().contains(static_cast<QMouseEvent*>(e)->pos());
        if (inside && d->Hovered && !d->Hovered->Enabled) {
            e->accept();
            return true;
        }
        d->Chosen = inside ? d->Hovered : nullptr;
        close();
        e->accept();
        return true;
    }
    case QEvent::Close:
    case QEvent::Hide:
        if (d->Loop)
            d->Loop->exit();
        break;
    case QEvent::Resize:
        d->Shadow.Resize(size());
        break;
    default:
        break;
    }
    return ZBase::event(e);
}
