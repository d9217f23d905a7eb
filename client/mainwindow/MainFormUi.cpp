#include "MainFormUi.h"

void InitMainFormResources()
{
    // Pulls the static library's resource object into the program.
    Q_INIT_RESOURCE(MainForm);
}

void SetUpMainForm(Ui::MainForm& ui, ZForm* form)
{
    ui.setupUi(form);
}
