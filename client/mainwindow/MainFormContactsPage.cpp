// The contacts page: the tree of groups and address books, and which book the grid shows.
#include "MainForm.h"

#include "ContactsEditForm.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "contacts/Contacts.h"
#include "contacts/ZFileSystemModel.h"

#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QCursor>
#include <QPersistentModelIndex>
#include <QTreeView>

QString MainForm::OpenContactsBook() const
{
    return ui->ContactsGridList->whatsThis();
}

void MainForm::ContactsListChangedEvent()
{
    ZGridList* grid = ui->ContactsGridList;
    // A reload frees every book's grid: the grid lets go of it first.
    grid->SetDataSource(nullptr);
    ReloadContacts();
    if (g_ContactsEditForm)
        g_ContactsEditForm->UpdateBookList();
    if (ZGridListData* data = GetContactsData(OpenContactsBook())) {
        grid->SetDataSource(data);
    } else {
        ui->ContactsNameLabel->SetText(QString());
        grid->setWhatsThis(QString());
    }
    grid->UpdateData();
}

void MainForm::ContactsTreeItemDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid() || ContactsModel->IsDir(index))
        return;
    const QString key = ContactsModel->FilePath(index).mid(ContactsRoot.size());
    ui->ContactsNameLabel->SetText(QStringLiteral("  ") + key);
    ZGridList* grid = ui->ContactsGridList;
    grid->SetDataSource(GetContactsData(key));
    grid->UpdateData();
    grid->setWhatsThis(key);
}

void MainForm::on_ContactsTreeView_ItemRightClicked(const QPoint& pos, const QModelIndex& index)
{
    Q_UNUSED(pos);  // the menu opens at the cursor
    const bool valid = index.isValid();
    // Beside the items stands for the root folder.
    const bool group = !valid || ContactsModel->IsDir(index);
    g_ContactsRenameItem->Enabled = valid;
    g_ContactsDeleteNodeItem->Enabled = valid;
    g_ContactsAddGroupItem->Enabled = group;
    g_ContactsAddBookItem->Enabled = group;

    // Events run while the menu is open; a node removed meanwhile is not acted on.
    const QPersistentModelIndex node(index);
    ZMenuItem* chosen = g_ContactsTreeMenu->exec(QCursor::pos());
    if (!chosen || (valid && !node.isValid()))
        return;

    QTreeView* tree = ui->ContactsTreeView->TreeView;
    if (chosen == g_ContactsRenameItem) {
        // The model renames the file or folder when the editing ends.
        tree->edit(node);
    } else if (chosen == g_ContactsAddGroupItem) {
        tree->expand(node);
        const QModelIndex made = ContactsModel->Mkdir(node, QString());
        if (made.isValid())
            tree->edit(made);
    } else if (chosen == g_ContactsAddBookItem) {
        tree->expand(node);
        const QModelIndex made = ContactsModel->NewFile(node, QString());
        // Without a new node the path would be the parent's own: no book is written there.
        if (!made.isValid())
            return;
        CreateContactsFile(ContactsModel->FilePath(made));
        ContactsListChangedEvent();
        tree->edit(made);
    } else if (chosen == g_ContactsDeleteNodeItem) {
        // The model's change signal closes the book when it was the open one.
        ContactsModel->Remove(node);
    }
}
