#include "ZItemList.h"

#include "ZDrawAPI.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>

struct ZItemListPrivate
{
    int SelectedIndex = -1;
    bool CanSelectItem = true;
    int ItemHeight = 20;
    QStringList Items;
    QColor ItemBackColorSelected;
    QColor ItemForeColorSelected;
    QRect PaddingTBLR;
    int FirstVisibleItem = 0;
    int FirstItemHidden = 0;
    int HOffset = 0;
};

ZItemList::ZItemList(QWidget* parent)
    : ZScrollContainer(true, true, parent)
    , d_zitemlist(new ZItemListPrivate)
{
}

ZItemList::~ZItemList()
{
    delete d_zitemlist;
}

int ZItemList::SelectedIndex() const { return d_zitemlist->SelectedIndex; }
bool ZItemList::CanSelectItem() const { return d_zitemlist->CanSelectItem; }
int ZItemList::ItemHeight() const { return d_zitemlist->ItemHeight; }
const QStringList& ZItemList::Items() const { return d_zitemlist->Items; }
const QColor& ZItemList::ItemBackColorSelected() const { return d_zitemlist->ItemBackColorSelected; }
const QColor& ZItemList::ItemForeColorSelected() const { return d_zitemlist->ItemForeColorSelected; }
const QRect& ZItemList::Padding() const { return d_zitemlist->PaddingTBLR; }

void ZItemList::SetSelectedIndex(int index)
{
    index = std::clamp(index, -1, int(d_zitemlist->Items.size()) - 1);
    if (index == d_zitemlist->SelectedIndex)
        return;
    d_zitemlist->SelectedIndex = index;
    update();
}

void ZItemList::SetItems(const QStringList& items)
{
    d_zitemlist->Items = items;
    d_zitemlist->SelectedIndex = -1;
    ComputeContentSize();
}

void ZItemList::AddItem(const QString& text)
{
    d_zitemlist->Items.append(text);
    ComputeContentSize();
}

void ZItemList::InsetItem(int index, const QString& text)
{
    if (index < 0 || index > d_zitemlist->Items.size())
        return;
    d_zitemlist->Items.insert(index, text);
    ComputeContentSize();
}

void ZItemList::SetCanSelectItem(bool can)
{
    d_zitemlist->CanSelectItem = can;
}

void ZItemList::SetItemHeight(int height)
{
    if (d_zitemlist->ItemHeight == height)
        return;
    d_zitemlist->ItemHeight = height;
    ComputeContentSize();
}

void ZItemList::SetPadding(const QRect& padding)
{
    if (d_zitemlist->PaddingTBLR == padding)
        return;
    d_zitemlist->PaddingTBLR = padding;
    ComputeContentSize();
}

void ZItemList::SetItemBackColorSelected(const QColor& color)
{
    if (d_zitemlist->ItemBackColorSelected == color)
        return;
    d_zitemlist->ItemBackColorSelected = color;
    update();
}

void ZItemList::SetItemForeColorSelected(const QColor& color)
{
    if (d_zitemlist->ItemForeColorSelected == color)
        return;
    d_zitemlist->ItemForeColorSelected = color;
    update();
}

void ZItemList::ComputeContentSize()
{
    ZItemListPrivate* d = d_zitemlist;
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& item : qAsConst(d->Items))
        widest = std::max(widest, fm.horizontalAdvance(item));
    const QRect& P = d->PaddingTBLR;
    const qint64 w = qint64(widest) + P.width() + P.height();
    const qint64 h = qint64(d->Items.size()) * d->ItemHeight + P.x() + P.y();
    SetScrollSize(QSize(int(std::clamp<qint64>(w, 0, INT_MAX)), int(std::clamp<qint64>(h, 0, INT_MAX))));
    SetHScrollBarValue(0);
    SetVScrollBarValue(0);
    update();
}

int ZItemList::ItemAt(const QPoint& pos) const
{
    const ZItemListPrivate* d = d_zitemlist;
    if (d->ItemHeight < 1)
        return -1;
    const QRect& area = ScrollArea();
    const QRect& P = d->PaddingTBLR;
    if (!area.contains(pos))
        return -1;
    // Content coordinates, in which line i spans Top + i * ItemHeight .. + ItemHeight, left to right
    // between the paddings: exactly what Paint draws.
    const int contentX = pos.x() - area.left() + d->HOffset;
    if (contentX < P.width() || pos.x() > area.right() - P.height())
        return -1;
    const qint64 contentY = qint64(pos.y()) - area.top() + VScrollBarValue() - P.x();
    if (contentY < 0)
        return -1;
    const qint64 index = contentY / d->ItemHeight;
    return index < d->Items.size() ? int(index) : -1;
}

void ZItemList::Paint(QPainter* p)
{
    ZItemListPrivate* d = d_zitemlist;
    const QRect r(0, 0, width(), height());
    ZDrawAPI::DrawBackColor(p, r, Radius(), BackColor(), BorderWidth());
    ZDrawAPI::DrawBorder(p, r, Radius(), BorderColor(), Border(), BorderWidth());
    if (d->ItemHeight < 1)
        return;
    const QRect& area = ScrollArea();
    const QRect& P = d->PaddingTBLR;
    p->save();
    p->setClipRect(area);
    p->setPen(ForeColor());
    const int left = area.left() + P.width() - d->HOffset;
    const int right = area.right() - P.height();
    int top = area.top() + P.x() - d->FirstItemHidden;
    const int count = d->Items.size();
    for (int i = d->FirstVisibleItem; i < count && top <= area.bottom(); ++i) {
        const QRect item(QPoint(left, top), QPoint(right, top + d->ItemHeight - 1));
        if (i == d->SelectedIndex) {
            if (d->ItemBackColorSelected.isValid())
                p->fillRect(item, d->ItemBackColorSelected);
            p->setPen(d->ItemForeColorSelected);
            p->drawText(item, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, d->Items.at(i));
            p->setPen(ForeColor());
        } else {
            p->drawText(item, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, d->Items.at(i));
        }
        top += d->ItemHeight;
    }
    p->restore();
}

bool ZItemList::event(QEvent* e)
{
    ZItemListPrivate* d = d_zitemlist;
    if (e->type() == QEvent::MouseButtonPress && d->CanSelectItem) {
        const int index = ItemAt(static_cast<QMouseEvent*>(e)->pos());
        d->SelectedIndex = index == d->SelectedIndex ? -1 : index;
        update();
    }
    return ZScrollContainer::event(e);
}

void ZItemList::ScrollContainerAreaChangedEvent()
{
}

void ZItemList::HScrollBarValueChangedEvent(int value)
{
    d_zitemlist->HOffset = value;
    update();
}

void ZItemList::VScrollBarValueChangedEvent(int value)
{
    ZItemListPrivate* d = d_zitemlist;
    if (d->ItemHeight < 1) {
        d->FirstVisibleItem = 0;
        d->FirstItemHidden = 0;
    } else {
        // Line i starts at Top + i * ItemHeight in the content and the padding scrolls with the lines: the
        // first line drawn is the one under the top edge, and the hidden part is measured from Top.
        const int top = d->PaddingTBLR.x();
        d->FirstVisibleItem = value > top ? (value - top) / d->ItemHeight : 0;
        d->FirstItemHidden = value - d->FirstVisibleItem * d->ItemHeight;
    }
    update();
}
