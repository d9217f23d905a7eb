#include "ZLineEdit.h"

#include "ZDrawAPI.h"
#include "ZEvent.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

struct ZLineEditPrivate
{
    bool ReadOnly = false;
    QString Text;
    QString SelectedText;
    TextType::Types Type = TextType::Normal;
    int TextMaxLength = 32767;
    QColor BorderColorHover;
    QColor SelectedTextBackColor;
    QColor SelectedTextForeColor;
    QTimer CaretTimer;
    bool CaretVisible = false;
    bool Hovered = false;
    int ScrollOffset = 0;
    int CaretIndex = 0;
    int CaretX = 0;
    int SelectionAnchor = -1;
    int SelectionEnd = -1;
    QString DisplayText;
    QRect TextArea;
    QRect LineRect;
    QRect SelectionRect;
    ZBase* UpdateHook = nullptr;
};

// Text area inset from the widget's edge, besides the border.
static const int TextMargin = 4;
static const int CaretBlinkMs = 500;

ZLineEdit::ZLineEdit(QWidget* parent)
    : ZBase(parent)
    , d_zlineedit(new ZLineEditPrivate)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_KeyCompression);
    setAttribute(Qt::WA_InputMethodEnabled);
    connect(&d_zlineedit->CaretTimer, &QTimer::timeout, this, &ZLineEdit::UpdateCaret);
    // A field that is never bordered or resized again must still know where its text goes.
    ComputeTextArea();
}

ZLineEdit::~ZLineEdit()
{
    delete d_zlineedit;
}

bool ZLineEdit::ReadOnly() const { return d_zlineedit->ReadOnly; }
const QString& ZLineEdit::Text() const { return d_zlineedit->Text; }
const QString& ZLineEdit::SelectedText() const { return d_zlineedit->SelectedText; }
TextType::Types ZLineEdit::TextType() const { return d_zlineedit->Type; }
int ZLineEdit::TextMaxLength() const { return d_zlineedit->TextMaxLength; }
const QColor& ZLineEdit::BorderColorHover() const { return d_zlineedit->BorderColorHover; }
const QColor& ZLineEdit::SelectedTextBackColor() const { return d_zlineedit->SelectedTextBackColor; }
const QColor& ZLineEdit::SelectedTextForeColor() const { return d_zlineedit->SelectedTextForeColor; }
int ZLineEdit::CaretIndex() const { return d_zlineedit->CaretIndex; }
int ZLineEdit::ScrollOffset() const { return d_zlineedit->ScrollOffset; }
int ZLineEdit::SelectionAnchor() const { return d_zlineedit->SelectionAnchor; }
int ZLineEdit::SelectionEnd() const { return d_zlineedit->SelectionEnd; }
bool ZLineEdit::CaretVisible() const { return d_zlineedit->CaretVisible; }
const QString& ZLineEdit::DisplayText() const { return d_zlineedit->DisplayText; }
const QRect& ZLineEdit::TextArea() const { return d_zlineedit->TextArea; }

void ZLineEdit::SetReadOnly(bool readOnly)
{
    d_zlineedit->ReadOnly = readOnly;
}

void ZLineEdit::SetTextMaxLength(int length)
{
    d_zlineedit->TextMaxLength = length;
}

void ZLineEdit::SetTextType(TextType::Types type)
{
    if (d_zlineedit->Type == type)
        return;
    d_zlineedit->Type = type;
    // Input methods would show the composed password in their own windows.
    setAttribute(Qt::WA_InputMethodEnabled, type != TextType::Password);
    Update();
}

void ZLineEdit::SetBorderColorHover(const QColor& color)
{
    if (d_zlineedit->BorderColorHover == color)
        return;
    d_zlineedit->BorderColorHover = color;
    Update();
}

void ZLineEdit::SetSelectedTextBackColor(const QColor& color)
{
    if (d_zlineedit->SelectedTextBackColor == color)
        return;
    d_zlineedit->SelectedTextBackColor = color;
    Update();
}

void ZLineEdit::SetSelectedTextForeColor(const QColor& color)
{
    if (d_zlineedit->SelectedTextForeColor == color)
        return;
    d_zlineedit->SelectedTextForeColor = color;
    Update();
}

void ZLineEdit::SetText(const QString& text)
{
    if (d_zlineedit->Text == text)
        return;
    SetTextWithoutEvent(text);
    emit TextChanged();
}

void ZLineEdit::SetTextWithoutEvent(const QString& text)
{
    ZLineEditPrivate* d = d_zlineedit;
    if (d->Text == text)
        return;
    d->Text = text;
    RebuildDisplayText();
    // A selection of the old text would name characters of the new one: the next keystroke would delete them.
    ClearSelectedText();
    d->CaretIndex = 0;
    ComputeCaretLocation();
    Update();
}

void ZLineEdit::InsertText(int index, const QString& text)
{
    ZLineEditPrivate* d = d_zlineedit;
    // After SetText or a lowered TextMaxLength the text may be longer than the limit: no room at all then.
    const int room = d->TextMaxLength - d->Text.size();
    if (room <= 0 || text.isEmpty())
        return;
    const QString inserted = text.left(room);
    d->Text.insert(qBound(0, index, d->Text.size()), inserted);
    RebuildDisplayText();
    d->CaretIndex = qMin(d->CaretIndex + inserted.size(), d->Text.size());
    TextChangeDispose();
    Update();
}

void ZLineEdit::AppendText(const QString& text)
{
    InsertText(d_zlineedit->Text.size(), text);
}

void ZLineEdit::SelectAll()
{
    ZLineEditPrivate* d = d_zlineedit;
    d->SelectedText = d->Text;
    d->SelectionAnchor = 0;
    d->SelectionEnd = d->Text.size();
    UpdateSelectedTextBounding(0);
    d->CaretIndex = d->SelectionEnd;
    ComputeCaretLocation();
    Update();
}

void ZLineEdit::CheckText(QString& text) const
{
    const TextType::Types type = d_zlineedit->Type;
    if (type == TextType::Normal || type == TextType::Password)
        return;
    QString accepted;
    accepted.reserve(text.size());
    for (const QChar c : qAsConst(text)) {
        const ushort u = c.unicode();
        bool keep = false;
        switch (type) {
        case TextType::ASCII:
            keep = u <= 127;
            break;
        case TextType::Number:
            keep = c.isNumber() || c == QLatin1Char('-') || c == QLatin1Char('.');
            break;
        case TextType::IPaddress:
            keep = (u >= '0' && u <= '9') || u == '.';
            break;
        case TextType::MACaddress:
            keep = (u >= '0' && u <= '9') || u == ':' || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
            break;
        case TextType::PhoneNumber:
            keep = (u >= '0' && u <= '9') || u == '*' || u == '#';
            break;
        default:
            keep = true;
            break;
        }
        if (keep)
            accepted.append(c);
    }
    text = accepted;
}

void ZLineEdit::ClearSelectedText()
{
    ZLineEditPrivate* d = d_zlineedit;
    d->SelectionAnchor = -1;
    d->SelectionEnd = -1;
    d->SelectedText.clear();
    d->SelectionRect = QRect();
}

bool ZLineEdit::DeleteSelectedText()
{
    ZLineEditPrivate* d = d_zlineedit;
    if (d->SelectedText.isEmpty())
        return false;
    const int lo = qBound(0, qMin(d->SelectionAnchor, d->SelectionEnd), d->Text.size());
    const int hi = qBound(0, qMax(d->SelectionAnchor, d->SelectionEnd), d->Text.size());
    // Scrolling back by what was removed keeps the text right of the selection where it was.
    d->ScrollOffset -= DisplayWidth(lo, hi - lo);
    d->Text.remove(lo, hi - lo);
    d->CaretIndex = lo;
    RebuildDisplayText();
    if (d->ScrollOffset < 0)
        d->ScrollOffset = 0;
    // Cleared before the signal, so that a slot sees the field as it now is.
    ClearSelectedText();
    TextChangeDispose();
    return true;
}

void ZLineEdit::DeleteText()
{
    ZLineEditPrivate* d = d_zlineedit;
    if (d->CaretIndex >= d->Text.size())
        return;
    d->ScrollOffset = qMax(0, d->ScrollOffset - DisplayWidth(d->CaretIndex, 1));
    d->Text.remove(d->CaretIndex, 1);
    RebuildDisplayText();
    TextChangeDispose();
}

bool ZLineEdit::CaretMoveLeft()
{
    ZLineEditPrivate* d = d_zlineedit;
    if (d->CaretIndex <= 0)
        return false;
    --d->CaretIndex;
    ComputeCaretLocation();
    return true;
}

bool ZLineEdit::CaretMoveRight()
{
    ZLineEditPrivate* d = d_zlineedit;
    if (d->CaretIndex >= d->Text.size())
        return false;
    ++d->CaretIndex;
    ComputeCaretLocation();
    return true;
}

void ZLineEdit::UpdateTextBounding()
{
    ZLineEditPrivate* d = d_zlineedit;
    d->LineRect = QFontMetrics(font()).boundingRect(d->TextArea, Qt::AlignVCenter, QStringLiteral("A"));
}

void ZLineEdit::UpdateSelectedTextBounding(int start)
{
    ZLineEditPrivate* d = d_zlineedit;
    const QFontMetrics fm(font());
    const QString shown = d->Type == TextType::Password ? QString(d->SelectedText.size(), QLatin1Char('*'))
                                                        : d->SelectedText;
    const int x = d->TextArea.left() - d->ScrollOffset + DisplayWidth(0, start);
    d->SelectionRect = QRect(x, d->LineRect.top(), fm.horizontalAdvance(shown), d->LineRect.height());
}

void ZLineEdit::ComputeCaretLocation()
{
    ZLineEditPrivate* d = d_zlineedit;
    d->CaretX = DisplayWidth(0, d->CaretIndex);
    const int w = d->TextArea.width();
    if (d->CaretX - d->ScrollOffset >= w)
        d->ScrollOffset = d->CaretX - w + 1;
    else if (d->CaretX - d->ScrollOffset < 0)
        d->ScrollOffset = d->CaretX;
    if (d->ScrollOffset < 0)
        d->ScrollOffset = 0;
}

void ZLineEdit::ComputeCaretIndex(int x)
{
    ZLineEditPrivate* d = d_zlineedit;
    if (d->DisplayText.isEmpty()) {
        d->CaretIndex = 0;
        d->CaretX = 0;
        return;
    }
    int lo = 0;
    int hi = d->DisplayText.size();
    while (hi - lo >= 2) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (DisplayWidth(0, mid) < x)
            lo = mid;
        else
            hi = mid;
    }
    const int offset = x - DisplayWidth(0, lo);
    const int charWidth = DisplayWidth(lo, 1);
    // The right half of a character, or exactly its middle, puts the caret after it.
    const int index = offset >= charWidth - offset ? hi : lo;
    if (index == d->CaretIndex)
        return;
    d->CaretIndex = index;
    ComputeCaretLocation();
}

void ZLineEdit::UpdateCaret()
{
    d_zlineedit->CaretVisible = !d_zlineedit->CaretVisible;
    Update();
}

void ZLineEdit::TextChangeDispose()
{
    ComputeCaretLocation();
    emit TextChanged();
}

void ZLineEdit::SetUpdateHook(ZBase* hook)
{
    d_zlineedit->UpdateHook = hook;
}

void ZLineEdit::Update()
{
    if (d_zlineedit->UpdateHook)
        d_zlineedit->UpdateHook->update();
    else
        update();
}

void ZLineEdit::ComputeTextArea()
{
    ZLineEditPrivate* d = d_zlineedit;
    const PositionFlag::Flags border = Border();
    const int bw = BorderWidth();
    const int left = TextMargin + (border & PositionFlag::Left ? bw : 0);
    const int top = TextMargin + (border & PositionFlag::Top ? bw : 0);
    const int width = this->width() - left - TextMargin - (border & PositionFlag::Right ? bw : 0);
    const int height = this->height() - top - TextMargin - (border & PositionFlag::Bottom ? bw : 0);
    d->TextArea = QRect(left, top, width, height);
    UpdateTextBounding();
    ComputeCaretLocation();
    if (!d->SelectedText.isEmpty())
        UpdateSelection();
}

void ZLineEdit::RebuildDisplayText()
{
    ZLineEditPrivate* d = d_zlineedit;
    d->DisplayText = d->Type == TextType::Password ? QString(d->Text.size(), QLatin1Char('*')) : d->Text;
}

// Shared by mouse drags and Shift+arrows: the selection runs between anchor and end, whichever comes first.
void ZLineEdit::UpdateSelection()
{
    ZLineEditPrivate* d = d_zlineedit;
    const int a = d->SelectionAnchor;
    const int e = d->SelectionEnd;
    const int start = qMin(a, e);
    d->SelectedText = d->Text.mid(start, qAbs(e - a));
    UpdateSelectedTextBounding(start);
}

int ZLineEdit::DisplayWidth(int from, int count) const
{
    if (count <= 0)
        return 0;
    return QFontMetrics(font()).horizontalAdvance(d_zlineedit->DisplayText.mid(from, count));
}

void ZLineEdit::Paint(QPainter* painter)
{
    ZLineEditPrivate* d = d_zlineedit;
    painter->save();
    const QRect r = rect();
    ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), BorderWidth());
    const bool highlighted = hasFocus() || d->Hovered;
    ZDrawAPI::DrawBorder(painter, r, Radius(), highlighted ? d->BorderColorHover : BorderColor(), Border(),
                         BorderWidth());
    painter->setPen(isEnabled() ? ForeColor() : QColor(200, 200, 200));
    if (!d->Text.isEmpty()) {
        painter->setClipRect(d->TextArea, Qt::IntersectClip);
        const QRect textRect(QPoint(d->TextArea.left() - d->ScrollOffset, d->TextArea.top()),
                             d->TextArea.bottomRight());
        painter->drawText(textRect, Qt::AlignVCenter, d->DisplayText);
        // A password field never shows what is selected, not even how much.
        if (!d->SelectedText.isEmpty() && d->Type != TextType::Password) {
            painter->setPen(d->SelectedTextForeColor);
            painter->fillRect(d->SelectionRect, d->SelectedTextBackColor);
            painter->drawText(d->SelectionRect, Qt::AlignVCenter, d->SelectedText);
        }
    }
    if (d->CaretVisible) {
        const int x = d->TextArea.left() + d->CaretX - d->ScrollOffset;
        painter->drawLine(x, d->LineRect.top(), x, d->LineRect.bottom());
    }
    painter->restore();
}

bool ZLineEdit::event(QEvent* e)
{
    ZLineEditPrivate* d = d_zlineedit;
    const bool enabled = !testAttribute(Qt::WA_Disabled);
    switch (static_cast<int>(e->type())) {
    case QEvent::FocusIn:
        d->CaretVisible = true;
        d->CaretTimer.start(CaretBlinkMs);
        Update();
        break;
    case QEvent::FocusOut:
        d->CaretVisible = false;
        d->CaretTimer.stop();
        ClearSelectedText();
        Update();
        emit FocusOut();
        break;
    case QEvent::Enter:
    case QEvent::Leave:
        if (enabled) {
            d->Hovered = e->type() == QEvent::Enter;
            Update();
        }
        break;
    case QEvent::FontChange:
        UpdateTextBounding();
        // Every width changed with the font: the caret's x, the scrolling and the selection box follow.
        ComputeCaretLocation();
        if (!d->SelectedText.isEmpty())
            UpdateSelection();
        Update();
        break;
    case QEvent::Resize:
    case ZEvent::BorderChanged:
        ComputeTextArea();
        break;
    case QEvent::InputMethod:
        if (enabled && !d->ReadOnly) {
            QString s = static_cast<QInputMethodEvent*>(e)->commitString();
            CheckText(s);
            if (!s.isEmpty()) {
                DeleteSelectedText();
                InsertText(d->CaretIndex, s);
            }
        }
        break;
    case QEvent::MouseButtonPress:
        if (enabled) {
            QMouseEvent* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton) {
                ComputeCaretIndex(me->pos().x() - d->TextArea.left() + d->ScrollOffset);
                ClearSelectedText();
                d->SelectionAnchor = d->CaretIndex;
                Update();
            } else if (me->button() == Qt::RightButton) {
                emit RightClicked();
            }
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (enabled && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
            SelectAll();
        break;
    case QEvent::MouseMove: {
        if (!enabled)
            return true;
        QMouseEvent* me = static_cast<QMouseEvent*>(e);
        // Only a drag of the left button that began with a press in this field selects: without an anchor
        // there is no start to select from.
        if (!(me->buttons() & Qt::LeftButton) || d->SelectionAnchor < 0)
            return true;
        ComputeCaretIndex(me->pos().x() - d->TextArea.left() + d->ScrollOffset);
        if (d->CaretIndex == d->SelectionEnd)
            return true;
        d->SelectionEnd = d->CaretIndex;
        UpdateSelection();
        Update();
        return true;
    }
    case QEvent::KeyPress:
        if (enabled)
            return KeyPress(static_cast<QKeyEvent*>(e));
        break;
    default:
        break;
    }
    return ZBase::event(e);
}

// The key table. Returns what event() returns; keys the field acts on are accepted, so that they do not
// travel on to the parent as unhandled.
bool ZLineEdit::KeyPress(QKeyEvent* e)
{
    ZLineEditPrivate* d = d_zlineedit;
    const bool password = d->Type == TextType::Password;
    auto handledByBase = [this, e]() {
        const bool result = ZBase::event(e);
        e->accept();
        return result;
    };
    // Copy and Cut with nothing selected leave the clipboard alone rather than emptying it.
    if (e->matches(QKeySequence::Copy) && !password) {
        if (!d->SelectedText.isEmpty())
            QGuiApplication::clipboard()->setText(d->SelectedText, QClipboard::Clipboard);
        return handledByBase();
    }
    if (e->matches(QKeySequence::Cut) && !password) {
        if (!d->SelectedText.isEmpty()) {
            QGuiApplication::clipboard()->setText(d->SelectedText, QClipboard::Clipboard);
            // A read-only field's Cut only copies.
            if (!d->ReadOnly)
                DeleteSelectedText();
        }
        Update();
        return handledByBase();
    }
    if (e->matches(QKeySequence::Paste) && !password) {
        if (!d->ReadOnly) {
            QString s = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
            CheckText(s);
            if (!s.isEmpty()) {
                DeleteSelectedText();
                InsertText(d->CaretIndex, s);
            }
        }
        return handledByBase();
    }
    if (e->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return handledByBase();
    }
    const bool shiftOnly = e->modifiers() == Qt::ShiftModifier;
    switch (e->key()) {
    case Qt::Key_Delete:
        if (!d->ReadOnly) {
            if (!DeleteSelectedText())
                DeleteText();
            Update();
        }
        return true;
    case Qt::Key_Backspace:
        if (!d->ReadOnly) {
            if (!DeleteSelectedText() && d->CaretIndex > 0) {
                --d->CaretIndex;
                ComputeCaretLocation();
                DeleteText();
            }
            Update();
        }
        return true;
    case Qt::Key_Left:
        if (shiftOnly) {
            if (d->CaretIndex == 0) {
                Update();
                return true;
            }
            if (d->SelectedText.isEmpty())
                d->SelectionAnchor = d->SelectionEnd = d->CaretIndex;
            --d->SelectionEnd;
            CaretMoveLeft();
            // After the caret moved: moving it may have scrolled the text under the selection.
            UpdateSelection();
        } else {
            ClearSelectedText();
            CaretMoveLeft();
        }
        Update();
        return true;
    case Qt::Key_Right:
        if (shiftOnly) {
            if (d->CaretIndex < d->Text.size()) {
                if (d->SelectedText.isEmpty())
                    d->SelectionAnchor = d->SelectionEnd = d->CaretIndex;
                ++d->SelectionEnd;
                CaretMoveRight();
                UpdateSelection();
            }
        } else {
            ClearSelectedText();
            CaretMoveRight();
        }
        Update();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Focus moves on from every field, read-only ones included.
        return ZBase::event(e);
    default:
        break;
    }
    if (d->ReadOnly) {
        Update();
        return true;
    }
    const QString text = e->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return ZBase::event(e);
    // Several compressed keystrokes arrive as one text: what is inserted is the filtered text, so that one
    // accepted character does not let the others through.
    QString s = text;
    CheckText(s);
    if (!s.isEmpty()) {
        DeleteSelectedText();
        InsertText(d->CaretIndex, s);
    }
    return handledByBase();
}
