#include "Language.h"

#include "LanguageFile.h"

#include "ZBase.h"
#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZForm.h"
#include "ZGridList.h"
#include "ZLabel.h"
#include "ZMenu.h"
#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QJsonObject>

// Sets one widget's text by its class; list texts are split at "|" with empty parts kept, and neither
// the text nor its parts are trimmed (some items end in a blank on purpose).
static void ApplyText(ZBase* widget, const QString& text)
{
    if (auto label = qobject_cast<ZLabel*>(widget)) {
        label->SetText(text);
    } else if (qobject_cast<ZButton*>(widget) || qobject_cast<ZCheckBox*>(widget)) {
        static_cast<ZBaseButton*>(widget)->SetText(text);
    } else if (auto comboBox = qobject_cast<ZComboBox*>(widget)) {
        comboBox->SetItems(text.split(QLatin1Char('|'), Qt::KeepEmptyParts));
    } else if (auto gridList = qobject_cast<ZGridList*>(widget)) {
        // The columns exist already; surplus parts are dropped, surplus columns keep their headers.
        const QStringList parts = text.split(QLatin1Char('|'), Qt::KeepEmptyParts);
        for (int i = 0; i < parts.size() && i < gridList->Columns.size(); ++i)
            gridList->Columns[i].Text = parts.at(i);
        gridList->ApplyColumn();
    } else if (auto tabControl = qobject_cast<ZTabControl*>(widget)) {
        const QStringList parts = text.split(QLatin1Char('|'), Qt::KeepEmptyParts);
        int part = 0;
        const QObjectList children = tabControl->children();
        for (QObject* child : children) {
            if (part >= parts.size())
                break;
            if (auto page = qobject_cast<ZTabPage*>(child))
                page->SetText(parts.at(part++));
        }
    } else if (auto menu = qobject_cast<ZMenu*>(widget)) {
        // Items are matched by index; a part without an item is ignored by the menu.
        const QStringList parts = text.split(QLatin1Char('|'), Qt::KeepEmptyParts);
        for (int i = 0; i < parts.size(); ++i)
            menu->SetItemText(i, parts.at(i));
    }
}

void Language::ApplyLanguage(QWidget* window)
{
    if (!window)
        return;
    const QString name = window->objectName();
    const auto group = g_LanguageTexts.constFind(name);
    if (group == g_LanguageTexts.constEnd() || group->isEmpty())
        return;

    QJsonObject map;
    if (!ReadJsonObjectFile(QStringLiteral(":/%1.json").arg(name), &map))
        return;
    for (auto member = map.constBegin(); member != map.constEnd(); ++member) {
        const QString text = group->value(member.value().toString());
        if (text.isEmpty())
            continue;
        if (ZBase* widget = window->findChild<ZBase*>(member.key())) {
            ApplyText(widget, text);
        } else if (member.key() == QLatin1String("Title")) {
            if (auto form = qobject_cast<ZForm*>(window))
                form->SetTitle(text);
        }
    }
}
