#pragma once
#include "VelourGlobal.h"
#include <QObject>

// Side of the remaining container area to which a child is glued by its container's layout.
class VELOUR_EXPORT DockType
{
    Q_GADGET
public:
    enum Types { None = 0, Top = 1, Bottom = 2, Left = 3, Right = 4, Fill = 5 };
    Q_ENUM(Types)
};
