#include "DeviceManageForm.h"

#include "ui_DeviceManageForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "ListMenu.h"
#include "RegisterDeviceForm.h"
#include "SearchDeviceThread.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "ZGridListData.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QCursor>
#include <QEvent>

namespace {

// Columns of both grids.
constexpr int kColumnCount = 7;
constexpr int kColumnWidths[kColumnCount] = {150, 100, 70, 130, 100, 200, 150};

// Cells of a search row that registration reads back.
enum SearchColumn { kRegistered = 0, kAddress = 3, kPort = 4, kDeviceId = 5, kFirmware = 6 };

// There is one page per program; these are its companions.
ZGridListData* g_RegisteredDeviceData = nullptr;
ZGridListData* g_SearchDeviceData = nullptr;
SearchDeviceThread* g_SearchDeviceThread = nullptr;
ZMenu* g_RegisteredDeviceMenu = nullptr;
ZMenuItem* g_EditDeviceItem = nullptr;
ZMenuItem* g_DeleteDeviceItem = nullptr;
ZMenu* g_SearchDeviceMenu = nullptr;
ZMenuItem* g_RegisterDeviceItem = nullptr;
RegisterDeviceForm* g_RegisterDeviceForm = nullptr;

void SetColumns(ZGridList* grid)
{
    grid->Columns.clear();
    for (int width : kColumnWidths)
        grid->AddColumn(width, QString());
    grid->ApplyColumn();
}

ZMenu* MakeMenu(QWidget* page, const char* name)
{
    ZMenu* menu = MakeListMenu(page, name);
    menu->SetItemForeColorDisable(QColor(200, 200, 200));
    return menu;
}

void FillRow(ZGridListRow* row, KesDevice* device)
{
    ZGridListCell* cells = row->Cells;
    cells[0] = device->Name;
    cells[1] = device->ModelName;
    cells[2] = device->Channels;
    cells[3] = device->IPaddress;
    cells[4] = device->Port;
    cells[5] = device->ID;
    cells[6] = device->Version.Get();
}

// The page's three operations end with the same two messages.
void ShowOutcome(bool ok, QWidget* page)
{
    ShowResultTip(ok, ok ? TextTips001 : TextTips002, page);
}

}  // namespace

DeviceManageForm::DeviceManageForm(QWidget* parent) : ZTabPage(parent, false), ui(new Ui::DeviceManageForm)
{
    Q_INIT_RESOURCE(DeviceManageForm);
    ui->setupUi(this);
    SetColumns(ui->RegisteredGridList);
    SetColumns(ui->SearchDeviceGridList);
    ui->SearchDeviceProgressBar->hide();
    hide();

    g_RegisteredDeviceData = new ZGridListData(kColumnCount);
    ui->RegisteredGridList->SetDataSource(g_RegisteredDeviceData);
    g_SearchDeviceData = new ZGridListData(kColumnCount);
    ui->SearchDeviceGridList->SetDataSource(g_SearchDeviceData);

    // The page is the context: signals still queued when the page goes are dropped with it.
    g_SearchDeviceThread = new SearchDeviceThread();
    connect(g_SearchDeviceThread, &SearchDeviceThread::ProgressSignal, this,
            [this](int percent) { ui->SearchDeviceProgressBar->SetValue(percent); });
    connect(g_SearchDeviceThread, &SearchDeviceThread::FoundDeviceSignal, this, &DeviceManageForm::FoundDeviceEvent);
    connect(g_SearchDeviceThread, &SearchDeviceThread::SearchDoneSignal, this, &DeviceManageForm::SearchDoneEvent);

    g_RegisteredDeviceMenu = MakeMenu(this, "RegisteredDeviceGridListMenu");
    g_EditDeviceItem = g_RegisteredDeviceMenu->AddItem(QString());
    g_DeleteDeviceItem = g_RegisteredDeviceMenu->AddItem(QString());
    g_SearchDeviceMenu = MakeMenu(this, "SearchDeviceGridListMenu");
    g_RegisterDeviceItem = g_SearchDeviceMenu->AddItem(QString());

    g_RegisterDeviceForm = new RegisterDeviceForm(this);

    connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this, &DeviceManageForm::DeviceListChangedEvent);
    FollowLanguageAndSkin(this);
}

DeviceManageForm::~DeviceManageForm()
{
    delete g_SearchDeviceThread;  // waits for a running search
    g_SearchDeviceThread = nullptr;
    delete g_RegisteredDeviceMenu;
    delete g_SearchDeviceMenu;
    g_RegisteredDeviceMenu = g_SearchDeviceMenu = nullptr;
    g_EditDeviceItem = g_DeleteDeviceItem = g_RegisterDeviceItem = nullptr;
    ui->RegisteredGridList->SetDataSource(nullptr);
    ui->SearchDeviceGridList->SetDataSource(nullptr);
    delete g_RegisteredDeviceData;
    delete g_SearchDeviceData;
    g_RegisteredDeviceData = g_SearchDeviceData = nullptr;
    delete g_RegisterDeviceForm;
    g_RegisterDeviceForm = nullptr;
    delete ui;
}

void DeviceManageForm::DeviceListChangedEvent(DeviceManageEvent Event, KesDevice* Device, int Index)
{
    const bool rowIndexValid = Index >= 0 && Index < g_RegisteredDeviceData->Rows.size();
    if ((Event == DeviceAdded || Event == DeviceChanged) && Device == nullptr)
        return;
    switch (Event) {
    case DeviceAdded: {
        // Appended whatever Index says: the device list appends too.
        ZGridListRow* row = g_RegisteredDeviceData->CreateRow();
        FillRow(row, Device);
        g_RegisteredDeviceData->AddRow(row);
        break;
    }
    case DeviceChanged:
        if (!rowIndexValid)
            return;
        FillRow(g_RegisteredDeviceData->Rows[Index], Device);
        break;
    case DeviceRemoved:
        // The index only: the device is on its way out.
        if (!rowIndexValid)
            return;
        g_RegisteredDeviceData->RemoveRow(Index);
        break;
    default:
        break;
    }
    ui->RegisteredGridList->UpdateData();
}

void DeviceManageForm::on_RegisteredGridList_RowDoubleClicked(int RowIndex, int ColumnIndex)
{
    emit EditDevice(RowIndex);
}

void DeviceManageForm::on_RegisteredGridList_RightClicked()
{
    const int index = ui->RegisteredGridList->SelectedRowIndex();
    if (index < 0)
        return;
    ZMenuItem* chosen = g_RegisteredDeviceMenu->exec(QCursor::pos());
    // Every change of the list clears the selection: a row chosen before a change is no longer the one shown.
    if (chosen == nullptr || ui->RegisteredGridList->SelectedRowIndex() != index)
        return;
    if (chosen == g_EditDeviceItem)
        emit EditDevice(index);
    else if (chosen == g_DeleteDeviceItem)
        DeleteDevice(index);
}

void DeviceManageForm::DeleteDevice(int Index)
{
    // The removal waits for the device's auto-login and heartbeat to stop: on the wait panel's thread, never here.
    bool removed = false;
    g_WaitForm->Thread->Task = [&removed, Index] { removed = DeviceManage::RemoveDevice(Index); };
    if (!g_WaitForm->Run())
        g_WaitForm->Thread->Task = nullptr;  // another run was in progress: ours never ran and must not later
    ShowOutcome(removed, this);
}

void DeviceManageForm::on_AddDeviceButton_Clicked()
{
    if (g_RegisterDeviceForm->Exec(QString()) == 0)
        return;
    KesDevice* device = KesDevice::Create(g_RegisterDeviceForm->Name, g_RegisterDeviceForm->ID);
    const bool added = device != nullptr && DeviceManage::AddDevice(device);
    if (!added)
        delete device;  // never listed: still ours, with its SDK connection
    ShowOutcome(added, this);
}

void DeviceManageForm::on_SearchDeviceButton_Clicked()
{
    if (m_Searching || g_SearchDeviceThread->isRunning())
        return;
    m_Searching = true;
    g_SearchDeviceData->Clear();
    ui->SearchDeviceGridList->UpdateData();
    ui->SearchDeviceProgressBar->SetValue(0);
    ui->SearchDeviceProgressBar->show();
    g_SearchDeviceThread->start(QThread::InheritPriority);
}

void DeviceManageForm::FoundDeviceEvent(Calvox_FoundDeviceInfo* Info)
{
    const QString id = QString::fromLatin1(Info->ID, sizeof Info->ID);
    ZGridListRow* row = g_SearchDeviceData->CreateRow();
    ZGridListCell* cells = row->Cells;
    cells[kRegistered] = DeviceManage::CheckDeviceID(id) == 2 ? TextMisc001 : TextMisc002;
    cells[1] = KesDevice::ModelDisplayName(Info->Model != nullptr ? QString::fromLatin1(Info->Model) : QString());
    cells[2] = Info->Channels;
    cells[kAddress] = QString::fromLatin1(Info->Address);
    cells[kPort] = int(Info->Port);
    cells[kDeviceId] = id;
    cells[kFirmware] = QString::fromLatin1(Info->FirmwareVersion);
    g_SearchDeviceData->AddRow(row);
    ui->SearchDeviceGridList->UpdateData();
}

void DeviceManageForm::SearchDoneEvent()
{
    m_Searching = false;
    ui->SearchDeviceProgressBar->hide();
}

void DeviceManageForm::on_SearchDeviceGridList_RowDoubleClicked(int RowIndex, int ColumnIndex)
{
    RegisterFoundDevice(RowIndex);
}

void DeviceManageForm::on_SearchDeviceGridList_RightClicked()
{
    const int index = ui->SearchDeviceGridList->SelectedRowIndex();
    if (index < 0)
        return;
    ZMenuItem* chosen = g_SearchDeviceMenu->exec(QCursor::pos());
    // A found device arriving meanwhile refreshes the grid and clears the selection: then nothing is chosen.
    if (chosen == g_RegisterDeviceItem && ui->SearchDeviceGridList->SelectedRowIndex() == index)
        RegisterFoundDevice(index);
}

void DeviceManageForm::RegisterFoundDevice(int RowIndex)
{
    if (RowIndex < 0 || RowIndex >= g_SearchDeviceData->Rows.size())
        return;
    // The texts are taken now: the search may go on while the editor is open.
    ZGridListRow* row = g_SearchDeviceData->Rows[RowIndex];
    const QString id = row->Cells[kDeviceId].Text;
    const QString address = row->Cells[kAddress].Text;
    const int port = row->Cells[kPort].Text.toInt(nullptr, 10);
    const QString firmware = row->Cells[kFirmware].Text;
    if (g_RegisterDeviceForm->Exec(id) == 0)
        return;

    KesDevice* device = KesDevice::Create(g_RegisterDeviceForm->Name, id);
    bool added = false;
    if (device != nullptr) {
        device->Version = firmware;
        device->SetNetAddr(address, port);
        added = DeviceManage::AddDevice(device);  // its file then holds the address, port and version
    }
    if (!added)
        delete device;
    ShowOutcome(added, this);
    if (added && g_SearchDeviceData->Rows.contains(row)) {
        row->Cells[kRegistered] = TextMisc001;
        ui->SearchDeviceGridList->UpdateData();
    }
}

bool DeviceManageForm::event(QEvent* e)
{
    if (e->type() == QEvent::Resize)
        PlaceWidgets();
    // No docked or anchored children and no tab button: the container's handling is all the page needs.
    return ZContainer::event(e);
}

void DeviceManageForm::PlaceWidgets()
{
    const int w = width();
    const int h = height();
    const int c = (h - 90) / 2;
    ZGridList* search = ui->SearchDeviceGridList;
    ZProgressBar* bar = ui->SearchDeviceProgressBar;
    ui->RegisteredGridList->LayoutSetGeometry(QRect(1, 40, w - 1, c));
    ui->Panel->LayoutSetGeometry(QRect(1, c + 40, w - 1, 50));
    search->LayoutSetGeometry(QRect(1, c + 90, w - 1, h - c - 90));
    // Centred over the rows, below the column header.
    const int header = search->ColumnHeaderHeight();
    bar->move(search->x() + (search->width() - bar->width()) / 2,
              search->y() + header + (search->height() - header - bar->height()) / 2);
}

void DeviceManageForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void DeviceManageForm::SkinChangedEvent()
{
    Skin::ApplySkin(this);
    const QColor theme = g_ThemeColor;
    QColor theme200 = theme;
    theme200.setAlpha(200);
    QColor theme100 = theme;
    theme100.setAlpha(100);
    for (ZButton* button : {ui->AddDeviceButton, ui->SearchDeviceButton}) {
        button->SetBackColor(theme);
        button->SetBackColorHover(theme200);
        button->SetBackColorPress(theme100);
    }
    ui->Label1->SetForeColor(theme);
    ui->Label2->SetForeColor(theme);
    ui->RegisteredGridList->SetBorderColor(theme);
    ui->SearchDeviceGridList->SetBorderColor(theme);
    ui->SearchDeviceProgressBar->SetForeColor(theme);
}
