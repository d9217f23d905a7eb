#pragma once
#include "ZBase.h"

#include <QString>

struct ZLabelPrivate;

// A text on a transparent background, aligned within the widget (left and vertically centred by default).
// Only line breaks in the text start new lines. With CanSelectText the user selects part of the first line
// by dragging with the left button (a double click selects the whole text) and copies it with the copy
// key; the selection goes when the label loses the focus.
class VELOUR_EXPORT ZLabel : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(bool CanSelectText READ CanSelectText WRITE SetCanSelectText)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(Qt::Alignment alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(QColor SelectedTextBackColor READ SelectedTextBackColor WRITE SetSelectedTextBackColor)
    Q_PROPERTY(QColor SelectedTextForeColor READ SelectedTextForeColor WRITE SetSelectedTextForeColor)

public:
    explicit ZLabel(QWidget* parent = nullptr);
    ~ZLabel() override;

    bool CanSelectText() const;
    const QString& Text() const;
    const QString& SelectedText() const;
    // The stored low 9 bits of what was set.
    Qt::Alignment Alignment() const;
    const QColor& SelectedTextBackColor() const;
    const QColor& SelectedTextForeColor() const;

    // Stored only.
    void SetCanSelectText(bool can);
    // Leaves the selection alone.
    void SetText(const QString& text);
    // Appends (also an empty text) and repaints.
    void AppendText(const QString& text);
    void SetAlignment(QFlags<Qt::AlignmentFlag> alignment);
    void SetSelectedTextBackColor(const QColor& color);
    void SetSelectedTextForeColor(const QColor& color);

    // Recomputes where the text is drawn; a grid list calls it after placing a label in a cell.
    void UpdateTextBounding();
    // The character boundary nearest to x, measured from the text's left edge (0 for an empty text).
    int ComputeCaretLocation(int x) const;

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    void UpdateSelectedTextBounding(int start);
    void SelectTo(int index);

    ZLabelPrivate* d_zlabel;
};
