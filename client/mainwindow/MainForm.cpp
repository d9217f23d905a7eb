#include "MainForm.h"

#include "contacts/Contacts.h"
#include "contacts/ZFileSystemModel.h"
#include "DataFolder.h"
#include "DevicePopups.h"
#include "StatusIcons.h"
#include "DeviceManageForm.h"
#include "DialForm.h"
#include "ContactsEditForm.h"
#include "EditRecordNotesForm.h"
#include "RecordStatisticsForm.h"
#include "GridListSetting.h"
#include "KesDevice.h"
#include "Language.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "store/RecordSearch.h"
#include "Skin.h"
#include "SkinForm.h"
#include "SoftwareSetting.h"
#include "SoftwareSettingForm.h"
#include "AddUserForm.h"
#include "ChannelSelectForm.h"
#include "ContactsEditForm.h"
#include "RecordStatisticsForm.h"
#include "WaitForm.h"
#include "WeekSelectForm.h"
#include "Volume.h"
#include "WorkerPool.h"
#include "ZMenu.h"
#include "ZTabControl.h"
#include "ZTrackBar.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTreeView>

#include <iterator>

MainForm::MainForm(QWidget* parent)
    : ZForm(parent)
    , ui(new Ui::MainForm())
{
    g_RecordSearchCondition.Target = 0;
    if (!InitDataFolder()) {
        FailStart();
        return;
    }

    // The window's handlers are connected before its pages, bars and dialogs connect their own, so on every change
    // those run after the window's and have the last word for their own widgets.
    g_Language = new Language();
    connect(g_Language, &Language::LanguageChanged, this, &MainForm::LanguageChangedEvent);
    g_Skin = new Skin();
    connect(g_Skin, &Skin::SkinChanged, this, &MainForm::SkinChangedEvent);

    g_DeviceManage = new DeviceManage();
    connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this, &MainForm::DeviceListChangedEvent);
    // The relayed signal, not each device's own: it drops the events a removed device had queued.
    connect(g_DeviceManage, &DeviceManage::DeviceEventSignal, this, &MainForm::DeviceEventDispose);

    InitContacts();
    connect(ContactsModel, &ZFileSystemModel::DataChanged, this, &MainForm::ContactsListChangedEvent);

    LoadSoftwareSetting();
    LoadGridListSetting();

    InitMainFormResources();
    SetUpMainForm(*ui, this);

    BuildMenus();
    BuildPages();
    BuildDialogs();

    Language::Load(g_SoftwareSetting.Language);
    Skin::Load();

    // Each device is announced (DeviceAdded) before its auto-login starts, so the tab bars know it before it
    // reports anything.
    KesDevice::LoadModelNames();
    DeviceManage::LoadDevices();
    DeviceManage::LoadLocalDeviceList();

    ContactsListChangedEvent();

    // The designed form starts muted at 0; a stored volume above 0 moves the slider, whose slot then shows the
    // sound image and clears the mute mark.
    LoadVolume();
    ui->MuteButton->Tag = 1;
    ui->PlayerVolumeTrackBar->SetValue1(g_Volume);
    // The slider holds a stored value outside 0..100 to its range; the player gets what the slider shows.
    CalvoxAPI_PlayerSetVolume(ui->PlayerVolumeTrackBar->Value1());

    ui->MainTabControl->SetSelectedIndex(0);
    ui->WeekTabControl->SetSelectedIndex(-1);

    g_RecordPlayer = new RecordPlayer();
    connect(g_RecordPlayer, &RecordPlayer::EventSignal, this, &MainForm::RecordPlayerEvent);
    g_BackupThread = new BackupThread();
    connect(g_BackupThread, &BackupThread::EventSignal, this, &MainForm::BackupEvent);
}

bool MainForm::Started() const
{
    return ui->MainTabControl != nullptr;
}

void MainForm::FailStart()
{
    // Nothing else was made: the destructor finds every global null and the tree unbuilt.
    setVisible(false);
    QMessageBox::critical(nullptr, "Error", "Load AppData Failed", QMessageBox::Ok);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

MainForm::~MainForm()
{
    TearDown();
    delete ui;
    ui = nullptr;
    // The tray icon, the other menus and the tab bars were children of the window or its pages.
    ForgetMainFormGlobals();
}

namespace {

template <typename T>
void DeleteGlobal(T*& pointer)
{
    delete pointer;
    pointer = nullptr;
}

} // namespace

void MainForm::TearDown()
{
    // Order matters: nothing may still run that uses what goes next. The single-instance server belongs to main
    // and is gone before this runs.
    if (g_RecordPlayer) {
        g_RecordPlayer->Stop();
        g_RecordPlayer->wait();
        DeleteGlobal(g_RecordPlayer);
    }
    // The backup worker holds devices and calls the SDK: it ends before the devices and the SDK do.
    if (g_BackupThread) {
        g_BackupThread->Stop();
        DeleteGlobal(g_BackupThread);
    }
    // Grids forget the devices' tables before the devices go; the all-devices table only borrows the devices'
    // rows, so it is emptied without freeing them.
    if (ui && ui->MonitorGridList) {
        ui->MonitorGridList->SetDataSource(nullptr);
        ui->OnlineUserGridList->SetDataSource(nullptr);
        ui->RecordGridList->SetDataSource(nullptr);
        ui->UserListGridList->SetDataSource(nullptr);
        ui->ContactsGridList->SetDataSource(nullptr);
    }
    if (g_AllDevicesMonitorData) {
        g_AllDevicesMonitorData->Lock();
        g_AllDevicesMonitorData->Rows.clear();
        g_AllDevicesMonitorData->Unlock();
    }

    // Record requests and clock syncs hold devices on a worker: they end before the devices do.
    if (m_DeviceWorkers)
        m_DeviceWorkers->WaitForDone();
    DeleteGlobal(m_Popups);
    DeleteGlobal(g_Language);
    DeleteGlobal(g_Skin);
    DeleteGlobal(g_DeviceManage);
    // No device is left to lock the all-devices table on its writes.
    KesDevice::SharedMonitorTable = nullptr;
    DeleteGlobal(g_AllDevicesMonitorData);
    // The window's own two status images; no device is left to point at them.
    DeleteGlobal(g_StatusIcons[kMonitoringIcon]);
    DeleteGlobal(g_StatusIcons[kPlayBackIcon]);
    if (ContactsModel) {
        if (ui && ui->ContactsTreeView)
            ui->ContactsTreeView->TreeView->setModel(nullptr);
        FreeContacts();
    }

    DeleteGlobal(g_MonitorGridListMenu);
    DeleteGlobal(g_RecordGridListMenu);
    DeleteGlobal(g_ContactsTreeMenu);

    DeleteGlobal(g_WaitForm);
    DeleteGlobal(g_SoftwareSettingForm);
    DeleteGlobal(g_DialForm);
    DeleteGlobal(g_AddUserForm);
    DeleteGlobal(g_ContactsEditForm);
    DeleteGlobal(g_EditRecordNotesForm);
    DeleteGlobal(g_ChannelSelectForm);
    DeleteGlobal(g_WeekSelectForm);
    // The two tab pages exist only where the tree was built (not on the failure path).
    if (ui && ui->MainTabControl && ui->MainTabControl->Count() > 7) {
        ui->MainTabControl->RemovePage(7);
        ui->MainTabControl->RemovePage(6);
    }
    DeleteGlobal(g_SkinForm);
    DeleteGlobal(g_DeviceManageForm);
    DeleteGlobal(g_RecordStatisticsForm);
}
