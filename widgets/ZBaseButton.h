#pragma once
#include "ZBase.h"

#include <QPoint>
#include <QString>

struct ZBaseButtonPrivate;

// Abstract base of the clickable widgets: caption, its alignment and offset, and the hover and pressed
// states tracked from the raw mouse events. A left release inside the widget calls ClickedEvent(), which
// each concrete button turns into its signal; subclasses paint the states in Paint.
class VELOUR_EXPORT ZBaseButton : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QPoint TextOffset READ TextOffset WRITE SetTextOffset)
    Q_PROPERTY(Qt::Alignment alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool CanHover READ CanHover WRITE SetCanHover)

public:
    explicit ZBaseButton(QWidget* parent = nullptr);
    ~ZBaseButton() override;

    const QString& Text() const;
    const QPoint& TextOffset() const;
    // The stored alignment: the low 9 bits of what was set (horizontal and vertical flags).
    Qt::Alignment Alignment() const;
    bool CanHover() const;

    void SetText(const QString& text);
    void SetTextOffset(const QPoint& offset);
    void SetAlignment(QFlags<Qt::AlignmentFlag> alignment);
    // Switching hover tracking off also drops the hover state (seen at the next repaint).
    void SetCanHover(bool canHover);

protected:
    // Called when a left button release ends inside the enabled widget, after the pressed state was cleared.
    virtual void ClickedEvent() = 0;

    // The mouse is over the widget (only while CanHover and enabled).
    bool IsHover() const;
    // The left button went down on the widget and was not released yet.
    bool IsPressed() const;

    bool event(QEvent* e) override;

private:
    ZBaseButtonPrivate* d_zbasebutton;
};
