#include "../DialogTable.h"
#include "SkinForm.h"

static const bool row = AddDialogRow({"SkinForm", DialogTexts::FollowLanguage,
    [](QWidget* mainWindow) -> QWidget* { return new SkinForm(mainWindow); }});
