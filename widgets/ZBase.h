#pragma once
#include "DockType.h"
#include "PositionFlag.h"
#include "VelourGlobal.h"

#include <QColor>
#include <QWidget>

class QPainter;
struct ZBasePrivate;

// True once the Qt Designer plugin collection was created: forms then have no shadow window, inner widgets
// carry passive object names and buttons let mouse releases through. False in every application.
VELOUR_EXPORT extern bool DesignerMode;

// Prefixes the object names of object and of all its descendants with "__qt__passive_", so that Qt Designer
// passes mouse events to them (inner scroll bars and tab buttons of a widget on a form stay clickable).
VELOUR_EXPORT void SetPassiveObjectName(QObject* object);

// Root of every skinned widget.
//
// A widget paints only in its virtual Paint (never in paintEvent). Properties are PascalCase with a getter of
// the same name and a setter named Set<Name> that does nothing when the value is unchanged, otherwise stores
// it, repaints (update()) and then, where the widget has one, emits the property's signal. Dock and Anchor
// place the widget inside a ZContainer (see ZPanel); changes that need a new layout reach the container as
// posted ZEvents, so several changes in one pass of the event loop cost one layout run.
class VELOUR_EXPORT ZBase : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool IsPassive READ IsPassive)
    Q_PROPERTY(DockType::Types Dock READ Dock WRITE SetDock)
    Q_PROPERTY(PositionFlag::Flags Anchor READ Anchor WRITE SetAnchor)
    Q_PROPERTY(int Radius READ Radius WRITE SetRadius)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(PositionFlag::Flags Border READ Border WRITE SetBorder)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(bool UserFlag READ UserFlag WRITE SetUserFlag)

public:
    explicit ZBase(QWidget* parent = nullptr);
    ~ZBase() override;

    // True when the widget is docked (its container decides its geometry).
    bool IsPassive() const;
    DockType::Types Dock() const;
    PositionFlag::Flags Anchor() const;
    int Radius() const;
    const QColor& BackColor() const;
    const QColor& ForeColor() const;
    PositionFlag::Flags Border() const;
    int BorderWidth() const;
    const QColor& BorderColor() const;
    bool UserFlag() const;
    bool CanReLayoutParent() const;
    // True once the parent's layout has changed this widget's size; from then on the widget's own resizes,
    // shows and hides no longer ask the parent for a new layout (the layout's own resizes would otherwise
    // come back as requests).
    bool IsSetByLayout() const;

    // Tells the parent container (when it is a ZBase and CanReLayoutParent is set) to lay out again.
    void SetDock(DockType::Types dock);
    // Stored only: anchors take effect at the container's next resize.
    void SetAnchor(QFlags<PositionFlag::Flag> anchor);
    void SetRadius(int radius);
    void SetBackColor(const QColor& color);
    void SetForeColor(const QColor& color);
    void SetBorderColor(const QColor& color);
    // Border sides and width also change a container's area: both post one BorderChanged to the widget.
    void SetBorder(QFlags<PositionFlag::Flag> sides);
    void SetBorderWidth(int width);
    // Free for the application; the library never reads it.
    void SetUserFlag(bool flag);
    // False for the library's own inner widgets, which their owner places itself.
    void SetCanReLayoutParent(bool can);

    // Called on a container by its children: queues one ChildDockChanged to it unless one is pending.
    void PostChildDockChangedEvent();

    // The one way layouts move a child: a pure move when the size is unchanged, otherwise marks the widget
    // as sized by its layout and sets the geometry. Also for the application placing widgets by hand.
    void LayoutSetGeometry(const QRect& r);

    // Paints this widget and its ZBase descendants (visible or not) into another widget's painter at offset:
    // how a grid cell draws an embedded control. Leaves the painter's state as it found it.
    void GridListPaint(QPainter* painter, const QPoint& offset);

    // Page index of a tab button; written by the tab control.
    int TabIndex = 0;
    // Free pointer-sized value for the application (an int or a pointer); the library never reads it.
    qintptr Tag = 0;

protected:
    // Paints the whole widget; painter is open on the widget (or translated into a foreign one).
    virtual void Paint(QPainter* painter) = 0;

    // Resize, Show and Hide ask the parent container for a new layout; ChildDockChanged and BorderChanged
    // clear their pending flags. Subclasses handling ZEvents do their work first, then call the base.
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    ZBasePrivate* d_zbase;
};
