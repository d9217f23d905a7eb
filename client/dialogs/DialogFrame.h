#pragma once

// What every dialog of the client shares besides its base class (ZForm, ZTabPage or ZPanel): following the
// language and the theme colour, the common colouring of a ZForm dialog, and the two ways of reporting an
// error. A long-lived dialog's constructor ends with FollowLanguageAndSkin(this); its LanguageChangedEvent
// calls Language::ApplyLanguage(this) and its SkinChangedEvent starts with ApplyDialogSkin(this).

#include "Language.h"
#include "Skin.h"

#include <QObject>
#include <QString>

class QWidget;
class ZForm;

// Connects g_Language's LanguageChanged to form->LanguageChangedEvent() and g_Skin's SkinChanged to
// form->SkinChangedEvent(), with the form as context (the connections end with it). Applies nothing: the
// main window builds its dialogs before it loads the language and the skin, whose first signals colour and
// name them. The two handlers may be private when the form declares FollowLanguageAndSkin a friend.
template <typename Form>
void FollowLanguageAndSkin(Form* form)
{
    QObject::connect(g_Language, &Language::LanguageChanged, form, [form]() { form->LanguageChangedEvent(); });
    QObject::connect(g_Skin, &Skin::SkinChanged, form, [form]() { form->SkinChangedEvent(); });
}

// The colouring every ZForm dialog starts its skin step with: the theme on its widgets (Skin::ApplySkin),
// the title bar in the theme colour and the title text in the text colour.
void ApplyDialogSkin(ZForm* form);

// A refused input: `text` as a tooltip just above the left end of `field` (its point (2, -10) on the
// screen). The dialog stays open with its input.
void ShowInputTip(QWidget* field, const QString& text);

// The outcome of a request: a message box (TipForm) over `parent`, run until it has faded out.
void ShowResultTip(bool success, const QString& text, QWidget* parent);
