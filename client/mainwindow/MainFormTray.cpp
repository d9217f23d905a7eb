// The top bar, the tray icon, closing and the way out.
#include "MainForm.h"

#include "DialForm.h"
#include "GridListSetting.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "SoftwareSettingForm.h"
#include "Volume.h"
#include "ZMenu.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDragEnterEvent>
#include <QThread>
#include <QTimer>

std::function<bool()> MainForm::TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };

void MainForm::on_LogoButton_Clicked()
{
    g_SoftwareSettingForm->exec(true);
}

void MainForm::on_SkinButton_Clicked()
{
    ui->MainTabControl->SetSelectedIndex(6);
}

void MainForm::on_DeviceManageButton_Clicked()
{
    ui->MainTabControl->SetSelectedIndex(7);
}

void MainForm::on_DialButton_Clicked()
{
    if (g_DialForm->isVisible())
        g_DialForm->hide();
    else
        g_DialForm->Show(true);
}

void MainForm::on_MainTabControl_SelectedPageChanged(int PageIndex)
{
    if (PageIndex == 3)
        RefreshDeviceTime(true);
}

void MainForm::dragEnterEvent(QDragEnterEvent* event)
{
    // Any drag is welcome; the drop decides what it takes.
    event->acceptProposedAction();
}

void MainForm::CloseButtonClickedEvent()
{
    // The program lives on in the tray. Where no tray shows the icon, hiding would leave the operator nothing
    // to bring the window back with: minimise instead.
    if (TrayAvailable())
        hide();
    else
        showMinimized();
}

void MainForm::TrayIconEvent(QSystemTrayIcon::ActivationReason Reason)
{
    switch (Reason) {
    case QSystemTrayIcon::Context: {
        ZMenuItem* item = g_TrayIconMenu->exec(QCursor::pos());
        if (item == g_TrayIconShowItem)
            showNormal();
        else if (item == g_TrayIconExitItem)
            Exit();
        break;
    }
    case QSystemTrayIcon::DoubleClick:
    case QSystemTrayIcon::Trigger:  // most Linux trays report a left click only
        showNormal();
        break;
    default:
        break;
    }
}

void MainForm::Exit()
{
    if (m_Exiting || !ui->MainTabControl)
        return;
    m_Exiting = true;

    if (g_TrayIcon)
        g_TrayIcon->hide();
    GridListSetting.Width = width();
    GridListSetting.Height = height();
    const auto takeWidths = [](const ZGridList* grid, int* widths, int count) {
        for (int i = 0; i < count && i < grid->Columns.size(); ++i)
            widths[i] = grid->Columns.at(i).Width;
    };
    takeWidths(ui->MonitorGridList, GridListSetting.MonitorWidth, GridListSettingData::kMonitorColumns);
    takeWidths(ui->RecordGridList, GridListSetting.RecordWidth, GridListSettingData::kRecordColumns);
    takeWidths(ui->ContactsGridList, GridListSetting.ContactsColumns, GridListSettingData::kContactsColumns);
    SaveGridListSetting();
    // The slider's value, also while muted: the mute is not kept.
    g_Volume = ui->PlayerVolumeTrackBar->Value1();
    SaveVolume();

    FinishExit();
}

void MainForm::FinishExit()
{
    // Ending the event loop from inside a nested one (a dialog, the wait panel, a progress window) would end them
    // all at once, with their callers still on the stack. Close what runs, let the callers return, and end the
    // loop from the outermost level. A task under the wait panel runs to its end first.
    if (QThread::currentThread()->loopLevel() > 1) {
        for (QWidget* widget : QApplication::allWidgets()) {
            if (auto* form = qobject_cast<ZForm*>(widget))
                form->exit(0);
            else if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
                dialog->reject();
        }
        QTimer::singleShot(20, this, &MainForm::FinishExit);
        return;
    }
    QCoreApplication::exit(0);
}
