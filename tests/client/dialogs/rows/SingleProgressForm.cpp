#include "../DialogTable.h"

#include "SingleProgressForm.h"

// A close from the window system acts as the button; the driver's closing state ends the run with 0.
static const bool row = AddDialogRow({"SingleProgressForm", DialogTexts::None, [](QWidget* mainWindow) -> QWidget* {
    auto form = new SingleProgressForm(QStringLiteral("Download the file"), mainWindow);
    QObject::connect(form, &SingleProgressForm::CancelButtonClicked, form, [form]() { form->exit(0); });
    return form;
}});
