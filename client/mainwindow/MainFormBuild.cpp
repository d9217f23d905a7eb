// The objects the main window adds to its designed form, made once in this order: menus, pages, dialogs.
#include "MainForm.h"

#include "DeviceTabBar.h"

#include "AddUserForm.h"
#include "ChannelSelectForm.h"
#include "ContactsEditForm.h"
#include "RecordStatisticsForm.h"
#include "contacts/Contacts.h"
#include "contacts/ZFileSystemModel.h"
#include "DeviceManageForm.h"
#include "DevicePopups.h"
#include "DialForm.h"
#include "ContactsEditForm.h"
#include "EditRecordNotesForm.h"
#include "RecordStatisticsForm.h"
#include "GridListSetting.h"
#include "ListMenu.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ProgramFolder.h"
#include "SkinForm.h"
#include "SoftwareSettingForm.h"
#include "WaitForm.h"
#include "WeekSelectForm.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QDate>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QTreeView>

namespace {

// Items of the page menus start empty: the page's text map fills them on every language load.
void AddItems(ZMenu* menu, std::initializer_list<ZMenuItem**> items)
{
    for (ZMenuItem** item : items)
        *item = menu->AddItem(QString());
}

template <int N>
void SetColumns(ZGridList* grid, const int (&widths)[N])
{
    for (int width : widths)
        grid->AddColumn(width, QString());
    grid->ApplyColumn();
}

} // namespace

void MainForm::BuildMenus()
{
    g_TrayIconMenu = MakeListMenu(this, "TrayIconMenu");
    g_TrayIconShowItem = g_TrayIconMenu->AddItem("Show");
    g_TrayIconExitItem = g_TrayIconMenu->AddItem("Exit");

    g_MonitorGridListMenu = MakeListMenu(ui->MonitorTabPage, "MonitorGridListMenu");
    AddItems(g_MonitorGridListMenu,
             {&g_MonitorChannelSettingsItem, &g_MonitorMonitorItem, &g_MonitorDialItem, &g_MonitorPlayFileItem});
    connect(g_MonitorGridListMenu, &ZMenu::HoverItemChanged, this, &MainForm::MonitorGridListMenuHoverChangedEvent);

    g_MonitorGridListPlayFileListMenu = MakeListMenu(ui->MonitorTabPage, "MonitorGridListPlayFileListMenu");
    g_MonitorGridListPlayFileListMenu->SetAutoHide(true);

    const QColor disabledText(200, 200, 200);
    g_RecordGridListMenu = MakeListMenu(ui->RecordTabPage, "RecordGridListMenu");
    g_RecordGridListMenu->SetItemForeColorDisable(disabledText);
    AddItems(g_RecordGridListMenu, {&g_RecordPlayItem, &g_RecordDialItem, &g_RecordEditNotesItem, &g_RecordDownloadItem,
                                    &g_RecordDeleteItem, &g_RecordExportItem, &g_RecordAddContactItem});

    g_ContactsTreeMenu = MakeListMenu(ui->ContactsTabPage, "ContactsTreeMenu");
    g_ContactsTreeMenu->SetItemForeColorDisable(disabledText);
    AddItems(g_ContactsTreeMenu,
             {&g_ContactsRenameItem, &g_ContactsAddGroupItem, &g_ContactsAddBookItem, &g_ContactsDeleteNodeItem});

    g_ContactsGridListMenu = MakeListMenu(ui->ContactsTabPage, "ContactsGridListMenu");
    g_ContactsGridListMenu->SetItemForeColorDisable(disabledText);
    AddItems(g_ContactsGridListMenu, {&g_ContactsAddItem, &g_ContactsEditItem, &g_ContactsDeleteItem,
                                      &g_ContactsDialItem, &g_ContactsExportItem, &g_ContactsImportItem});
}

void MainForm::BuildPages()
{
    InitSettingTables();

    // Shown at once; the skin handler gives it its icon. Without a tray it is made all the same: closing then
    // minimises (see CloseButtonClickedEvent).
    g_TrayIcon = new QSystemTrayIcon(QIcon("://Icon.png"), this);
    g_TrayIcon->setVisible(true);

    BuildMonitorPage();
    BuildRecordPage();
    BuildOnlineUserPage();
    BuildContactsPage();
    BuildSettingPage();
    BuildBackupsPage();
    ApplyImageOverrides();
}

void MainForm::BuildRecordPage()
{
    SetColumns(ui->RecordGridList, GridListSetting.RecordWidth);
    // Recorder WAV files dragged onto the window are listed on this page; without this no drop arrives.
    setAcceptDrops(true);
    const QDate today = QDate::currentDate();
    ui->SearchStartDateTimeEdit->setDate(today);
    ui->SearchEndDateTimeEdit->setDate(today);
    ui->SearchEndDateTimeEdit->setTime(QTime(23, 59, 0, 0));
}

void MainForm::BuildContactsPage()
{
    QTreeView* tree = ui->ContactsTreeView->TreeView;
    tree->setModel(ContactsModel);
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(tree, &QTreeView::doubleClicked, this, &MainForm::ContactsTreeItemDoubleClicked);
    SetColumns(ui->ContactsGridList, GridListSetting.ContactsColumns);
}

void MainForm::BuildSettingPage()
{
    BuildSettingDeviceTabBar();

    ZButton* const bookmarks[] = {ui->BookmarkButton1, ui->BookmarkButton2, ui->BookmarkButton3,
                                        ui->BookmarkButton4, ui->BookmarkButton5, ui->BookmarkButton6,
                                        ui->BookmarkButton7, ui->BookmarkButton8, ui->BookmarkButton9,
                                        ui->BookmarkButton10};
    // Each section's scroll position: 15 pixels above its title label.
    const int positions[] = {0, 480, 960, 1380, 1710, 2070, 2760, 3220, 3660, 3860};
    for (int i = 0; i < 10; ++i) {
        bookmarks[i]->Tag = positions[i];
        connect(bookmarks[i], &ZButton::Clicked, this, &MainForm::BookmarkClickEvent);
    }

    ZButton* const copyButtons[] = {ui->AutoReplyCopyToButton1, ui->AutoReplyCopyToButton2,
                                    ui->AutoReplyCopyToButton3, ui->AutoReplyCopyToButton4,
                                    ui->AutoReplyCopyToButton5, ui->AutoReplyCopyToButton6,
                                    ui->AutoReplyCopyToButton7};
    for (int day = 0; day < 7; ++day) {
        copyButtons[day]->Tag = day;
        connect(copyButtons[day], &ZButton::Clicked, this, &MainForm::AutoReplyCopyToButtonClickedEvent);
    }

    const int userColumns[] = {128, 100, 100, 100, 100, 100};
    SetColumns(ui->UserListGridList, userColumns);
}

void MainForm::ApplyImageOverrides()
{
    // An integrator's own images beside the program replace the designed ones; a missing file keeps the design.
    const QString folder = ProgramFolder() + "/Image/";
    const auto image = [&folder](const char* name, const std::function<void(const QPixmap&)>& apply) {
        const QString path = folder + name;
        if (!QFileInfo::exists(path))
            return;
        const QPixmap pixmap(path);
        if (!pixmap.isNull())
            apply(pixmap);
    };
    image("Logo.png", [this](const QPixmap& p) { ui->LogoButton->SetImage(p); });
    const struct {
        ZTabPage* page;
        const char* normal;
        const char* selected;
    } pages[] = {
        {ui->MonitorTabPage, "MonitorTabNormal.png", "MonitorTabSelected.png"},
        {ui->RecordTabPage, "RecordTabNormal.png", "RecordTabSelected.png"},
        {ui->OnlineUserTabPage, "UserTabNormal.png", "UserTabSelected.png"},
        {ui->SettingTabPage, "SettingTabNormal.png", "SettingTabSelected.png"},
        {ui->ContactsTabPage, "ContactsTabNormal.png", "ContactsTabSelected.png"},
        {ui->BackupsTabPage, "BackupsTabNormal.png", "BackupsTabSelected.png"},
    };
    for (const auto& entry : pages) {
        ZTabPage* page = entry.page;
        image(entry.normal, [page](const QPixmap& p) { page->SetTabBarImage(p); });
        image(entry.selected, [page](const QPixmap& p) { page->SetTabBarImageSelected(p); });
    }
}

void MainForm::BuildDialogs()
{
    g_WaitForm = new WaitForm(this);
    g_SoftwareSettingForm = new SoftwareSettingForm(this);
    g_DialForm = new DialForm(this);
    g_AddUserForm = new AddUserForm(this);
    g_ContactsEditForm = new ContactsEditForm(this);
    g_EditRecordNotesForm = new EditRecordNotesForm(this);
    g_ChannelSelectForm = new ChannelSelectForm(this);
    g_WeekSelectForm = new WeekSelectForm(this);
    g_SkinForm = new SkinForm(this);
    g_DeviceManageForm = new DeviceManageForm(this);
    g_RecordStatisticsForm = new RecordStatisticsForm(this);

    m_Popups = new DevicePopups(this);
    connect(m_Popups, &DevicePopups::AddContactRequested, this, &MainForm::PopupAddContactEvent);

    connect(g_TrayIcon, &QSystemTrayIcon::activated, this, &MainForm::TrayIconEvent);
    connect(g_DeviceManageForm, &DeviceManageForm::EditDevice, this, [this](int index) {
        g_SettingDeviceTabBar->SetSelectedDeviceIndex(index);
        ui->MainTabControl->SetSelectedIndex(3);
    });
    ui->MainTabControl->AddPage(g_SkinForm);
    ui->MainTabControl->AddPage(g_DeviceManageForm);
}
