#include "Skin.h"

#include "ZBase.h"
#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZGridList.h"
#include "ZHourMinutePicker.h"
#include "ZItemList.h"
#include "ZLineEdit.h"
#include "ZMenu.h"
#include "ZScrollPanel.h"
#include "ZTabControl.h"
#include "ZTabPage.h"
#include "ZTrackBar.h"

static void ApplyTabControl(ZTabControl* tabControl, const QColor& theme)
{
    const bool mainTabs = tabControl->objectName() == QLatin1String("MainTabControl");
    const bool weekTabs = tabControl->objectName() == QLatin1String("WeekTabControl");
    const QObjectList children = tabControl->children();
    for (QObject* child : children) {
        auto page = qobject_cast<ZTabPage*>(child);
        if (!page)
            continue;
        if (mainTabs) {
            page->SetTabBarBackColor(theme);
            page->SetTabBarBackColorHover(theme);
            page->SetTabBarBackColorPress(theme);
            page->SetTabBarBackColorSelected(theme);
        } else if (weekTabs) {
            page->SetTabBarBorderColorSelected(theme);
        }
        Skin::ApplySkin(page);
    }
}

void Skin::ApplySkin(QObject* parent)
{
    if (!parent)
        return;
    const QColor& theme = g_ThemeColor;
    const QColor& text = g_TextColor;
    // A copy: re-colouring must not be disturbed by a child list that changes underneath.
    const QObjectList children = parent->children();
    for (QObject* child : children) {
        auto widget = qobject_cast<ZBase*>(child);
        if (!widget || widget->UserFlag())
            continue;
        if (auto button = qobject_cast<ZButton*>(widget)) {
            button->SetBorderColorHover(theme);
            button->SetForeColorHover(theme);
        } else if (auto checkBox = qobject_cast<ZCheckBox*>(widget)) {
            checkBox->SetCheckRectColorHover(theme);
            checkBox->SetCheckFlagColor(theme);
        } else if (auto comboBox = qobject_cast<ZComboBox*>(widget)) {
            comboBox->SetItemBackColorHover(theme);
            comboBox->SetItemForeColorHover(text);
            comboBox->SetDropDownButtonColor(theme);
            comboBox->SetBorderColorHover(theme);
        } else if (auto lineEdit = qobject_cast<ZLineEdit*>(widget)) {
            lineEdit->SetSelectedTextBackColor(theme);
            lineEdit->SetSelectedTextForeColor(text);
            lineEdit->SetBorderColorHover(theme);
        } else if (auto scrollPanel = qobject_cast<ZScrollPanel*>(widget)) {
            scrollPanel->SetSliderColorHover(theme);
            ApplySkin(scrollPanel->ScrollWidget());
        } else if (auto gridList = qobject_cast<ZGridList*>(widget)) {
            gridList->SetCheckFlagColor(theme);
            gridList->SetSliderColorHover(theme);
            gridList->SetColumnHeaderBackColorHover(theme);
            gridList->SetColumnHeaderForeColorHover(text);
            gridList->SetLockedRowForeColor(theme);
        } else if (auto tabControl = qobject_cast<ZTabControl*>(widget)) {
            ApplyTabControl(tabControl, theme);
        } else if (auto itemList = qobject_cast<ZItemList*>(widget)) {
            itemList->SetSliderColorHover(theme);
            itemList->SetItemBackColorSelected(theme);
            itemList->SetItemForeColorSelected(text);
        } else if (auto trackBar = qobject_cast<ZTrackBar*>(widget)) {
            trackBar->SetMainLineFillColor1(theme);
            trackBar->SetButtonColor(theme);
            trackBar->SetButtonColorHover(theme);
        } else if (auto picker = qobject_cast<ZHourMinutePicker*>(widget)) {
            picker->SetButtonColor(theme);
            picker->SetSelectedItemBackColor(theme);
            picker->SetSelectedItemForeColor(text);
        } else if (auto menu = qobject_cast<ZMenu*>(widget)) {
            menu->SetItemBackColorHover(theme);
            menu->SetItemForeColorHover(text);
        } else {
            ApplySkin(widget);  // panels, labels, containers, forms: only what is inside them
        }
    }
}
