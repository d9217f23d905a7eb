#include "ZLabel.h"

#include "ZDrawAPI.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

static constexpr int AlignmentBits = 0x1FF;

struct ZLabelPrivate
{
    bool CanSelectText = false;
    QString Text;
    QString SelectedText;
    int Alignment = Qt::AlignVCenter;
    QColor SelectedTextBackColor;
    QColor SelectedTextForeColor;
    QRect TextRect;
    QRect SelectionRect;
    int Anchor = -1; // character index of the last left press
    int End = -1;    // moving end of the selection; -1 right after a press
};

ZLabel::ZLabel(QWidget* parent)
    : ZBase(parent)
    , d_zlabel(new ZLabelPrivate)
{
    SetBackColor(Qt::transparent);
}

ZLabel::~ZLabel()
{
    delete d_zlabel;
}

bool ZLabel::CanSelectText() const { return d_zlabel->CanSelectText; }
const QString& ZLabel::Text() const { return d_zlabel->Text; }
const QString& ZLabel::SelectedText() const { return d_zlabel->SelectedText; }
Qt::Alignment ZLabel::Alignment() const { return Qt::Alignment(d_zlabel->Alignment); }
const QColor& ZLabel::SelectedTextBackColor() const { return d_zlabel->SelectedTextBackColor; }
const QColor& ZLabel::SelectedTextForeColor() const { return d_zlabel->SelectedTextForeColor; }

void ZLabel::SetCanSelectText(bool can)
{
    d_zlabel->CanSelectText = can;
}

void ZLabel::SetText(const QString& text)
{
    if (d_zlabel->Text == text)
        return;
    d_zlabel->Text = text;
    UpdateTextBounding();
    update();
}

void ZLabel::AppendText(const QString& text)
{
    d_zlabel->Text += text;
    UpdateTextBounding();
    update();
}

void ZLabel::SetAlignment(QFlags<Qt::AlignmentFlag> alignment)
{
    const int bits = int(alignment) & AlignmentBits;
    if (d_zlabel->Alignment == bits)
        return;
    d_zlabel->Alignment = bits;
    UpdateTextBounding();
    update();
}

void ZLabel::SetSelectedTextBackColor(const QColor& color)
{
    if (d_zlabel->SelectedTextBackColor == color)
        return;
    d_zlabel->SelectedTextBackColor = color;
    update();
}

void ZLabel::SetSelectedTextForeColor(const QColor& color)
{
    if (d_zlabel->SelectedTextForeColor == color)
        return;
    d_zlabel->SelectedTextForeColor = color;
    update();
}

void ZLabel::UpdateTextBounding()
{
    const QRect box(QPoint(0, 0), QPoint(width() - 2, height() - 2));
    d_zlabel->TextRect = QFontMetrics(font()).boundingRect(box, d_zlabel->Alignment, d_zlabel->Text);
}

void ZLabel::UpdateSelectedTextBounding(int start)
{
    const QFontMetrics fm(font());
    const QString& text = d_zlabel->Text;
    d_zlabel->SelectionRect = QRect(d_zlabel->TextRect.left() + fm.horizontalAdvance(text.left(start)),
                                    d_zlabel->TextRect.top(), fm.horizontalAdvance(d_zlabel->SelectedText),
                                    fm.height());
}

int ZLabel::ComputeCaretLocation(int x) const
{
    const QString& text = d_zlabel->Text;
    if (text.isEmpty())
        return 0;
    const QFontMetrics fm(font());
    int lo = 0;
    int hi = text.size();
    while (hi - lo >= 2) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (fm.horizontalAdvance(text.left(mid)) < x)
            lo = mid;
        else
            hi = mid;
    }
    // Nearer to the boundary after character lo than to the one before it?
    const int d = x - fm.horizontalAdvance(text.left(lo));
    const int c = fm.horizontalAdvance(text.at(lo));
    return d >= c - d ? hi : lo;
}

void ZLabel::SelectTo(int index)
{
    ZLabelPrivate* d = d_zlabel;
    if (index == d->End)
        return;
    d->End = index;
    const int start = qMin(index, d->Anchor);
    d->SelectedText = d->Text.mid(start, qAbs(index - d->Anchor));
    UpdateSelectedTextBounding(start);
    update();
}

void ZLabel::Paint(QPainter* p)
{
    const ZLabelPrivate* d = d_zlabel;
    const QRect r(0, 0, width(), height());
    ZDrawAPI::DrawBackColor(p, r, Radius(), BackColor(), BorderWidth());
    ZDrawAPI::DrawBorder(p, r, Radius(), BorderColor(), Border(), BorderWidth());
    if (d->Text.isEmpty())
        return;
    p->setPen(ForeColor());
    p->drawText(d->TextRect, d->Alignment, d->Text);
    if (d->CanSelectText && !d->SelectedText.isEmpty()) {
        p->setPen(d->SelectedTextForeColor);
        p->fillRect(d->SelectionRect, d->SelectedTextBackColor);
        p->drawText(d->SelectionRect, Qt::AlignVCenter, d->SelectedText);
    }
}

bool ZLabel::event(QEvent* e)
{
    ZLabelPrivate* d = d_zlabel;
    const bool enabled = !testAttribute(Qt::WA_Disabled);
    switch (e->type()) {
    case QEvent::KeyPress: {
        // A label that cannot select keeps no keys: Tab and the form's keys pass on.
        if (!d->CanSelectText)
            break;
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(d->SelectedText, QClipboard::Clipboard);
            return true;
        }
        // Tab and Shift+Tab still move the focus on.
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab)
            break;
        return true;
    }
    case QEvent::MouseButtonPress: {
        if (!enabled)
            break;
        auto* me = static_cast<QMouseEvent*>(e);
        if (!d->CanSelectText || me->button() != Qt::LeftButton)
            return true;
        d->Anchor = ComputeCaretLocation(qRound(me->localPos().x()) - d->TextRect.left());
        d->End = -1;
        d->SelectedText.clear();
        d->SelectionRect = QRect();
        update();
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (enabled && d->CanSelectText && me->button() == Qt::LeftButton) {
            d->SelectedText = d->Text;
            d->SelectionRect = d->TextRect;
            update();
        }
        break;
    }
    case QEvent::MouseMove: {
        if (!enabled)
            return false;
        if (!d->CanSelectText)
            return true;
        auto* me = static_cast<QMouseEvent*>(e);
        // Only a drag that began with a left press selects.
        if (!(me->buttons() & Qt::LeftButton) || d->Anchor < 0)
            return true;
        SelectTo(ComputeCaretLocation(qRound(me->localPos().x()) - d->TextRect.left()));
        return true;
    }
    case QEvent::FocusOut:
        d->SelectedText.clear();
        update();
        break;
    case QEvent::Resize:
        UpdateTextBounding();
        break;
    case QEvent::FontChange:
        UpdateTextBounding();
        update();
        break;
    default:
        break;
    }
    return ZBase::event(e);
}
