#include "ZForm.h"

#include "ZButton.h"
#include "ZDrawAPI.h"
#include "ZEvent.h"
#include "ZFormShadow.h"
#include "ZPanel.h"

#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPointer>

static constexpr int AlignmentBits = 0x1FF;
static constexpr int DefaultTitleHeight = 30;

struct ZFormPrivate
{
    bool CanResize = true;
    bool ShowShadow = true;
    bool ShowMinimizeButton = true;
    bool ShowMaximizeButton = true;
    QString Title;
    QFont TitleFont;
    int TitlePadding = 0;
    int Alignment = Qt::AlignCenter;
    QColor TitleBackColor;
    QSize SysButtonSize{45, 30};
    QColor SysButtonColor;
    QColor SysButtonColorHover;
    QPointer<QWidget> Parent;
    ZPanel* TitlePanel = nullptr;
    ZButton* Minimize = nullptr;
    ZButton* Maximize = nullptr;
    ZButton* Restore = nullptr;
    ZButton* Close = nullptr;
    QSize RememberedAreaSize{-1, -1};
    // The running exec: its loop, where its result goes and whether it was told to end (also before the
    // loop started: QEventLoop::exec forgets an exit that came earlier).
    QEventLoop* Loop = nullptr;
    int* Result = nullptr;
    bool Ended = false;
};

ZForm::ZForm(QWidget* parent)
    : ZContainer(DesignerMode ? parent : nullptr)
    , d_zform(new ZFormPrivate)
{
    ZFormPrivate* d = d_zform;
    d->TitlePanel = new ZPanel(this);
    d->TitlePanel->QWidget::resize(0, DefaultTitleHeight);
    d->TitlePanel->SetDock(DockType::Top);
    d->TitlePanel->SetBackColor(Qt::transparent);

    auto makeButton = [this, d](const char* image, void (ZForm::*hook)()) {
        auto* button = new ZButton(d->TitlePanel);
        button->SetCanReLayoutParent(false);
        button->SetBackColor(Qt::transparent);
        button->SetBackColorHover(Qt::transparent);
        button->SetBackColorPress(Qt::transparent);
        button->SetImage(QPixmap(QString::fromLatin1(image)));
        button->SetReplaceImageColor(true);
        // Through the member pointer the call is virtual, so a subclass's override runs.
        connect(button, &ZButton::Clicked, this, [this, hook]() { (this->*hook)(); });
        return button;
    };
    d->Minimize = makeButton("://Icons/ZForm/MinimizeButton.png", &ZForm::MinimizeButtonClickedEvent);
    d->Maximize = makeButton("://Icons/ZForm/MaximizeButton.png", &ZForm::MaximizeButtonClickedEvent);
    d->Restore = makeButton("://Icons/ZForm/RestoreButton.png", &ZForm::RestoreButtonClickedEvent);
    d->Close = makeButton("://Icons/ZForm/CloseButton.png", &ZForm::CloseButtonClickedEvent);
    d->Restore->QWidget::hide();

    if (DesignerMode)
        return;

    d->Parent = parent;
    ZForm* parentForm = qobject_cast<ZForm*>(parent);
    QWidget* hostParent = parent;
    if (parentForm && parentForm->Shadow)
        hostParent = parentForm->Shadow;
    // A form of its own is an ordinary window (with a task bar entry); one with a parent is its dialog.
    Shadow = new ZFormShadow(hostParent, hostParent ? Qt::Dialog : Qt::Window);
    Shadow->Form = this;
    Shadow->TitlePanel = d->TitlePanel;
    Shadow->OnDeleted = &ZForm::ShadowDeleted;
    Shadow->OnTitlePress = &ZForm::TitleMousePress;
    QWidget::setParent(Shadow);
    Shadow->PlaceForm();
    QWidget::show();
}

ZForm::~ZForm()
{
    ZFormPrivate* d = d_zform;
    if (d->Loop) {
        d->Ended = true;
        d->Loop->exit(0);
    }
    ZPanel* panel = d->TitlePanel;
    d->TitlePanel = nullptr;
    delete panel;
    if (ZFormShadow* shadow = Shadow) {
        Shadow = nullptr;
        shadow->Form = nullptr;
        QWidget::setParent(nullptr);
        delete shadow;
    }
    delete d;
}

void ZForm::ShadowDeleted(ZForm* form)
{
    if (form)
        form->Shadow = nullptr;
}

void ZForm::TitleMousePress(ZForm* form)
{
    if (form)
        form->TitleMousePressEvent();
}

bool ZForm::CanResize() const { return d_zform->CanResize; }
bool ZForm::ShowShadow() const { return d_zform->ShowShadow; }
const QString& ZForm::Title() const { return d_zform->Title; }
const QFont& ZForm::TitleFont() const { return d_zform->TitleFont; }
int ZForm::TitlePadding() const { return d_zform->TitlePadding; }
Qt::Alignment ZForm::Alignment() const { return Qt::Alignment(d_zform->Alignment); }
int ZForm::TitleHeight() const { return d_zform->TitlePanel ? d_zform->TitlePanel->height() : 0; }
const QColor& ZForm::TitleBackColor() const { return d_zform->TitleBackColor; }
const QSize& ZForm::SysButtonSize() const { return d_zform->SysButtonSize; }
const QColor& ZForm::SysButtonColor() const { return d_zform->SysButtonColor; }
const QColor& ZForm::SysButtonColorHover() const { return d_zform->SysButtonColorHover; }
bool ZForm::ShowMinimizeButton() const { return d_zform->ShowMinimizeButton; }
bool ZForm::ShowMaximizeButton() const { return d_zform->ShowMaximizeButton; }

void ZForm::SetCanResize(bool canResize)
{
    d_zform->CanResize = canResize;
    if (Shadow)
        Shadow->SetCanResize(canResize);
}

void ZForm::SetShowShadow(bool showShadow)
{
    d_zform->ShowShadow = showShadow;
    if (Shadow)
        Shadow->SetShowShadow(showShadow);
}

void ZForm::SetTitle(const QString& title)
{
    if (d_zform->Title == title)
        return;
    d_zform->Title = title;
    update();
}

void ZForm::SetTitleFont(const QFont& font)
{
    if (d_zform->TitleFont == font)
        return;
    d_zform->TitleFont = font;
    update();
}

void ZForm::SetTitlePadding(int padding)
{
    if (d_zform->TitlePadding == padding)
        return;
    d_zform->TitlePadding = padding;
    update();
}

void ZForm::SetAlignment(QFlags<Qt::AlignmentFlag> alignment)
{
    const int bits = int(alignment) & AlignmentBits;
    if (d_zform->Alignment == bits)
        return;
    d_zform->Alignment = bits;
    update();
}

void ZForm::SetTitleHeight(int height)
{
    ZPanel* panel = d_zform->TitlePanel;
    if (!panel || panel->height() == height)
        return;
    panel->QWidget::resize(panel->width(), qMax(0, height));
    ReLayout();
    update();
}

void ZForm::SetTitleBackColor(const QColor& color)
{
    if (d_zform->TitleBackColor == color)
        return;
    d_zform->TitleBackColor = color;
    update();
}

void ZForm::SetSysButtonSize(const QSize& size)
{
    const QSize s(size.width(), qMin(TitleHeight(), size.height()));
    if (s == d_zform->SysButtonSize)
        return;
    d_zform->SysButtonSize = s;
    ReLayout();
}

void ZForm::SetSysButtonColor(const QColor& color)
{
    ZFormPrivate* d = d_zform;
    if (d->SysButtonColor == color)
        return;
    d->SysButtonColor = color;
    for (ZButton* b : {d->Minimize, d->Maximize, d->Restore, d->Close})
        b->SetImageColor(color);
}

void ZForm::SetSysButtonColorHover(const QColor& color)
{
    ZFormPrivate* d = d_zform;
    if (d->SysButtonColorHover == color)
        return;
    d->SysButtonColorHover = color;
    for (ZButton* b : {d->Minimize, d->Maximize, d->Restore, d->Close})
        b->SetImageColorHover(color);
}

void ZForm::SetShowMinimizeButton(bool show)
{
    if (d_zform->ShowMinimizeButton == show)
        return;
    d_zform->ShowMinimizeButton = show;
    ReLayout();
}

void ZForm::SetShowMaximizeButton(bool show)
{
    if (d_zform->ShowMaximizeButton == show)
        return;
    d_zform->ShowMaximizeButton = show;
    ReLayout();
}

void ZForm::move(const QPoint& p)
{
    move(p.x(), p.y());
}

void ZForm::move(int x, int y)
{
    if (!Shadow) {
        QWidget::move(x, y);
        return;
    }
    Shadow->MoveForm(x, y);
}

void ZForm::resize(const QSize& s)
{
    resize(s.width(), s.height());
}

void ZForm::resize(int w, int h)
{
    if (!Shadow) {
        QWidget::resize(w, h);
        return;
    }
    Shadow->ResizeForm(w, h);
    // A hidden host gets its resize event only when shown: the form takes its place now.
    Shadow->PlaceForm();
}

void ZForm::setGeometry(const QRect& r)
{
    setGeometry(r.x(), r.y(), r.width(), r.height());
}

void ZForm::setGeometry(int x, int y, int w, int h)
{
    if (!Shadow) {
        QWidget::setGeometry(x, y, w, h);
        return;
    }
    Shadow->SetFormGeometry(x, y, w, h);
    Shadow->PlaceForm();
}

void ZForm::setMinimumSize(const QSize& s)
{
    setMinimumSize(s.width(), s.height());
}

void ZForm::setMinimumSize(int w, int h)
{
    if (Shadow)
        Shadow->SetFormMinimumSize(w, h);
    QWidget::setMinimumSize(w, h);
}

void ZForm::show(bool centre)
{
    if (!Shadow) {
        QWidget::show();
        return;
    }
    if (centre && d_zform->Parent) {
        // Over the nearest form up the parent chain (a dialog's parent may be a page inside a form), else
        // over the parent's window.
        QWidget* reference = nullptr;
        for (QWidget* w = d_zform->Parent; w && !reference; w = w->parentWidget()) {
            if (qobject_cast<ZForm*>(w))
                reference = w;
        }
        if (!reference)
            reference = d_zform->Parent->window();
        const QPoint p = reference->mapToGlobal(
            QPoint((reference->width() - width()) / 2, (reference->height() - height()) / 2));
        Shadow->MoveForm(p.x(), p.y());
    }
    Shadow->show();
}

void ZForm::hide()
{
    if (Shadow)
        Shadow->hide();
    else
        QWidget::hide();
}

void ZForm::showNormal()
{
    QWidget* host = HostWindow();
    if (host->windowState() & Qt::WindowMaximized)
        host->showMaximized();
    else
        host->showNormal();
}

void ZForm::showMinimized()
{
    HostWindow()->showMinimized();
}

void ZForm::showMaximized()
{
    HostWindow()->showMaximized();
}

bool ZForm::close()
{
    return HostWindow()->close();
}

int ZForm::exec(bool centre)
{
    ZFormPrivate* d = d_zform;
    // One exec per form: a nested one would take over the loop pointer and leave the outer loop running
    // with nobody able to end it.
    if (d->Loop)
        return 0;
    QEventLoop loop;
    int result = 0;
    d->Loop = &loop;
    d->Result = &result;
    d->Ended = false;
    QPointer<QWidget> host = HostWindow();
    host->setWindowModality(Qt::WindowModal);
    QPointer<ZForm> alive(this);
    show(centre);
    if (alive && !d->Ended)
        loop.exec(QEventLoop::DialogExec);
    if (!alive)
        return result;
    d->Loop = nullptr;
    d->Result = nullptr;
    hide();
    if (host)
        host->setWindowModality(Qt::NonModal);
    return result;
}

void ZForm::exit(int code)
{
    ZFormPrivate* d = d_zform;
    if (!d->Loop)
        return;
    *d->Result = code;
    d->Ended = true;
    d->Loop->exit(code);
}

void ZForm::SetIcon(const QImage& image)
{
    HostWindow()->setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

void ZForm::SetIcon(const QIcon& icon)
{
    const QSize size = icon.actualSize(QSize(32, 32), QIcon::Normal, QIcon::Off);
    HostWindow()->setWindowIcon(QIcon(icon.pixmap(size, QIcon::Normal, QIcon::Off)));
}

QWidget* ZForm::HostWindow() const
{
    return Shadow ? static_cast<QWidget*>(Shadow) : const_cast<ZForm*>(this);
}

void ZForm::SetStayOnTop(bool stayOnTop)
{
    QWidget* host = HostWindow();
    if (bool(host->windowFlags() & Qt::WindowStaysOnTopHint) == stayOnTop)
        return;
    const bool visible = host->isVisible();
    host->setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
    if (visible)
        host->show();
}

bool ZForm::IsMaximisedState() const
{
    return Shadow && Shadow->IsMaximised();
}

void ZForm::ReLayout()
{
    ZFormPrivate* d = d_zform;
    if (!d->TitlePanel)
        return; // being destroyed
    DockAnchorLayout(d->RememberedAreaSize, true);

    const int bw = d->SysButtonSize.width();
    const int bh = d->SysButtonSize.height();
    const int aw = ContainerArea().width();
    d->Close->LayoutSetGeometry(QRect(aw - bw, 0, bw, bh));
    int x = aw - 2 * bw;
    const bool maximised = IsMaximisedState();
    d->Maximize->setVisible(d->ShowMaximizeButton && !maximised);
    d->Restore->setVisible(d->ShowMaximizeButton && maximised);
    if (d->ShowMaximizeButton) {
        d->Maximize->LayoutSetGeometry(QRect(x, 0, bw, bh));
        d->Restore->LayoutSetGeometry(QRect(x, 0, bw, bh));
        x -= bw;
    }
    d->Minimize->setVisible(d->ShowMinimizeButton);
    if (d->ShowMinimizeButton)
        d->Minimize->LayoutSetGeometry(QRect(x, 0, bw, bh));
}

void ZForm::Paint(QPainter* painter)
{
    ZFormPrivate* d = d_zform;
    if (!d->TitlePanel)
        return;
    const QRect a = ContainerArea();
    const int h = d->TitlePanel->height();
    const int bw = BorderWidth();
    ZDrawAPI::DrawBackColor(painter, QRect(a.left(), a.top(), a.width(), h), 0, d->TitleBackColor, bw);
    ZDrawAPI::DrawBackColor(painter, QRect(QPoint(a.left(), a.top() + h), a.bottomRight()), 0, BackColor(), bw);
    ZDrawAPI::DrawBorder(painter, QRect(0, 0, width(), height()), 0, BorderColor(), Border(), bw);
    if (d->Title.isEmpty())
        return;
    // The text runs under the system buttons.
    const QRect t = d->TitlePanel->geometry();
    painter->setPen(ForeColor());
    painter->setFont(d->TitleFont);
    painter->drawText(QRect(t.x() + d->TitlePadding, t.y(), t.width() - d->TitlePadding, t.height()),
                      d->Alignment, d->Title);
}

bool ZForm::event(QEvent* e)
{
    ZFormPrivate* d = d_zform;
    switch (static_cast<int>(e->type())) {
    case QEvent::Hide:
        // A hide that the program makes ends exec; the one that minimising sends does not.
        if (d->Loop && !e->spontaneous()) {
            *d->Result = 0;
            d->Ended = true;
            d->Loop->exit(0);
        }
        break;
    case QEvent::Show:
        // The window may have been maximised or restored while hidden: lay out once shown.
        PostChildDockChangedEvent();
        break;
    case QEvent::ChildRemoved:
    case ZEvent::ChildDockChanged:
    case ZEvent::ContainerAreaChanged:
        ReLayout();
        break;
    default:
        break;
    }
    return ZContainer::event(e);
}

void ZForm::MinimizeButtonClickedEvent()
{
    showMinimized();
}

void ZForm::MaximizeButtonClickedEvent()
{
    showMaximized();
}

void ZForm::RestoreButtonClickedEvent()
{
    HostWindow()->showNormal();
}

void ZForm::CloseButtonClickedEvent()
{
    close();
}

void ZForm::TitleMousePressEvent()
{
}
