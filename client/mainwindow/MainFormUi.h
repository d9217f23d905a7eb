#pragma once
// The main window's designed widget tree: Ui::MainForm, made by uic from client/forms/MainForm.ui.
//
// setupUi(ZForm*) builds the 487 widgets under the form in their fixed order (player bar, tab control, the six
// pages each added after its children, the four top-bar buttons), runs retranslateUi (design texts) and binds
// the form's on_<ObjectName>_<Signal> slots by name. The form object has one member per widget, named like
// the widget; reach widgets through it, not by searching the window, which later holds more widgets of the
// same names (device tab bars, dialogs shown inside pages).
#include "ui_MainForm.h"

// Makes the main window's images (":/MainForm/...") available. They live in this static library, so a
// program must call this before SetUpMainForm, else the images load null.
void InitMainFormResources();

// Builds the designed widget tree on form: ui.setupUi(form). uic writes it as one inline function of some
// 4,500 lines; calling it through here compiles it once for the library and every program that builds the form,
// not once per caller (a minute each with the sanitizers on).
void SetUpMainForm(Ui::MainForm& ui, ZForm* form);
