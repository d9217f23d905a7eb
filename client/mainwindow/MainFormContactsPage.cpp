// The contacts page: the tree of address books and the open book's contacts.
#include "MainForm.h"

void MainForm::ContactsListChangedEvent() {}

void MainForm::ContactsTreeItemDoubleClicked(const QModelIndex& index)
{
    Q_UNUSED(index);
}
