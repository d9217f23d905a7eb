#pragma once
#include "TextType.h"
#include "ZBase.h"

#include <QColor>
#include <QRect>
#include <QString>

struct ZLineEditPrivate;

// The library's one-line text field. It keeps its own text, caret, selection, horizontal scrolling,
// clipboard handling and input filter (TextType) and paints itself.
//
// Typing, input-method text and pasting pass through CheckText and stop at TextMaxLength; SetText and
// SetTextWithoutEvent store any text as given. A Password field shows one "*" per character and neither
// copies, cuts nor pastes. A ReadOnly field takes no typing, Delete, Backspace or Paste, and its Cut only
// copies. The caret blinks (500 ms per phase) while the field has the focus.
class VELOUR_EXPORT ZLineEdit : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(TextType::Types TextType READ TextType WRITE SetTextType)
    Q_PROPERTY(int TextMaxLength READ TextMaxLength WRITE SetTextMaxLength)
    Q_PROPERTY(QColor BorderColorHover READ BorderColorHover WRITE SetBorderColorHover)
    Q_PROPERTY(QColor SelectedTextBackColor READ SelectedTextBackColor WRITE SetSelectedTextBackColor)
    Q_PROPERTY(QColor SelectedTextForeColor READ SelectedTextForeColor WRITE SetSelectedTextForeColor)

public:
    explicit ZLineEdit(QWidget* parent = nullptr);
    ~ZLineEdit() override;

    bool ReadOnly() const;
    const QString& Text() const;
    const QString& SelectedText() const;
    ::TextType::Types TextType() const;
    int TextMaxLength() const;
    const QColor& BorderColorHover() const;
    const QColor& SelectedTextBackColor() const;
    const QColor& SelectedTextForeColor() const;

    // Stored only: no repaint, and a longer text is not cut.
    void SetReadOnly(bool readOnly);
    void SetTextMaxLength(int length);
    // Password switches input methods off. The shown text follows at the next change of the text.
    void SetTextType(::TextType::Types type);
    void SetBorderColorHover(const QColor& color);
    void SetSelectedTextBackColor(const QColor& color);
    void SetSelectedTextForeColor(const QColor& color);

    // Store the text unfiltered and uncut, put the caret at 0; the selection is left as it is.
    void SetText(const QString& text);
    void SetTextWithoutEvent(const QString& text);

    // Insert unfiltered text (callers filter) up to TextMaxLength; the caret moves on by what was inserted.
    // A full field, or one already holding more than TextMaxLength, takes nothing and emits nothing.
    void InsertText(int index, const QString& text);
    void AppendText(const QString& text);

    void SelectAll();
    // The input filter of the current TextType, in place: drops the characters the type does not accept.
    void CheckText(QString& text) const;
    void ClearSelectedText();
    // False when nothing was selected; otherwise removes the selection and emits TextChanged (no repaint).
    bool DeleteSelectedText();
    // Removes the character at the caret (nothing at the end) and emits TextChanged (no repaint).
    void DeleteText();
    // True when the caret moved by one.
    bool CaretMoveLeft();
    bool CaretMoveRight();

    // Geometry steps: the line box, the selection box from a start index, the caret's x and the scroll
    // offset that keeps it in view, and the caret index nearest to x (measured from the text's start).
    void UpdateTextBounding();
    void UpdateSelectedTextBounding(int start);
    void ComputeCaretLocation();
    void ComputeCaretIndex(int x);

    // Blink step: inverts the caret and repaints.
    void UpdateCaret();
    void TextChangeDispose();

    // Repaints go to hook instead of this widget (a grid drawing the field inside a cell); null: itself.
    void SetUpdateHook(ZBase* hook);
    // Every repaint request of the field goes through here.
    void Update();

    // Read-outs of the editing state, for the hosting grid and for tests.
    int CaretIndex() const;
    int ScrollOffset() const;
    int SelectionAnchor() const;
    int SelectionEnd() const;
    bool CaretVisible() const;
    const QString& DisplayText() const;
    const QRect& TextArea() const;

signals:
    void TextChanged();
    void RightClicked();
    void FocusOut();

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    void ComputeTextArea();
    void RebuildDisplayText();
    void UpdateSelection();
    bool KeyPress(class QKeyEvent* e);
    int DisplayWidth(int from, int count) const;

    ZLineEditPrivate* d_zlineedit;
};
