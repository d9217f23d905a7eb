#include "ZFormShadow.h"

#include "SudokuPatch.h"
#include "ZDrawAPI.h"
#include "ZForm.h"
#include "ZFrameHandler.h"

#include <QEvent>
#include <QPainter>
#include <QWindow>

static SudokuPatch* LoadShadow(const QString& path)
{
    const int m = ZFrame::ShadowMargin;
    auto* patch = new SudokuPatch(QPixmap(path), m, m, m, m);
    patch->SkipCenter = true;
    return patch;
}

ZFormShadow::ZFormShadow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags | Qt::FramelessWindowHint)
    , m_ActiveShadow(LoadShadow(QStringLiteral("://Icons/ZForm/ShadowActive.png")))
    , m_InactiveShadow(LoadShadow(QStringLiteral("://Icons/ZForm/ShadowInactive.png")))
    , m_Frame(new ZFrameHandler(this))
    , m_Margin(ZFrame::TranslucentWindows() ? ZFrame::ShadowMargin : 0)
{
    if (m_Margin > 0)
        setAttribute(Qt::WA_TranslucentBackground);
    m_Frame->HitAt = [this](const QPoint& p) { return HitAt(p); };
    m_Frame->NonClientPressed = [this]() {
        if (OnTitlePress && Form)
            OnTitlePress(Form);
    };
    m_Frame->CaptionDoubleClicked = [this]() {
        if (m_CanResize)
            ToggleMaximised();
    };
}

ZFormShadow::~ZFormShadow()
{
    delete m_ActiveShadow;
    delete m_InactiveShadow;
    if (OnDeleted)
        OnDeleted(Form);
}

void ZFormShadow::SetCanResize(bool canResize)
{
    m_CanResize = canResize;
}

void ZFormShadow::SetShowShadow(bool showShadow)
{
    m_ShowShadow = showShadow;
    update();
}

ZFrame::Hit ZFormShadow::HitAt(const QPoint& point) const
{
    QPoint p = point;
    QWidget* found = ZDrawAPI::GetChildAt(const_cast<ZFormShadow*>(this), p, true, true);
    const bool overTitle = TitlePanel && found == TitlePanel;
    return ZFrame::HitTest(point, size(), m_CanResize, m_ShowShadow && m_Margin > 0, m_Maximised, overTitle);
}

void ZFormShadow::MoveForm(int x, int y)
{
    move(x - m_Margin, y - m_Margin);
}

void ZFormShadow::ResizeForm(int w, int h)
{
    resize(w + 2 * m_Margin, h + 2 * m_Margin);
}

void ZFormShadow::SetFormGeometry(int x, int y, int w, int h)
{
    setGeometry(x - m_Margin, y - m_Margin, w + 2 * m_Margin, h + 2 * m_Margin);
}

void ZFormShadow::SetFormMinimumSize(int w, int h)
{
    setMinimumSize(w + 2 * m_Margin, h + 2 * m_Margin);
}

void ZFormShadow::FillWithForm()
{
    if (Form)
        static_cast<QWidget*>(Form)->setGeometry(0, 0, width(), height());
}

void ZFormShadow::PlaceForm()
{
    if (!Form)
        return;
    if (m_Maximised)
        FillWithForm();
    else
        static_cast<QWidget*>(Form)->setGeometry(m_Margin, m_Margin, width() - 2 * m_Margin,
                                                      height() - 2 * m_Margin);
}

void ZFormShadow::ToggleMaximised()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

bool ZFormShadow::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::Show:
    case QEvent::WinIdChange:
    case QEvent::PlatformSurface:
        m_Frame->Attach();
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void ZFormShadow::paintEvent(QPaintEvent*)
{
    if (!m_ShowShadow || m_Maximised || m_Margin == 0)
        return;
    SudokuPatch* patch = m_Active ? m_ActiveShadow : m_InactiveShadow;
    if (patch->Size() != size())
        patch->Resize(size());
    QPainter painter(this);
    patch->Paint(&painter);
}

void ZFormShadow::resizeEvent(QResizeEvent* e)
{
    PlaceForm();
    QWidget::resizeEvent(e);
}

void ZFormShadow::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::ActivationChange) {
        m_Active = isActiveWindow();
        update();
    } else if (e->type() == QEvent::WindowStateChange) {
        if (isMaximized() != m_Maximised) {
            m_Maximised = isMaximized();
            PlaceForm();
            update();
            // The form swaps its Maximize and Restore buttons at its next layout.
            if (Form)
                Form->PostChildDockChangedEvent();
        }
    }
    QWidget::changeEvent(e);
}
