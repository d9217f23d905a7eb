#pragma once
// Shared by the grid list tests: a grid with known colours and geometry, and input helpers.
#include "ZGridList.h"

#include <QCoreApplication>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QtTest>

namespace GridTest {

inline const QColor Back(Qt::white);
inline const QColor HeaderBack(200, 200, 200);
inline const QColor DoubleBack(10, 200, 10);   // rows 0, 2, 4 ...
inline const QColor SingleBack(10, 10, 200);   // rows 1, 3, 5 ...
inline const QColor SelectedBack(200, 10, 10);
inline const QColor RowFore(0, 0, 0);
inline const QColor LockedFore(250, 150, 0);

// Header 30 px, rows 20 px, three columns of 80 px in a 320 x 200 grid without border: row slot s (the s-th
// visible row) spans y = 30 + 20 s .. + 19; column c spans x = 80 c .. + 79.
constexpr int HeaderHeight = 30;
constexpr int RowHeight = 20;
constexpr int ColumnWidth = 80;

inline void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

inline void Setup(ZGridList& grid)
{
    grid.SetBackColor(Back);
    grid.SetColumnHeaderBackColor(HeaderBack);
    grid.SetDoubleRowBackColor(DoubleBack);
    grid.SetSingleRowBackColor(SingleBack);
    grid.SetSelectedRowBackColor(SelectedBack);
    grid.SetRowForeColor(RowFore);
    grid.SetLockedRowForeColor(LockedFore);
    for (int c = 0; c < 3; ++c)
        grid.AddColumn(ColumnWidth, QStringLiteral("C%1").arg(c));
    grid.ApplyColumn();
    grid.resize(320, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    Settle();
}

// A store of n rows: text "r<i>" in column 0, nothing in the others.
inline ZGridListData* MakeStore(int n, int columns = 3)
{
    auto* data = new ZGridListData(columns);
    for (int i = 0; i < n; ++i) {
        ZGridListRow* row = data->CreateRow();
        row->Cells[0] = QStringLiteral("r%1").arg(i);
        data->AddRow(row);
    }
    return data;
}

inline QPoint CellCentre(int slot, int column)
{
    return QPoint(column * ColumnWidth + ColumnWidth / 2, HeaderHeight + slot * RowHeight + RowHeight / 2);
}

inline void Hover(QWidget* w, QPoint pos)
{
    QHoverEvent e(QEvent::HoverMove, pos, pos);
    QCoreApplication::sendEvent(w, &e);
}

// A mouse event as Qt delivers it (buttons held while pressed, none after the release).
inline void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline void Click(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    Hover(w, pos);
    Mouse(w, QEvent::MouseButtonPress, button, pos);
    Mouse(w, QEvent::MouseButtonRelease, button, pos);
}

} // namespace GridTest
