#pragma once
#include "VelourGlobal.h"
#include <QObject>

// Input filter and display mode of a line editor.
class VELOUR_EXPORT TextType
{
    Q_GADGET
public:
    enum Types { Normal = 0, ASCII = 1, Number = 2, Password = 3, IPaddress = 4, MACaddress = 5, PhoneNumber = 6 };
    Q_ENUM(Types)
};
