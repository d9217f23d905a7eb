#pragma once
#include "VelourGlobal.h"

#include <QString>

// One column of a grid: its width in pixels and its header caption. Held by value in the grid's column list.
class VELOUR_EXPORT ZGridListColumn
{
public:
    ZGridListColumn() = default;
    ZGridListColumn(int width, const QString& text)
        : Width(width)
        , Text(text)
    {
    }

    int Width = 30;
    QString Text;
};
