#pragma once
#include "VelourGlobal.h"
#include <QFlags>
#include <QObject>

// Sides of a rectangle as flags: anchors and bordered sides.
class VELOUR_EXPORT PositionFlag
{
    Q_GADGET
public:
    enum Flag { None = 0, Top = 1, Bottom = 2, Left = 4, Right = 8, All = 15 };
    Q_DECLARE_FLAGS(Flags, Flag)
    Q_FLAG(Flags)
};
Q_DECLARE_OPERATORS_FOR_FLAGS(PositionFlag::Flags)
