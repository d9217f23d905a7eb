#pragma once
#include "ZGridListCell.h"

// One row of a grid table: one cell per column of the store that created it, plus the application's
// fields. Fields are accessed directly. Not copyable (its cells own their controls).
class VELOUR_EXPORT ZGridListRow
{
public:
    // Allocates columnCount default (empty text) cells; a negative count gives none.
    explicit ZGridListRow(int columnCount);
    // Destroys every cell (and so the controls they hold).
    ~ZGridListRow();
    ZGridListRow(const ZGridListRow&) = delete;
    ZGridListRow& operator=(const ZGridListRow&) = delete;

    int CellCount() const { return m_CellCount; }

    // The cells, in column order.
    ZGridListCell* Cells = nullptr;
    // A row that is not visible is neither drawn nor counted by a grid.
    bool Visible = true;
    // Free for the application (the owning object of the row); never read by the library.
    void* UserData = nullptr;

private:
    int m_CellCount = 0;
};
