#include "DialogFrame.h"

#include "TipForm.h"

#include "ZForm.h"

#include <QToolTip>

void ApplyDialogSkin(ZForm* form)
{
    Skin::ApplySkin(form);
    form->SetTitleBackColor(g_ThemeColor);
    form->SetForeColor(g_TextColor);
}

void ShowInputTip(QWidget* field, const QString& text)
{
    QToolTip::showText(field->mapToGlobal(QPoint(2, -10)), text);
}

void ShowResultTip(bool success, const QString& text, QWidget* parent)
{
    TipForm tip(success, text, parent);
    tip.exec(true);
}
