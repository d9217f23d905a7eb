#pragma once
#include "ZContainer.h"

#include <QFont>
#include <QSize>
#include <QString>

class QIcon;
class QImage;
class ZFormShadow;
struct ZFormPrivate;

// The frameless skinned window: base class of the program's main window, dialogs and pop-ups.
//
// The form is a container with its own title bar (a docked title panel; the form paints the title text) and
// four system buttons (minimise, maximise or restore, close) that call the virtual *ButtonClickedEvent hooks.
// It lives inside a top-level host window (Shadow, see ZFormShadow) that paints a drop shadow around it and
// acts as its frame: the title panel drags the window, the edges resize it, a double click on the title
// maximises or restores it. The usual window operations of QWidget (move, resize, show, hide, close ...)
// are hidden by same-named ones that act on the host, so that callers place the form itself while the host
// follows. A form without a parent is an ordinary top-level window; with a parent, a dialog over the
// parent's window. Inside Qt Designer (DesignerMode) a form has no host and the operations act on itself.
class VELOUR_EXPORT ZForm : public ZContainer
{
    Q_OBJECT
    Q_PROPERTY(DockType::Types Dock READ Dock DESIGNABLE false)
    Q_PROPERTY(PositionFlag::Flags Anchor READ Anchor DESIGNABLE false)
    Q_PROPERTY(int Radius READ Radius DESIGNABLE false)
    Q_PROPERTY(bool CanResize READ CanResize WRITE SetCanResize)
    Q_PROPERTY(bool ShowShadow READ ShowShadow WRITE SetShowShadow)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(QFont TitleFont READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(int TitlePadding READ TitlePadding WRITE SetTitlePadding)
    Q_PROPERTY(Qt::Alignment alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(int TitleHeight READ TitleHeight WRITE SetTitleHeight)
    Q_PROPERTY(QColor TitleBackColor READ TitleBackColor WRITE SetTitleBackColor)
    Q_PROPERTY(QSize SysButtonSize READ SysButtonSize WRITE SetSysButtonSize)
    Q_PROPERTY(QColor SysButtonColor READ SysButtonColor WRITE SetSysButtonColor)
    Q_PROPERTY(QColor SysButtonColorHover READ SysButtonColorHover WRITE SetSysButtonColorHover)
    Q_PROPERTY(bool ShowMinimizeButton READ ShowMinimizeButton WRITE SetShowMinimizeButton)
    Q_PROPERTY(bool ShowMaximizeButton READ ShowMaximizeButton WRITE SetShowMaximizeButton)

public:
    explicit ZForm(QWidget* parent = nullptr);
    ~ZForm() override;

    // The host window; null inside Qt Designer and after the host was destroyed (the form then goes with it).
    ZFormShadow* Shadow = nullptr;

    bool CanResize() const;
    bool ShowShadow() const;
    const QString& Title() const;
    const QFont& TitleFont() const;
    int TitlePadding() const;
    Qt::Alignment Alignment() const;
    // The title panel's height (0: no title bar).
    int TitleHeight() const;
    const QColor& TitleBackColor() const;
    const QSize& SysButtonSize() const;
    const QColor& SysButtonColor() const;
    const QColor& SysButtonColorHover() const;
    bool ShowMinimizeButton() const;
    bool ShowMaximizeButton() const;

    // Edges resize the window and a title double click maximises it. Copied to the host.
    void SetCanResize(bool canResize);
    // The host paints the shadow and its resize edge takes in the shadow margin. Copied to the host.
    void SetShowShadow(bool showShadow);
    void SetTitle(const QString& title);
    void SetTitleFont(const QFont& font);
    void SetTitlePadding(int padding);
    // Keeps the horizontal and vertical flags (the low 9 bits).
    void SetAlignment(QFlags<Qt::AlignmentFlag> alignment);
    void SetTitleHeight(int height);
    void SetTitleBackColor(const QColor& color);
    // The height is limited to the title height at the time of the call; 0 x 0 hides the system buttons.
    void SetSysButtonSize(const QSize& size);
    // Replace the white of the system button images (normal and under the mouse).
    void SetSysButtonColor(const QColor& color);
    void SetSysButtonColorHover(const QColor& color);
    void SetShowMinimizeButton(bool show);
    void SetShowMaximizeButton(bool show);

    // Window operations; positions and sizes are the form's own, the host goes around it.
    void move(const QPoint& p);
    void move(int x, int y);
    void resize(const QSize& s);
    void resize(int w, int h);
    void setGeometry(const QRect& r);
    void setGeometry(int x, int y, int w, int h);
    void setMinimumSize(const QSize& s);
    void setMinimumSize(int w, int h);
    // With centre, first centres the form over the window of its parent widget (the nearest ZForm up the
    // parent chain, else the parent's top-level window); without a parent it shows where it is.
    void show(bool centre = false);
    void hide();
    // A form minimised or hidden from the maximised state comes back maximised.
    void showNormal();
    void showMinimized();
    void showMaximized();
    bool close();

    // Shows the form window-modal (centred as show(centre)) and runs a local event loop until exit(code)
    // (returns code) or until the program hides or closes the form (returns 0); minimising does not end it.
    // Then hides the form. A form runs one exec at a time: a second call while one runs returns 0 at once.
    int exec(bool centre = false);
    // Ends a running exec with code; nothing without one.
    void exit(int code);

    // The window icon of the host.
    void SetIcon(const QImage& image);
    void SetIcon(const QIcon& icon);

    // The top-level window that shows the form: the host, or the form itself inside Qt Designer.
    QWidget* HostWindow() const;
    // Keeps the window above other windows (pop-ups). Set it before the first show: changing window flags
    // hides a visible window, which is then shown again.
    void SetStayOnTop(bool stayOnTop);

    // Places the docked and anchored children that are visible, then the system buttons.
    void ReLayout();

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

    // Hooks of the system buttons and of the title; an override replaces the default.
    virtual void MinimizeButtonClickedEvent(); // showMinimized()
    virtual void MaximizeButtonClickedEvent(); // showMaximized()
    virtual void RestoreButtonClickedEvent();  // the host's plain showNormal()
    virtual void CloseButtonClickedEvent();    // close()
    // A left press on the title bar or on a resize edge of the host; nothing by default.
    virtual void TitleMousePressEvent();

private:
    static void ShadowDeleted(ZForm* form);
    static void TitleMousePress(ZForm* form);
    bool IsMaximisedState() const;

    ZFormPrivate* d_zform;
};
