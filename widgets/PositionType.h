#pragma once
#include "VelourGlobal.h"
#include <QObject>

// One side of a rectangle (where a tab bar sits).
class VELOUR_EXPORT PositionType
{
    Q_GADGET
public:
    enum Types { Top = 0, Bottom = 1, Left = 2, Right = 3 };
    Q_ENUM(Types)
};
