#pragma once

// A stand-in for one of the client's windows, built from the window's built-in text map: a ZForm with the
// window's object name and one widget per map member, of the class the member's object name implies
// (...Label -> ZLabel, ...Button -> ZButton, ...CheckBox and WeekCheck.. -> ZCheckBox, ...TabControl ->
// ZTabControl, ...ComboBox -> ZComboBox, ...GridList -> ZGridList, ...Menu -> ZMenu). A grid gets one
// column and a menu one item per part of its text in the loaded language. "Title" is the form's own
// title. Every text starts as kDesignText, so a test sees which texts ApplyLanguage set.

#include "ZForm.h"

#include <QList>
#include <QString>

#include <memory>

class ZBase;

extern const char kDesignText[];

struct FixtureMember
{
    QString Name;    // object name, or "Title"
    QString Key;     // key of the window's group
    ZBase* Widget;   // null for "Title" and for members without a widget class
};

struct FixtureWindow
{
    std::unique_ptr<ZForm> Form;
    QList<FixtureMember> Members;  // in the map's member order
};

// The fixture of `window` (a group name such as "SoftwareSettingForm"); a tab control gets as many pages
// as `tabPages`. A window without a readable map gives a form without members.
FixtureWindow MakeFixtureWindow(const QString& window, int tabPages = 7);

// The text a member's widget shows now ("|"-joined page texts, items or headers for a tab control, combo
// box, menu or grid), or the form's title.
QString FixtureText(const FixtureWindow& fixture, const FixtureMember& member);
