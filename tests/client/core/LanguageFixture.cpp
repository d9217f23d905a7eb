#include "LanguageFixture.h"

#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZGridList.h"
#include "ZLabel.h"
#include "ZMenu.h"
#include "ZMenuItem.h"
#include "ZTabControl.h"
#include "ZTabPage.h"

#include "Language.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

const char kDesignText[] = "design";

namespace {

ZBase* MakeWidget(ZForm* form, const QString& name, int parts, int tabPages)
{
    ZBase* widget = nullptr;
    if (name.endsWith("Menu")) {
        auto menu = new ZMenu(form);
        for (int i = 0; i < parts; ++i)
            menu->AddItem(kDesignText);
        widget = menu;
    } else if (name.contains("GridList")) {
        auto grid = new ZGridList(form);
        for (int i = 0; i < parts; ++i)
            grid->AddColumn(60, kDesignText);
        grid->ApplyColumn();
        widget = grid;
    } else if (name.contains("ComboBox")) {
        auto comboBox = new ZComboBox(form);
        comboBox->SetItems({kDesignText});
        widget = comboBox;
    } else if (name.contains("TabControl")) {
        auto tabs = new ZTabControl(form);
        for (int i = 0; i < tabPages; ++i) {
            auto page = new ZTabPage;
            page->SetText(kDesignText);
            tabs->AddPage(page);
        }
        widget = tabs;
    } else if (name.contains("CheckBox") || name.startsWith("WeekCheck")) {
        auto box = new ZCheckBox(form);
        box->SetText(kDesignText);
        widget = box;
    } else if (name.contains("Button")) {
        auto button = new ZButton(form);
        button->SetText(kDesignText);
        widget = button;
    } else if (name.contains("Label")) {
        auto label = new ZLabel(form);
        label->SetText(kDesignText);
        widget = label;
    } else {
        qFatal("fixture: no widget class for the map member %s", qPrintable(name));
    }
    widget->setObjectName(name);
    return widget;
}

}  // namespace

FixtureWindow MakeFixtureWindow(const QString& window, int tabPages)
{
    FixtureWindow fixture;
    fixture.Form.reset(new ZForm);
    fixture.Form->setObjectName(window);
    fixture.Form->SetTitle(kDesignText);

    QFile file(":/" + window + ".json");
    if (!file.open(QIODevice::ReadOnly))
        return fixture;
    const QJsonObject map = QJsonDocument::fromJson(file.readAll()).object();
    for (auto member = map.constBegin(); member != map.constEnd(); ++member) {
        const QString key = member.value().toString();
        const int parts = g_LanguageTexts.value(window).value(key).split('|').size();
        ZBase* widget = member.key() == "Title" ? nullptr : MakeWidget(fixture.Form.get(), member.key(), parts, tabPages);
        fixture.Members.append({member.key(), member.value().toString(), widget});
    }
    return fixture;
}

QString FixtureText(const FixtureWindow& fixture, const FixtureMember& member)
{
    if (member.Name == "Title" && !member.Widget)
        return fixture.Form->Title();
    if (auto label = qobject_cast<ZLabel*>(member.Widget))
        return label->Text();
    if (auto button = qobject_cast<ZBaseButton*>(member.Widget))
        return button->Text();
    if (auto tabs = qobject_cast<ZTabControl*>(member.Widget)) {
        QStringList pages;
        for (int i = 0; i < tabs->Count(); ++i)
            pages << tabs->Page(i)->Text();
        return pages.join('|');
    }
    if (auto comboBox = qobject_cast<ZComboBox*>(member.Widget))
        return comboBox->Items().join('|');
    if (auto grid = qobject_cast<ZGridList*>(member.Widget)) {
        QStringList headers;
        for (const ZGridListColumn& column : grid->Columns)
            headers << column.Text;
        return headers.join('|');
    }
    if (auto menu = qobject_cast<ZMenu*>(member.Widget)) {
        QStringList items;
        for (int i = 0; i < menu->ItemCount(); ++i)
            items << menu->Item(i)->Text;
        return items.join('|');
    }
    return QString();
}
