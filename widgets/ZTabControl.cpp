#include "ZTabControl.h"

#include "ZButton.h"
#include "ZDrawAPI.h"
#include "ZEvent.h"
#include "ZPanel.h"
#include "ZTabPage.h"

#include <QChildEvent>
#include <QList>
#include <QPointer>

struct ZTabControlPrivate
{
    int SelectedIndex = -1;
    PositionType::Types TabBarPosition = PositionType::Top;
    QSize TabBarSize{-1, -1};
    ZPanel* PaddingPanel = nullptr;
    QList<ZTabPage*> Pages;
    // The pages' tab buttons, in page order (null for a page without one). Kept here so that a page that
    // leaves the control by deletion or re-parenting still takes its button out of the strip.
    QList<QPointer<ZButton>> Buttons;
    ZTabPage* SelectedPage = nullptr;
    // An index asked for before its page was added; -1 when none. It selects its page once, when the page
    // arrives; later insertions select the inserted page again.
    int PendingIndex = -1;
    // The pending index was set on a control without pages: a form (uic, a form loader) is being built,
    // which sets the index first and then adds all its pages in one go. Until the control next passes
    // through the event loop, the pending page keeps the selection while the form's later pages arrive.
    bool FormBuilding = false;
};

ZTabControl::ZTabControl(QWidget* parent)
    : ZBase(parent)
    , d_ztabcontrol(new ZTabControlPrivate)
{
    d_ztabcontrol->PaddingPanel = new ZPanel(this);
    d_ztabcontrol->PaddingPanel->SetCanReLayoutParent(false);
    d_ztabcontrol->PaddingPanel->SetBackColor(Qt::transparent);
    if (DesignerMode)
        SetPassiveObjectName(d_ztabcontrol->PaddingPanel);
}

ZTabControl::~ZTabControl()
{
    ZTabControlPrivate* d = d_ztabcontrol;
    // Taken out first: each deletion tells the control that a child left.
    const QList<ZTabPage*> pages = d->Pages;
    d->Pages.clear();
    d->Buttons.clear();
    d->SelectedPage = nullptr;
    qDeleteAll(pages);
    ZPanel* padding = d->PaddingPanel;
    d->PaddingPanel = nullptr;
    delete padding;
    delete d;
}

int ZTabControl::Count() const { return d_ztabcontrol->Pages.size(); }

ZTabPage* ZTabControl::Page(int index) const
{
    return (index >= 0 && index < d_ztabcontrol->Pages.size()) ? d_ztabcontrol->Pages.at(index) : nullptr;
}

int ZTabControl::SelectedIndex() const { return d_ztabcontrol->SelectedIndex; }
PositionType::Types ZTabControl::TabBarPosition() const { return d_ztabcontrol->TabBarPosition; }
const QSize& ZTabControl::TabBarSize() const { return d_ztabcontrol->TabBarSize; }

QColor ZTabControl::TabPaddingColor() const
{
    return d_ztabcontrol->PaddingPanel ? d_ztabcontrol->PaddingPanel->BackColor() : QColor();
}

void ZTabControl::InsertPage(int index, ZTabPage* page)
{
    ZTabControlPrivate* d = d_ztabcontrol;
    if (!page || d->Pages.contains(page))
        return;
    index = qBound(0, index, d->Pages.size());
    // Shown only when selected.
    page->setParent(this);
    page->QWidget::hide();
    page->SetSelected(false);
    if (ZButton* button = page->Button()) {
        button->setParent(this);
        button->show();
        connect(button, &ZButton::Clicked, this, &ZTabControl::TabClicked, Qt::UniqueConnection);
    }
    d->Pages.insert(index, page);
    d->Buttons.insert(index, page->Button());
    // The new page is selected, also when it takes the selected index; a pending index wins once its page
    // exists and is then spent, unless a form is still adding its pages.
    int target = index;
    if (d->PendingIndex >= 0 && d->PendingIndex < d->Pages.size()) {
        target = d->PendingIndex;
        if (!d->FormBuilding)
            d->PendingIndex = -1;
    }
    if (d->Pages.at(target) != d->SelectedPage) {
        d->SelectedIndex = -1;
        Select(target);
    } else if (d->SelectedIndex != target) {
        // The selected page moved up behind a page inserted before it.
        d->SelectedIndex = target;
        emit SelectedPageChanged(target);
    }
    ReLayout();
}

void ZTabControl::AddPage(ZTabPage* page)
{
    InsertPage(Count(), page);
}

void ZTabControl::AddPage(QWidget* page)
{
    if (page && !qobject_cast<ZTabPage*>(page)) {
        qWarning("ZTabControl %s: a %s is not a tab page and is not added", qPrintable(objectName()),
                 page->metaObject()->className());
        return;
    }
    AddPage(qobject_cast<ZTabPage*>(page));
}

void ZTabControl::RemovePage(int index)
{
    ZTabControlPrivate* d = d_ztabcontrol;
    if (index >= 0 && index < d->Pages.size()) {
        ZTabPage* page = d->Pages.at(index);
        page->QWidget::hide();
        page->SetSelected(false);
        Forget(index);
    }
    ReLayout();
}

// Takes the page at index out of the list and mends the selection: a removed selected page gives way to
// the one before it; a page removed before the selected one moves the index, not the selection.
void ZTabControl::Forget(int index)
{
    ZTabControlPrivate* d = d_ztabcontrol;
    ZTabPage* page = d->Pages.takeAt(index);
    d->PendingIndex = -1;
    d->FormBuilding = false;
    // The button goes back to its page, which owns it.
    if (ZButton* button = d->Buttons.takeAt(index)) {
        button->hide();
        disconnect(button, &ZButton::Clicked, this, &ZTabControl::TabClicked);
        button->setParent(nullptr);
    }
    if (page == d->SelectedPage) {
        d->SelectedPage = nullptr;
        d->SelectedIndex = -1;
        Select(index - 1);
    } else if (d->SelectedPage && index < d->SelectedIndex) {
        d->SelectedIndex = d->Pages.indexOf(d->SelectedPage);
        emit SelectedPageChanged(d->SelectedIndex);
    }
}

void ZTabControl::SetSelectedIndex(int index)
{
    ZTabControlPrivate* d = d_ztabcontrol;
    d->PendingIndex = index >= d->Pages.size() ? index : -1;
    d->FormBuilding = d->PendingIndex >= 0 && d->Pages.isEmpty();
    if (d->FormBuilding) {
        // The form's build runs without returning to the event loop; once it has, the pending page (if it
        // has arrived) is spent and pages added later are selected as usual.
        QMetaObject::invokeMethod(
            this,
            [d] {
                if (!d->FormBuilding)
                    return;
                d->FormBuilding = false;
                if (d->PendingIndex < d->Pages.size())
                    d->PendingIndex = -1;
            },
            Qt::QueuedConnection);
    }
    Select(index);
}

void ZTabControl::Select(int index)
{
    ZTabControlPrivate* d = d_ztabcontrol;
    // Every negative index is stored as -1 (no page), so readers never see another negative value.
    const int i = qMax(-1, qMin(index, d->Pages.size() - 1));
    if (i == d->SelectedIndex)
        return;
    if (d->SelectedPage) {
        d->SelectedPage->QWidget::hide();
        d->SelectedPage->SetSelected(false);
        d->SelectedPage = nullptr;
    }
    d->SelectedIndex = i;
    if (i >= 0) {
        d->SelectedPage = d->Pages.at(i);
        d->SelectedPage->QWidget::show();
        d->SelectedPage->SetSelected(true);
    }
    emit SelectedPageChanged(i);
}

void ZTabControl::SetTabBarPosition(PositionType::Types position)
{
    if (d_ztabcontrol->TabBarPosition == position)
        return;
    d_ztabcontrol->TabBarPosition = position;
    ReLayout();
}

void ZTabControl::SetTabBarSize(const QSize& size)
{
    if (d_ztabcontrol->TabBarSize == size)
        return;
    d_ztabcontrol->TabBarSize = size;
    ReLayout();
}

void ZTabControl::SetTabPaddingColor(const QColor& color)
{
    if (d_ztabcontrol->PaddingPanel)
        d_ztabcontrol->PaddingPanel->SetBackColor(color);
}

void ZTabControl::TabClicked()
{
    if (ZBase* button = qobject_cast<ZBase*>(sender()))
        SetSelectedIndex(button->TabIndex);
}

void ZTabControl::ReLayout()
{
    ZTabControlPrivate* d = d_ztabcontrol;
    if (!d->PaddingPanel)
        return; // being destroyed
    const int W = width();
    const int H = height();
    // Before a tab size is set the strip takes no room.
    const int tw = qMax(0, d->TabBarSize.width());
    const int th = qMax(0, d->TabBarSize.height());
    const int bw = BorderWidth();
    QRect page;
    QPoint strip;
    QPoint step;
    switch (d->TabBarPosition) {
    case PositionType::Top:
        page = QRect(bw, th + bw, W - 2 * bw, H - th - 2 * bw);
        strip = QPoint(bw, bw);
        step = QPoint(tw, 0);
        break;
    case PositionType::Bottom:
        page = QRect(bw, bw, W - 2 * bw, H - th - 2 * bw);
        strip = QPoint(bw, H - th + bw);
        step = QPoint(tw, 0);
        break;
    case PositionType::Left:
        page = QRect(tw + bw, bw, W - tw - 2 * bw, H - 2 * bw);
        strip = QPoint(bw, bw);
        step = QPoint(0, th);
        break;
    case PositionType::Right:
        page = QRect(bw, bw, W - tw - 2 * bw, H - 2 * bw);
        strip = QPoint(W - tw + bw, bw);
        step = QPoint(0, th);
        break;
    default:
        return;
    }
    for (int i = 0; i < d->Pages.size(); ++i) {
        d->Pages.at(i)->LayoutSetGeometry(page);
        if (ZButton* button = d->Buttons.at(i)) {
            button->LayoutSetGeometry(QRect(strip, QSize(tw, th)));
            button->TabIndex = i;
            strip += step;
        }
    }
    const bool horizontal = step.y() == 0;
    const int pw = horizontal ? W - strip.x() : tw;
    const int ph = horizontal ? th : H - strip.y();
    if (pw > 0 && ph > 0) {
        d->PaddingPanel->LayoutSetGeometry(QRect(strip, QSize(pw, ph)));
        d->PaddingPanel->show();
    } else {
        d->PaddingPanel->hide();
    }
}

void ZTabControl::Paint(QPainter* painter)
{
    const QRect r(0, 0, width(), height());
    ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), BorderWidth());
    ZDrawAPI::DrawBorder(painter, r, Radius(), BorderColor(), Border(), BorderWidth());
}

bool ZTabControl::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case QEvent::Resize:
    case ZEvent::BorderChanged:
        ReLayout();
        break;
    case QEvent::ChildRemoved: {
        // A page deleted or re-parented while in the list leaves it, as if removed.
        ZTabControlPrivate* d = d_ztabcontrol;
        QObject* child = static_cast<QChildEvent*>(e)->child();
        for (int i = 0; i < d->Pages.size(); ++i) {
            if (d->Pages.at(i) == child) {
                Forget(i);
                ReLayout();
                break;
            }
        }
        break;
    }
    default:
        break;
    }
    return ZBase::event(e);
}
