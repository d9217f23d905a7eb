// Registers the enum holder types with the meta-type system when the library is loaded, so that properties
// of these types read back the same way whether or not anything else registered them first, and so that a
// PositionFlag::Flags value converts to and from int (QVariant::toInt, setProperty with a plain number).
#include "DockType.h"
#include "OrientationType.h"
#include "PositionFlag.h"
#include "PositionType.h"
#include "TextType.h"

#include <QMetaType>

namespace {

struct VelourMetaTypes
{
    VelourMetaTypes()
    {
        qRegisterMetaType<DockType::Types>();
        qRegisterMetaType<PositionFlag::Flags>();
        qRegisterMetaType<PositionType::Types>();
        qRegisterMetaType<OrientationType::Types>();
        qRegisterMetaType<TextType::Types>();
        QMetaType::registerConverter<PositionFlag::Flags, int>([](PositionFlag::Flags f) { return int(f); });
        QMetaType::registerConverter<int, PositionFlag::Flags>([](int v) { return PositionFlag::Flags(v); });
    }
};

const VelourMetaTypes registration;

} // namespace
