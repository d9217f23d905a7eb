#include "../DialogTable.h"
#include "SoftwareSettingForm.h"

static const bool row = AddDialogRow({"SoftwareSettingForm", DialogTexts::FollowLanguage,
    [](QWidget* mainWindow) -> QWidget* { return new SoftwareSettingForm(mainWindow); },
    // The map also names notes pop-up boxes that the dialog does not have.
    {"NotesPopupCheckBox1", "NotesPopupCheckBox2", "NotesPopupCheckBox3"}});
