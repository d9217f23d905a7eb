#pragma once

// What the monitor-page tests share: logging recorders in, reading the grids' tables, right-clicking a grid row
// and choosing a menu item, counting paints.

#include "DeviceDialogFixture.h"
#include "ModalTestHelpers.h"

#include "DeviceManage.h"
#include "KesDevice.h"
#include "MainForm.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ZGridList.h"
#include "ZGridListData.h"
#include "ZMenu.h"

#include <QtTest>

#include <cstdint>
#include <initializer_list>

// Cell 1 (the channel number) of each row of a table, joined by spaces.
inline QString Channels(ZGridListData* table)
{
    QStringList channels;
    table->Lock();
    for (const ZGridListRow* row : table->Rows)
        channels << row->Cells[1].Text;
    table->Unlock();
    return channels.join(QLatin1Char(' '));
}

// The data slot of a device event carrying a channel index.
inline unsigned char* ChannelArg(int channel)
{
    return reinterpret_cast<unsigned char*>(static_cast<intptr_t>(channel));
}

// True once every row of the all-devices table shows (its device reported online with the channel allowed).
inline bool AllMonitorRowsShown()
{
    bool shown = true;
    g_AllDevicesMonitorData->Lock();
    for (const ZGridListRow* row : g_AllDevicesMonitorData->Rows)
        shown = shown && row->Visible;
    g_AllDevicesMonitorData->Unlock();
    return shown;
}

// Logs the devices in and starts their heartbeats; true once the all-devices grid shows all their rows. The
// window is then made large enough for every row.
inline bool GoOnline(MainForm* form, std::initializer_list<KesDevice*> devices)
{
    for (KesDevice* device : devices) {
        if (device->Login() != 0)
            return false;
        device->CreateHeartbeatThread();
    }
    if (!QTest::qWaitFor(AllMonitorRowsShown, 20000))
        return false;
    form->resize(QSize(1200, 800));
    QCoreApplication::sendPostedEvents();
    return true;
}

// Right-clicks row `row` of the monitor grid (-1: below the rows) and chooses menu item `item`; true when the
// menu opened.
inline bool ChooseOnMonitorRow(MainForm* form, int row, int item)
{
    QObject scope;
    bool opened = false;
    When(&scope, [] { return Shown<ZMenu>() != nullptr; }, [&opened, item] {
        opened = true;
        ChooseMenuItem(Shown<ZMenu>(), item);
    });
    ZGridList* grid = form->ui->MonitorGridList;
    const QPoint at = row >= 0 ? RowPoint(grid, row) : QPoint(30, grid->height() - 5);
    HoverAt(grid, at);
    QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, at);
    return opened;
}

// Counts the paints a widget gets.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Count;
        return QObject::eventFilter(watched, event);
    }
    int Count = 0;
};
