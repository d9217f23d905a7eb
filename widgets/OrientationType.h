#pragma once
#include "VelourGlobal.h"
#include <QObject>

// Direction of a slider or a scroll bar.
class VELOUR_EXPORT OrientationType
{
    Q_GADGET
public:
    enum Types { Horizontal = 0, Vertical = 1 };
    Q_ENUM(Types)
};
