#include "../DialogTable.h"
#include "ChannelSelectForm.h"

static const bool row = AddDialogRow({"ChannelSelectForm", DialogTexts::FollowLanguage,
                                      [](QWidget* mainWindow) -> QWidget* { return new ChannelSelectForm(mainWindow); }});
