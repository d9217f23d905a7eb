#pragma once
#include "ZFrame.h"

#include <QWidget>

#include <functional>

class SudokuPatch;
class ZForm;
class ZFrameHandler;

// Library-internal: the top-level window that hosts a ZForm. It is Margin() pixels larger than the form on
// every side and paints a nine-patch drop shadow there (darker while the window is active), acts as the
// window frame (caption drag, edge resize, caption double click: see ZFrameHandler) and follows the
// maximised state: maximised, the form fills the whole window and no shadow is painted.
//
// Without a compositor translucent pixels come out black, so the margin is then 0 and the window opaque.
class ZFormShadow : public QWidget
{
    Q_OBJECT

public:
    // flags: Qt::Window or Qt::Dialog; the frameless hint is added.
    ZFormShadow(QWidget* parent, Qt::WindowFlags flags);
    ~ZFormShadow() override;

    // The hosted form and its caption area; both set by the form.
    ZForm* Form = nullptr;
    QWidget* TitlePanel = nullptr;
    // Called from the destructor with the form (which then forgets its window).
    std::function<void(ZForm*)> OnDeleted;
    // Called on a left press in the caption or on an edge, with the form.
    std::function<void(ZForm*)> OnTitlePress;

    bool CanResize() const { return m_CanResize; }
    bool ShowShadow() const { return m_ShowShadow; }
    void SetCanResize(bool canResize);
    void SetShowShadow(bool showShadow);

    // The space between the window's and the form's edges: ZFrame::ShadowMargin, or 0 without a compositor.
    int Margin() const { return m_Margin; }
    bool IsActive() const { return m_Active; }
    bool IsMaximised() const { return m_Maximised; }

    // Where a point in window coordinates lands (see ZFrame::HitTest).
    ZFrame::Hit HitAt(const QPoint& point) const;

    // Window operations in form coordinates: the window goes Margin() further out on every side.
    void MoveForm(int x, int y);
    void ResizeForm(int w, int h);
    void SetFormGeometry(int x, int y, int w, int h);
    void SetFormMinimumSize(int w, int h);
    // The form covers the whole window.
    void FillWithForm();
    // Places the form for the current state: the whole window when maximised, else inside the margin.
    void PlaceForm();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void ToggleMaximised();

    SudokuPatch* m_ActiveShadow;
    SudokuPatch* m_InactiveShadow;
    ZFrameHandler* m_Frame;
    int m_Margin;
    bool m_CanResize = true;
    bool m_ShowShadow = true;
    bool m_Active = false;
    bool m_Maximised = false;
};
