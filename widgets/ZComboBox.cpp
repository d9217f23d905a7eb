#include "ZComboBox.h"

#include "ZComboDropDownBox.h"
#include "ZDrawAPI.h"
#include "ZScrollBar.h"

#include <QEvent>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QPointer>

struct ZComboBoxPrivate
{
    int SelectedIndex = -1;
    QColor BorderColorHover;
    QColor DropDownButtonColor;
    QColor DropDownButtonColorDisable;
    bool ShowDropDownButton = true;
    bool Hovered = false;
    bool DroppedDown = false;
    // Screen position of the painter's origin when the combo was last painted into another widget (a grid
    // cell); (0, 0) until then.
    QPoint PaintedGlobalPos;
    // The widget it was last painted into (a grid), which shows its dropped-down look while the list is open.
    QPointer<QWidget> PaintedInto;
    QImage Arrow;
    QImage ArrowDisabled;
    ZComboDropDownBox* DropDownBox = nullptr;
};

ZComboBox::ZComboBox(QWidget* parent)
    : ZBase(parent)
    , d_zcombobox(new ZComboBoxPrivate)
{
    d_zcombobox->DropDownBox = new ZComboDropDownBox(this);
}

ZComboBox::~ZComboBox()
{
    ZComboDropDownBox* box = d_zcombobox->DropDownBox;
    if (box->IsRunning()) {
        // Destroyed from inside the open list's loop (a timer or a signal closed the window): the list's
        // exec() is still on the stack, so it goes once that loop has ended.
        box->Rows()->Loop->exit();
        box->deleteLater();
    } else {
        delete box;
    }
    delete d_zcombobox;
}

int ZComboBox::SelectedIndex() const { return d_zcombobox->SelectedIndex; }
const QColor& ZComboBox::BorderColorHover() const { return d_zcombobox->BorderColorHover; }
const QColor& ZComboBox::DropDownButtonColor() const { return d_zcombobox->DropDownButtonColor; }
const QColor& ZComboBox::DropDownButtonColorDisable() const { return d_zcombobox->DropDownButtonColorDisable; }
bool ZComboBox::ShowDropDownButton() const { return d_zcombobox->ShowDropDownButton; }
const QStringList& ZComboBox::Items() const { return d_zcombobox->DropDownBox->Rows()->Items; }
int ZComboBox::ItemHeight() const { return d_zcombobox->DropDownBox->Rows()->ItemHeight; }
Qt::Alignment ZComboBox::Align() const { return d_zcombobox->DropDownBox->Rows()->Align; }
const QColor& ZComboBox::ItemBackColorHover() const { return d_zcombobox->DropDownBox->Rows()->ItemBackColorHover; }
const QColor& ZComboBox::ItemForeColorHover() const { return d_zcombobox->DropDownBox->Rows()->ItemForeColorHover; }

QString ZComboBox::SelectedText() const
{
    const QStringList& items = Items();
    const int i = d_zcombobox->SelectedIndex;
    return i >= 0 && i < items.size() ? items.at(i) : QString();
}

void ZComboBox::SetSelectedIndex(int index)
{
    const int count = Items().size();
    if (index >= count)
        index = count - 1;
    if (index < -1)
        index = -1;
    if (index == d_zcombobox->SelectedIndex)
        return;
    d_zcombobox->SelectedIndex = index;
    update();
    emit SelectedIndexChanged(index);
}

void ZComboBox::SetItems(const QStringList& items)
{
    d_zcombobox->DropDownBox->Rows()->Items = items;
    d_zcombobox->DropDownBox->UpdateListSize();
    if (d_zcombobox->SelectedIndex >= items.size())
        SetSelectedIndex(-1);
    update();
}

void ZComboBox::AddItem(const QString& text)
{
    d_zcombobox->DropDownBox->Rows()->Items.append(text);
    d_zcombobox->DropDownBox->UpdateListSize();
    SetSelectedIndex(-1);
}

void ZComboBox::InsetItem(int index, const QString& text)
{
    QStringList& items = d_zcombobox->DropDownBox->Rows()->Items;
    if (index >= 0 && index <= items.size())
        items.insert(index, text);
    d_zcombobox->DropDownBox->UpdateListSize();
    SetSelectedIndex(-1);
}

void ZComboBox::RemoveItem(int index)
{
    QStringList& items = d_zcombobox->DropDownBox->Rows()->Items;
    if (index >= 0 && index < items.size())
        items.removeAt(index);
    d_zcombobox->DropDownBox->UpdateListSize();
    SetSelectedIndex(-1);
}

void ZComboBox::SetItem(int index, const QString& text)
{
    QStringList& items = d_zcombobox->DropDownBox->Rows()->Items;
    if (index >= 0 && index < items.size())
        items[index] = text;
}

void ZComboBox::SetItemHeight(int height)
{
    d_zcombobox->DropDownBox->Rows()->ItemHeight = height;
    d_zcombobox->DropDownBox->UpdateListSize();
}

void ZComboBox::SetAlign(QFlags<Qt::AlignmentFlag> align)
{
    d_zcombobox->DropDownBox->Rows()->Align = align;
    update();
}

void ZComboBox::SetItemBackColorHover(const QColor& color)
{
    d_zcombobox->DropDownBox->Rows()->ItemBackColorHover = color;
    d_zcombobox->DropDownBox->SetSliderColorHover(color);
}

void ZComboBox::SetItemForeColorHover(const QColor& color)
{
    d_zcombobox->DropDownBox->Rows()->ItemForeColorHover = color;
}

void ZComboBox::SetBorderColorHover(const QColor& color)
{
    if (d_zcombobox->BorderColorHover == color)
        return;
    d_zcombobox->BorderColorHover = color;
    update();
}

void ZComboBox::SetShowDropDownButton(bool show)
{
    if (d_zcombobox->ShowDropDownButton == show)
        return;
    d_zcombobox->ShowDropDownButton = show;
    update();
}

static QImage ArrowImage(const QColor& color)
{
    QImage image(QStringLiteral("://Icons/ComboBox/DropDownIcon.png"));
    ZDrawAPI::ImageReplaceWhite(image, color);
    return image;
}

void ZComboBox::SetDropDownButtonColor(const QColor& color)
{
    if (d_zcombobox->DropDownButtonColor == color)
        return;
    d_zcombobox->DropDownButtonColor = color;
    d_zcombobox->Arrow = ArrowImage(color);
    if (isEnabled())
        update();
}

void ZComboBox::SetDropDownButtonColorDisable(const QColor& color)
{
    if (d_zcombobox->DropDownButtonColorDisable == color)
        return;
    d_zcombobox->DropDownButtonColorDisable = color;
    d_zcombobox->ArrowDisabled = ArrowImage(color);
    if (!isEnabled())
        update();
}

void ZComboBox::Paint(QPainter* painter)
{
    ZComboBoxPrivate* d = d_zcombobox;
    QPaintDevice* device = painter->device();
    if (device != this) {
        // Painted into a grid cell: remember where on the screen, for the list to open there.
        // (A picture or an image has no place on the screen: nothing is remembered then.)
        if (device && device->devType() == QInternal::Widget) {
            const QPoint origin = painter->worldTransform().map(QPoint(0, 0));
            d->PaintedGlobalPos = static_cast<QWidget*>(device)->mapToGlobal(origin);
            d->PaintedInto = static_cast<QWidget*>(device);
        }
    }

    const int w = width();
    const int h = height();
    const int bw = BorderWidth();
    if (d->DroppedDown && Radius() >= 1) {
        // Rounded only on the side that does not join the list.
        const QRect r = d->DropDownBox->OpenedUpwards() ? QRect(0, -h - 1, w, 2 * h + 1) : QRect(0, 0, w, 2 * h + 1);
        painter->save();
        painter->setClipRect(QRect(0, 0, w, h), Qt::IntersectClip);
        ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), bw);
        painter->translate(r.topLeft());
        ZDrawAPI::DrawBorder(painter, r, Radius(), BorderColor(), Border(), bw);
        painter->restore();
    } else {
        const QRect r(0, 0, w, h);
        const QColor& border = d->Hovered && d->BorderColorHover.isValid() ? d->BorderColorHover : BorderColor();
        ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), bw);
        ZDrawAPI::DrawBorder(painter, r, Radius(), border, Border(), bw);
    }

    const QStringList& items = Items();
    if (d->SelectedIndex >= 0 && d->SelectedIndex < items.size()) {
        painter->setPen(ForeColor());
        painter->drawText(QRect(QPoint(5, 0), QPoint(w - 7, h - 2)), static_cast<int>(Align()),
                          items.at(d->SelectedIndex));
    }

    if (d->ShowDropDownButton) {
        const QImage& arrow = isEnabled() ? d->Arrow : d->ArrowDisabled;
        if (!arrow.isNull())
            ZDrawAPI::DrawImage(painter, w - bw - 19, (h - 9) / 2, arrow);
    }
}

// The combo's look changes while its list runs its own loop: a combo shown in a grid (never shown itself)
// has the grid repaint it.
static void RepaintNow(ZComboBox* combo, QWidget* paintedInto)
{
    if (combo->isVisible())
        combo->repaint();
    else if (paintedInto)
        paintedInto->update();
}

void ZComboBox::DropDown()
{
    ZComboBoxPrivate* d = d_zcombobox;
    d->DroppedDown = true;
    RepaintNow(this, d->PaintedInto);

    const QPoint& painted = d->PaintedGlobalPos;
    const QPoint at = !painted.isNull() ? QPoint(painted.x(), painted.y() + height() - BorderWidth())
                                        : mapToGlobal(QPoint(0, height() - BorderWidth()));
    QPointer<ZComboBox> self(this);
    const int index = d->DropDownBox->exec(at);
    if (!self)
        return; // destroyed while the list was open
    if (index >= 0 && index != d->SelectedIndex) {
        d->SelectedIndex = index;
        update();
        emit SelectedIndexChanged(index);
        if (!self)
            return;
    }
    d->DroppedDown = false;
    RepaintNow(this, d->PaintedInto);
}

bool ZComboBox::event(QEvent* e)
{
    ZComboBoxPrivate* d = d_zcombobox;
    switch (e->type()) {
    case QEvent::Enter:
        if (isEnabled()) {
            d->Hovered = true;
            update();
        }
        break;
    case QEvent::Leave:
        if (isEnabled()) {
            d->Hovered = false;
            update();
        }
        break;
    case QEvent::MouseButtonPress:
        if (isEnabled() && !Items().isEmpty() && !d->DropDownBox->IsRunning()) {
            QPointer<ZComboBox> self(this);
            DropDown();
            if (!self)
                return true;
        }
        break;
    default:
        break;
    }
    return ZBase::event(e);
}
