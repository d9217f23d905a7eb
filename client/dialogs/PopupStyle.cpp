#include "PopupStyle.h"

#include "Skin.h"

QString PopupTextEditStyle()
{
    return QStringLiteral("QTextEdit{    color:rgb(100,100,100);    background-color:transparent;    border:1px solid "
                          "rgb(230,230,230);    selection-color:rgb(%4,%5,%6);    selection-background-color:rgb(%1,%2,"
                          "%3);}QTextEdit:hover{    border-color:rgb(%1,%2,%3);}QTextEdit:focus{    "
                          "border-color:rgb(%1,%2,%3);}")
        .arg(g_ThemeColor.red())
        .arg(g_ThemeColor.green())
        .arg(g_ThemeColor.blue())
        .arg(g_TextColor.red())
        .arg(g_TextColor.green())
        .arg(g_TextColor.blue());
}
