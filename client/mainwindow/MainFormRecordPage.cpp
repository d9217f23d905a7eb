// The record page: search criteria, search, dropped files and the record menu.
#include "MainForm.h"

#include <QDropEvent>

void MainForm::dropEvent(QDropEvent* event)
{
    Q_UNUSED(event);
}
