#include "ZMenuItem.h"

ZMenuItem::ZMenuItem(const QString& text)
    : QObject(nullptr)
    , Text(text)
{
}
