#pragma once

#include "DeviceManage.h"
#include "ZTabPage.h"

struct Calvox_FoundDeviceInfo;
class KesDevice;

namespace Ui {
class DeviceManageForm;
}

// The main window's page for the list of registered recorders: one grid shows the registered devices (row i is
// device i of the device list, kept so by following DeviceListChanged), a second one the recorders a network
// search found. From here the operator searches, registers a device typed in by hand or one found (through the
// device entry editor), deletes a device and asks to edit one (EditDevice, handled by the main window).
//
// One page per program: its grid tables, search thread, context menus and device entry editor are module-level
// objects that the constructor creates and the destructor frees. The page exists before the first device is
// listed and is deleted before DeviceManage. All of it runs on the GUI thread; the search runs on its own thread
// and a removal on the wait panel's.
class DeviceManageForm : public ZTabPage
{
    Q_OBJECT

public:
    explicit DeviceManageForm(QWidget* parent);
    // Waits for a running search to end (the SDK bounds it: about 2.5 s per local address, then 500 ms), then
    // frees the search thread, the menus, the grid tables and the editor.
    ~DeviceManageForm() override;

signals:
    // The operator asked to edit the registered device at this index of the device list.
    void EditDevice(int Index);

private slots:
    void on_RegisteredGridList_RowDoubleClicked(int RowIndex, int ColumnIndex);
    // The Edit / Delete menu of the selected row; no menu without a selected row.
    void on_RegisteredGridList_RightClicked();
    void on_AddDeviceButton_Clicked();
    // Starts a search unless one is running: the result grid is emptied and the progress bar shown.
    void on_SearchDeviceButton_Clicked();
    // Registers the found device of that row (its ID is shown locked in the editor).
    void on_SearchDeviceGridList_RowDoubleClicked(int RowIndex, int ColumnIndex);
    void on_SearchDeviceGridList_RightClicked();

protected:
    // On resize, shares the height between the two grids and keeps the progress bar centred over the search rows.
    bool event(QEvent* e) override;

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);
    void DeviceListChangedEvent(DeviceManageEvent Event, KesDevice* Device, int Index);
    void LanguageChangedEvent();
    void SkinChangedEvent();

    void FoundDeviceEvent(Calvox_FoundDeviceInfo* Info);
    void SearchDoneEvent();
    void DeleteDevice(int Index);
    void RegisterFoundDevice(int RowIndex);
    void PlaceWidgets();

    Ui::DeviceManageForm* ui;
    // From the press of Search until its end has been handled: the found-device records the queued signals
    // point at stay valid until then, and a new search would free them.
    bool m_Searching = false;
};
