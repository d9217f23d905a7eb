#pragma once

// The table of every dialog of the client, which tst_dialog_table checks as a whole. A dialog joins it with
// one file in rows/ (the folder is globbed):
//
//     #include "../DialogTable.h"
//     #include "SomeForm.h"
//     static const bool row = AddDialogRow({"SomeForm", DialogTexts::FollowLanguage,
//                                           [](QWidget* mainWindow) -> QWidget* { return new SomeForm(mainWindow); }});
//
// Make builds the dialog the way the client does (with the stand-in main window as parent, or none for the
// pop-ups) and may wire what its owner wires, so that a close from the window system ends a run as it would in
// the client.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

enum class DialogTexts {
    None,            // no text map: texts come from the caller (message box, wait panel, progress dialog)
    FollowLanguage,  // connected to LanguageChanged: every language load renames it, shown or hidden
    AtConstruction,  // per-event windows: named once by their constructor, from the language then loaded
};

struct DialogRow
{
    QString Name;  // class name = object name = ui class = the root widget's name in client/forms/<Name>.ui
    DialogTexts Texts;
    std::function<QWidget*(QWidget* mainWindow)> Make;
    // Map keys that on purpose name no widget of the dialog (left alone by ApplyLanguage).
    QStringList UnusedMapKeys = {};
};

inline std::vector<DialogRow>& DialogRows()
{
    static std::vector<DialogRow> rows;
    return rows;
}

inline bool AddDialogRow(DialogRow row)
{
    DialogRows().push_back(std::move(row));
    return true;
}
