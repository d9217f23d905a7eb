#pragma once

#include "contacts/ContactInfo.h"

#include "ZForm.h"

#include <QString>

namespace Ui {
class ContactsEditForm;
}

// The contact editor: adds a phone-book entry or edits one. The main window fills BookPath and Contact, runs
// Exec and, after a confirm, stores Contact in the book BookPath through the contacts store; the form itself
// never writes a book. Long-lived: made once with the main window as parent, hidden between runs.
//
// On every language change it also writes the contacts store's GenderTexts (the names of gender 0 and 1) and
// renames the Gender cells of the books already loaded.
class ContactsEditForm : public ZForm
{
    Q_OBJECT

public:
    explicit ContactsEditForm(QWidget* parent);
    ~ContactsEditForm() override;

    // Replaces the book list by the keys of the loaded books, in the store's (ascending) order.
    void UpdateBookList();

    // Runs the editor centred over the main window. The book list selects the item equal to BookPath (none
    // when no item is). edit: every field from Contact, the edit title; otherwise the add title, phone in the
    // phone field, the first gender and every other field empty. 1 after Confirm (BookPath and Contact then
    // hold the input), 0 after Cancel or any other end of the run (members unchanged). While a run of this
    // form is open (a call pop-up's add request arrives under it) returns 0 at once, touching nothing.
    int Exec(bool edit, const QString& phone);

    // The entry's book: a key of the contacts store ("/Group/Book"). Empty after construction.
    QString BookPath;
    // The entry itself; Gender is the index of the chosen gender item (0 or 1).
    ContactInfo Contact;

private slots:
    // Refuses an empty name (blanks are a name) and a confirm without a chosen book: AddContact would drop the
    // entry, and a move of an edited entry would lose it. Otherwise takes every field and ends with 1.
    void on_ConfirmButton_Clicked();
    void on_CancelButton_Clicked();

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);
    void LanguageChangedEvent();
    void SkinChangedEvent();

    Ui::ContactsEditForm* ui;
    QString m_Titles[2];  // add, edit
    bool m_Running = false;
};
