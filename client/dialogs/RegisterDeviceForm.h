#pragma once

#include "ZForm.h"

#include <QString>

namespace Ui {
class RegisterDeviceForm;
}

// The small modal window in which the operator gives the ID and the display name of a recorder to register.
// The device management page owns the one instance and opens it either empty (a device typed in by hand) or with
// the ID of a device found on the network (shown, locked). The window only checks the two texts and hands them
// back; the caller creates and lists the device.
class RegisterDeviceForm : public ZForm
{
    Q_OBJECT

public:
    explicit RegisterDeviceForm(QWidget* parent);
    ~RegisterDeviceForm() override;

    // Clears the name, shows `id` (editable only when it is empty) and runs the window modally: 1 after a
    // Register press that passed every check, 0 after Cancel or when the window was closed or hidden.
    int Exec(const QString& id);

    // The trimmed texts of the last Register press: ID always, Name only once the ID passed its checks. Read
    // them after Exec returned 1.
    QString ID;
    QString Name;

private slots:
    // Refuses, with a tooltip at the field concerned, an empty or invalid ID, an ID already registered, an
    // empty name or a name already registered (exact case); otherwise ends the run with 1.
    void on_RegisterButton_Clicked();
    void on_CancelButton_Clicked();

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);
    void LanguageChangedEvent();
    void SkinChangedEvent();

    Ui::RegisterDeviceForm* ui;
};
