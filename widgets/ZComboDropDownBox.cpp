#include "ZComboDropDownBox.h"

#include "PopupFrame.h"
#include "SudokuPatch.h"
#include "ZComboBox.h"
#include "ZScrollBar.h"

#include <QEventLoop>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

// ---- rows ----

ZComboBoxScrollArea::ZComboBoxScrollArea(QWidget* parent)
    : ZBase(parent)
{
    setAttribute(Qt::WA_Hover, true);
    SetCanReLayoutParent(false);
}

void ZComboBoxScrollArea::Paint(QPainter* painter)
{
    painter->setPen(ForeColor());
    for (int i = 0; i < Items.size(); ++i) {
        const int y = i * ItemHeight;
        const QRect text(QPoint(5, y), QPoint(width() - 6, y + ItemHeight - 1));
        if (i == HoverIndex) {
            painter->fillRect(QRect(0, y, width(), ItemHeight), ItemBackColorHover);
            painter->setPen(ItemForeColorHover);
            painter->drawText(text, static_cast<int>(Align), Items.at(i));
            painter->setPen(ForeColor());
        } else {
            painter->drawText(text, static_cast<int>(Align), Items.at(i));
        }
    }
}

bool ZComboBoxScrollArea::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::HoverMove: {
        const QPointF pos = static_cast<QHoverEvent*>(e)->posF();
        const int x = qRound(pos.x());
        const int y = qRound(pos.y());
        int index = -1;
        if (x >= 1 && x <= width() - 1 && y >= 1 && ItemHeight > 0)
            index = y / ItemHeight;
        // Past the last item the hover stays where it was.
        if (index != HoverIndex && index < Items.size()) {
            HoverIndex = index;
            update();
        }
        break;
    }
    case QEvent::HoverLeave:
        HoverIndex = -1;
        update();
        break;
    case QEvent::MouseButtonPress:
        ChosenIndex = HoverIndex;
        if (Loop)
            Loop->exit();
        e->accept();
        return true;
    default:
        break;
    }
    return ZBase::event(e);
}

// ---- popup ----

struct ZComboDropDownBoxPrivate
{
    ZComboBox* Owner = nullptr;
    SudokuPatch Shadow{QPixmap(QStringLiteral(":/Icons/Shadow.png")), 6, 6, 6, 6};
    QWidget* Viewport = nullptr;
    ZComboBoxScrollArea* Rows = nullptr;
    // Where the owner sat on the screen at the last opening: a press there closes the list without
    // opening it again.
    QRect OwnerRect;
    bool Upwards = false;
};

ZComboDropDownBox::ZComboDropDownBox(ZComboBox* owner)
    : ZScrollContainer(true, true, nullptr)
    , d_zcombodropdownbox(new ZComboDropDownBoxPrivate)
{
    ZComboDropDownBoxPrivate* d = d_zcombodropdownbox;
    d->Owner = owner;
    d->Viewport = new QWidget(this);
    d->Rows = new ZComboBoxScrollArea(d->Viewport);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_TranslucentBackground, true);
    hide();
    ZPadding padding;
    padding.Bottom = ShadowSize;
    padding.Right = ShadowSize;
    SetPadding(padding);
    SetBorder(PositionFlag::All);
    SetSliderRadius(5);
    SetSliderColor(QColor(0, 0, 0, 20));
}

ZComboDropDownBox::~ZComboDropDownBox()
{
    delete d_zcombodropdownbox;
}

ZComboBoxScrollArea* ZComboDropDownBox::Rows() const
{
    return d_zcombodropdownbox->Rows;
}

bool ZComboDropDownBox::IsRunning() const
{
    return d_zcombodropdownbox->Rows->Loop != nullptr;
}

bool ZComboDropDownBox::OpenedUpwards() const
{
    return d_zcombodropdownbox->Upwards;
}

void ZComboDropDownBox::UpdateListSize()
{
    ZComboDropDownBoxPrivate* d = d_zcombodropdownbox;
    ZComboBoxScrollArea* rows = d->Rows;
    // Measured in the combo's font, the one the rows are drawn in; the text's margins (5 on the left, 6 on
    // the right) are counted, so that scrolling to the end shows the whole of the longest text.
    const QFontMetrics metrics(d->Owner->font());
    int w = 0;
    for (const QString& item : qAsConst(rows->Items))
        w = std::max(w, metrics.horizontalAdvance(item));
    if (w > 0)
        w += 11;
    const int h = rows->Items.size() * rows->ItemHeight;
    rows->setMinimumSize(w, h);
    rows->resize(std::max(w, d->Viewport->width()), h);
    SetScrollSize(QSize(w, h));
    SetHScrollBarValue(0);
    SetVScrollBarValue(0);
}

int ZComboDropDownBox::exec(const QPoint& globalPos)
{
    ZComboDropDownBoxPrivate* d = d_zcombodropdownbox;
    ZComboBoxScrollArea* rows = d->Rows;
    if (rows->Loop)
        return -1;
    ZComboBox* owner = d->Owner;

    QEventLoop loop;
    rows->Loop = &loop;
    rows->ChosenIndex = -1;
    rows->HoverIndex = -1;

    SetBackColor(owner->BackColor());
    SetBorderColor(owner->BorderColor());
    SetBorderWidth(owner->BorderWidth());
    rows->setFont(owner->font());
    rows->SetForeColor(owner->ForeColor());
    UpdateListSize();

    const int bw = owner->BorderWidth();
    int listHeight = rows->height();
    if (rows->minimumWidth() > owner->width())
        listHeight += ScrollBarSize();
    const int H = std::min(listHeight, MaximumListHeight) + ShadowSize + 2 * bw;
    const int W = owner->width() + ShadowSize;

    // Below the combo; above it when it does not fit below but fits above; kept inside the screen's
    // right and left edges.
    const int ownerTop = globalPos.y() - owner->height() + bw;
    d->OwnerRect = QRect(globalPos.x(), ownerTop, owner->width(), owner->height());
    const PopupPlacement place = PlacePopup(globalPos, globalPos,
                                            QPoint(globalPos.x(), ownerTop + bw - (H - ShadowSize)), QSize(W, H),
                                            PopupFlipY | PopupFlipIfFits | PopupClampX);
    const int x = place.Position.x();
    const int y = place.Position.y();
    d->Upwards = place.FlippedY;

    setAttribute(Qt::WA_NoMouseReplay, false);
    setGeometry(x, y, W, H);
    d->Shadow.Resize(size());
    // Lay out now (not at the posted area event), so that the rows are in place when the list shows.
    ComputeContainerArea();
    ReLayout();

    QPointer<ZComboDropDownBox> self(this);
    show();
    loop.exec();
    if (!self)
        return -1; // the combo went away while its list was open
    hide();
    rows->Loop = nullptr;
    return rows->ChosenIndex;
}

void ZComboDropDownBox::Paint(QPainter* painter)
{
    PaintPopupFrame(painter, this, d_zcombodropdownbox->Shadow);
}

bool ZComboDropDownBox::event(QEvent* e)
{
    ZComboDropDownBoxPrivate* d = d_zcombodropdownbox;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        // Presses on the border and shadow, and anywhere outside (a popup receives those), close the
        // list with no choice. A press on the combo itself only closes it: Qt would otherwise replay the
        // press to the combo, which would open the list again at once.
        auto* me = static_cast<QMouseEvent*>(e);
        setAttribute(Qt::WA_NoMouseReplay, d->OwnerRect.contains(me->globalPos()));
        hide();
        e->accept();
        return true;
    }
    case QEvent::Hide:
        if (d->Rows->Loop)
            d->Rows->Loop->exit();
        break;
    case QEvent::Resize:
        d->Shadow.Resize(size());
        break;
    default:
        break;
    }
    return ZScrollContainer::event(e);
}

void ZComboDropDownBox::ScrollContainerAreaChangedEvent()
{
    ZComboDropDownBoxPrivate* d = d_zcombodropdownbox;
    const QRect area = ScrollArea();
    d->Viewport->setGeometry(area);
    d->Rows->resize(std::max(area.width(), d->Rows->minimumWidth()), d->Rows->height());
}

void ZComboDropDownBox::HScrollBarValueChangedEvent(int value)
{
    d_zcombodropdownbox->Rows->move(-value, d_zcombodropdownbox->Rows->y());
}

void ZComboDropDownBox::VScrollBarValueChangedEvent(int value)
{
    d_zcombodropdownbox->Rows->move(d_zcombodropdownbox->Rows->x(), -value);
}
