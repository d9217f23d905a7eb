#pragma once
#include "PositionType.h"
#include "ZBase.h"

#include <QSize>

class ZTabPage;
struct ZTabControlPrivate;

// Shows one of its ZTabPages in the page area and the pages' tab buttons in a strip along one side
// (TabBarPosition), each TabBarSize large; a padding panel (TabPaddingColor, transparent by default) fills
// the rest of the strip. Adding a page selects it; a click on a tab selects its page. The control owns the
// pages in its list; a removed page is handed back to the caller (still its child, hidden).
class VELOUR_EXPORT ZTabControl : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(int SelectedIndex READ SelectedIndex WRITE SetSelectedIndex)
    Q_PROPERTY(PositionType::Types TabBarPosition READ TabBarPosition WRITE SetTabBarPosition)
    Q_PROPERTY(QSize TabBarSize READ TabBarSize WRITE SetTabBarSize)
    Q_PROPERTY(QColor TabPaddingColor READ TabPaddingColor WRITE SetTabPaddingColor)

public:
    explicit ZTabControl(QWidget* parent = nullptr);
    ~ZTabControl() override;

    int Count() const;
    // The page at index, null outside 0 .. Count() - 1.
    ZTabPage* Page(int index) const;
    int SelectedIndex() const;
    PositionType::Types TabBarPosition() const;
    const QSize& TabBarSize() const;
    QColor TabPaddingColor() const;

    // Makes the page (and its tab button) children of the control, inserts it at index (limited to
    // 0 .. Count()) and selects it, or the pending index once that page exists (see SetSelectedIndex). A
    // null page or one already in the control is ignored.
    void InsertPage(int index, ZTabPage* page);
    Q_INVOKABLE void AddPage(ZTabPage* page);
    // For form loaders (QUiLoader, Designer's preview), which call the add-page method by name with a
    // QWidget*: adds a ZTabPage as above and refuses any other widget with a warning.
    Q_INVOKABLE void AddPage(QWidget* page);
    // Takes the page out of the list, hides it and its tab button; the caller owns it from then on. The
    // selection stays on the same page; when the removed page was selected, the page before it is.
    void RemovePage(int index);

    // index is limited to Count() - 1; a negative index selects no page and is stored as -1. Hides the old page, shows the new
    // one and emits SelectedPageChanged on every change of the index.
    // An index past the last page is also kept as pending: the addition that brings its page on selects
    // it, once; later additions select the new page again. Form code (uic, form loaders) sets the index
    // on the empty control before it adds the pages: then the pending page stays selected while the rest
    // of the form's pages are added, until the control next passes through the event loop. An index
    // within the pages, a click on a tab or the removal of a page ends the pending selection.
    void SetSelectedIndex(int index);
    void SetTabBarPosition(PositionType::Types position);
    void SetTabBarSize(const QSize& size);
    void SetTabPaddingColor(const QColor& color);

    // Places the pages, the tab buttons and the padding panel.
    void ReLayout();

signals:
    void SelectedPageChanged(int PageIndex);

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    void TabClicked();
    void Select(int index);
    void Forget(int index);

    ZTabControlPrivate* d_ztabcontrol;
};
