#include "ListMenu.h"

#include "ZMenu.h"

#include <QColor>
#include <QLatin1String>

ZMenu* MakeListMenu(QWidget* parent, const char* name)
{
    auto* menu = new ZMenu(parent);
    menu->setObjectName(QLatin1String(name));
    menu->SetPadding(ZPadding{5, 5, 10, 30});
    menu->SetItemHeight(24);
    menu->SetBorder(PositionFlag::All);
    menu->SetBorderWidth(1);
    menu->SetBorderColor(QColor(230, 230, 230));
    menu->SetBackColor(Qt::white);
    menu->SetForeColor(QColor(100, 100, 100));
    return menu;
}
