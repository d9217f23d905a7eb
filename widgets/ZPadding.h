#pragma once
#include "VelourGlobal.h"

// Inner margin of a container in pixels, in this order: Top, Bottom, Left, Right.
struct ZPadding
{
    int Top = 0;
    int Bottom = 0;
    int Left = 0;
    int Right = 0;

    friend bool operator==(const ZPadding& a, const ZPadding& b)
    {
        return a.Top == b.Top && a.Bottom == b.Bottom && a.Left == b.Left && a.Right == b.Right;
    }
    friend bool operator!=(const ZPadding& a, const ZPadding& b) { return !(a == b); }
};
