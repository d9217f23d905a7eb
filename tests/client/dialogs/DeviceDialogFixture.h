#pragma once

// What the device dialogs' tests share: the dialogs' environment with the device list, English texts and a
// main-window stand-in holding the wait panel, and helpers that act inside the modal loops the dialogs
// run (an editor, a menu, a message box) the way an operator would.

#include "DataFolder.h"
#include "DeviceManage.h"
#include "DeviceManageForm.h"
#include "DialogTestSupport.h"
#include "ModalTestHelpers.h"
#include "TipForm.h"
#include "WaitForm.h"
#include "ZGridList.h"
#include "ZLabel.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QApplication>
#include <QDir>
#include <QHoverEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <initializer_list>
#include <memory>

// The program around the device dialogs: the dialogs' environment (program and data folders, Language with
// English loaded, Skin), DeviceManage, and a main window holding the wait panel. Torn down in the main window's
// order: wait panel, window, device list.
class DeviceDialogProgram
{
public:
    DeviceDialogProgram()
    {
        // A data folder of this test's own: device files must not outlive it or meet another test's.
        g_DataPath = m_Data.path();
        QDir().mkpath(DataFile(QStringLiteral("Devices")));
        m_Manage = std::make_unique<DeviceManage>();
        MainWindow = MakeMainWindow(1000, 640);
        g_WaitForm = new WaitForm(MainWindow.get());
        Language::Load(QStringLiteral("English"));
    }
    ~DeviceDialogProgram()
    {
        delete g_WaitForm;
        g_WaitForm = nullptr;
        MainWindow.reset();
        m_Manage.reset();
    }

    QString DataFile(const QString& name) const { return g_DataPath + QLatin1Char('/') + name; }

    std::unique_ptr<ZForm> MainWindow;

private:
    DialogEnvironment m_Environment;
    QTemporaryDir m_Data;
    std::unique_ptr<DeviceManage> m_Manage;
};

// The program with the device management page made as the main window makes it (before the texts are loaded)
// and shown at its design size.
class DevicePageProgram : public DeviceDialogProgram
{
public:
    DevicePageProgram()
    {
        Page = new DeviceManageForm(MainWindow.get());
        Language::Load(QStringLiteral("English"));
        Page->resize(904, 540);
        Page->show();
        MainWindow->show();
    }
    ~DevicePageProgram() { delete Page; }

    template <class T>
    T* Child(const char* name) const
    {
        return Page->findChild<T*>(QLatin1String(name));
    }

    // Deleted before the wait panel and the device list, as the main window does; a test may delete it earlier
    // (and then sets this to null).
    DeviceManageForm* Page = nullptr;
};

// The middle of the first cell of row `row` of a grid (scrolled to the top).
inline QPoint RowPoint(ZGridList* grid, int row)
{
    return QPoint(30, grid->BorderWidth() + grid->ColumnHeaderHeight() + row * grid->RowHeight() + grid->RowHeight() / 2);
}

// Selects a row as the mouse does: over it, then a left click.
inline void SelectRow(ZGridList* grid, int row)
{
    const QPoint at = RowPoint(grid, row);
    HoverAt(grid, at);
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, at);
}

// Chooses item `index` of the menu that is open: over it, then a click.
inline void ChooseMenuItem(ZMenu* menu, int index)
{
    const QPoint at(20, menu->Padding().Top + index * menu->ItemHeight() + menu->ItemHeight() / 2);
    HoverAt(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
}

// The rows of a grid's store, each as its cells joined with '|'.
inline QStringList GridRows(ZGridList* grid)
{
    QStringList rows;
    ZGridListData* data = grid->DataSource();
    if (data == nullptr)
        return rows;
    for (const ZGridListRow* row : data->Rows) {
        QStringList cells;
        for (int i = 0; i < row->CellCount(); ++i)
            cells << row->Cells[i].Text;
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}
