#pragma once

// The record page's tests share this rig: the real main window on a data folder of its own, the recorder
// emulator in this process on 127.0.0.1 as "Office" (4 channels, outside-line digit '9') with four records,
// and a phone book naming Alice (0123456) and Bob (555). What the page does is read back from the grid, the
// emulator's storage and the files written.

#include "DataFolder.h"
#include "DeviceDialogFixture.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "MainForm.h"
#include "MainFormUi.h"
#include "ModalTestHelpers.h"
#include "OnlineWait.h"
#include "ProgramFolder.h"
#include "SoftwareSetting.h"
#include "contacts/Contacts.h"
#include "store/RecordSearch.h"

#include "ZGridList.h"
#include "ZGridListData.h"

#include "EmuFiles.h"
#include "EmuRecords.h"
#include "Emulator.h"
#include "RecordTree.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <mutex>

namespace emu = calvox::emu;

class RecordPageRig
{
public:
    static constexpr const char* kId = "4B000000000000000071";

    RecordPageRig()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        qputenv("XDG_DATA_HOME", m_Folder.filePath("data").toUtf8());
        SetProgramFolder(m_Folder.path());
        emu::RecorderConfig config;
        config.id = kId;
        config.port = 0;
        Recorder = m_Emulator.Add(config);
        emu::ServeFiles(*Recorder, m_Storage.path().toStdString());
        {
            std::lock_guard<std::mutex> lock(Recorder->StateMutex());
            Recorder->State<emu::DeviceRecords>().base[4] = '9';
        }
        AddRecord(6, 7, 8, 9, 1, 0, 65, "0123456");
        AddRecord(6, 7, 10, 0, 3, 1, 5, "9555");
        AddRecord(6, 9, 0, 0, 3, 2, 0, "0777");
        AddRecord(5, 23, 59, 0, 2, 0, 12, "");

        Form = new MainForm();
        Form->show();
        ui = Form->ui;
        WriteContacts();
        Device = KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId));
        Device->SetNetAddr(QStringLiteral("127.0.0.1"), Recorder->Port());
        Device->UserName = Device->Password = QStringLiteral("admin");
        if (!DeviceManage::AddDevice(Device))
            qFatal("device not registered");
        ui->MainTabControl->SetSelectedIndex(1);
    }
    ~RecordPageRig()
    {
        delete Form;
        SetProgramFolder(QString());
    }

    // Logs the device in and fetches its base settings (the outside-line digit); the window's handling of the
    // connection lists it in the page's device box.
    bool LogIn()
    {
        OnlineWait online(Form, Device);
        if (Device->Login() != 0)
            return false;
        Device->CreateHeartbeatThread();
        if (!online.Wait())
            return false;
        if (Device->GetBaseSetting() != 0)
            return false;
        return ui->SearchDeviceComboBox->SelectedText() == QLatin1String("Office");
    }

    // The emulator's tree copied as the PC backup of the device (WAV names with the phone digits, as the
    // backup names them), the device entered in the local device list, and the page's target switched to it.
    void UseTreeAsBackup()
    {
        const QString root = m_Backup.path() + QLatin1Char('/');
        g_SoftwareSetting.BackupPath = root;
        CopyTree(m_Storage.path() + QStringLiteral("/RecordFiles"), root + QString::fromLatin1(kId));
        if (!DeviceManage::AddLocalDevice(Device))
            qFatal("local device not added");
        ui->SearchTargetComboBox->SetSelectedIndex(1);
    }
    QString BackupPath(const QString& relative) const { return m_Backup.path() + QLatin1Char('/') + relative; }

    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void Search() { Click(ui->SearchRecordButton); }

    // The explicit range from..to, both 2024-05.
    void SetRange(const QDateTime& from, const QDateTime& to)
    {
        if (!ui->SearchStartTimeCheckBox->Checked())
            Click(ui->SearchStartTimeCheckBox);
        ui->SearchStartDateTimeEdit->setDateTime(from);
        ui->SearchEndDateTimeEdit->setDateTime(to);
    }
    void WholeDay(int day)
    {
        SetRange(QDateTime(QDate(2024, 5, day), QTime(0, 0)), QDateTime(QDate(2024, 5, day), QTime(23, 59)));
    }

    // The grid's rows, cells 1.. joined with '|' (the check column left out).
    QStringList Rows() const
    {
        QStringList rows;
        ZGridListData* data = ui->RecordGridList->DataSource();
        if (data == nullptr)
            return rows;
        data->Lock();
        for (const ZGridListRow* row : data->Rows) {
            QStringList cells;
            for (int i = 1; i < row->CellCount(); ++i)
                cells << row->Cells[i].Text;
            rows << cells.join(QLatin1Char('|'));
        }
        data->Unlock();
        return rows;
    }
    int RowCount() const { return Rows().size(); }

    // A point of row `row` in its time cell (a click on the check cell would tick it).
    QPoint RecordPoint(int row) const
    {
        ZGridList* grid = ui->RecordGridList;
        return RowPoint(grid, row) + QPoint(grid->Columns[0].Width, 0);
    }
    void SelectRecord(int row)
    {
        HoverAt(ui->RecordGridList, RecordPoint(row));
        QTest::mouseClick(ui->RecordGridList, Qt::LeftButton, Qt::NoModifier, RecordPoint(row));
    }

    // Right-clicks row `row` (none for -1) and chooses menu item `item` (-1: closes the menu). The enabled
    // flags of the seven items at the moment the menu showed go to *enabled when given.
    void Menu(int row, int item, QList<bool>* enabled = nullptr)
    {
        ZGridList* grid = ui->RecordGridList;
        if (row >= 0)
            SelectRecord(row);
        When(Form, [] { return Shown<ZMenu>() != nullptr; }, [item, enabled] {
            ZMenu* menu = Shown<ZMenu>();
            if (enabled) {
                enabled->clear();
                for (int i = 0; i < menu->ItemCount(); ++i)
                    enabled->append(menu->Item(i)->Enabled);
            }
            if (item >= 0)
                ChooseMenuItem(menu, item);
            else
                menu->close();
        });
        const QPoint at = row >= 0 ? RecordPoint(row) : QPoint(60, grid->height() - 5);
        HoverAt(grid, at);
        QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, at);
    }

    // A click on the header of column `column`.
    void Header(int column)
    {
        ZGridList* grid = ui->RecordGridList;
        int x = grid->BorderWidth();
        for (int i = 0; i < column; ++i)
            x += grid->Columns[i].Width;
        const QPoint at(x + 5, grid->BorderWidth() + grid->ColumnHeaderHeight() / 2);
        HoverAt(grid, at);
        QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, at);
    }

    QString StoragePath(const QString& devicePath) const { return m_Storage.path() + devicePath; }

    MainForm* Form = nullptr;
    Ui::MainForm* ui = nullptr;
    KesDevice* Device = nullptr;
    emu::Recorder* Recorder = nullptr;

private:
    void AddRecord(int day, int hour, int minute, int second, int channel, int type, int talk, const char* phone)
    {
        emu::FixtureRecord r;
        r.year = 24, r.month = 5, r.day = uint8_t(day), r.hour = uint8_t(hour), r.minute = uint8_t(minute);
        r.second = uint8_t(second), r.channel = channel, r.type = uint8_t(type), r.talkSeconds = uint16_t(talk);
        r.phone = phone;
        r.audioBytes = 3000;
        if (emu::AddFixtureRecord(m_Storage.path().toStdString(), r) < 0)
            qFatal("fixture record not written");
    }

    static QJsonObject Contact(const char* name, const char* phone)
    {
        return QJsonObject{{"Name", name}, {"Gender", 0},       {"Company", ""},    {"Duty", ""},
                           {"PhoneNum", phone}, {"CompanyNum", ""}, {"CompanyAddr", ""}, {"Notes", ""}};
    }

    void WriteContacts()
    {
        QDir().mkpath(ContactsRoot);
        QFile file(ContactsRoot + QStringLiteral("/Staff"));
        QJsonObject top{{"Contacts", QJsonArray{Contact("Alice", "0123456"), Contact("Bob", "555")}}};
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(top).toJson()) <= 0)
            qFatal("contacts not written");
        file.close();
        LoadContactsFolder(ContactsRoot);
    }

    // Copies the recorder's tree; a WAV file whose record has phone digits gets them in its name.
    static void CopyTree(const QString& from, const QString& to)
    {
        QDir().mkpath(to);
        for (const QFileInfo& info : QDir(from).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot)) {
            if (info.isDir()) {
                CopyTree(info.filePath(), to + QLatin1Char('/') + info.fileName());
                continue;
            }
            QString name = info.fileName();
            if (name == QLatin1String("240506070809-CH01.wav"))
                name = QStringLiteral("240506070809-CH01-0123456.wav");
            QFile::copy(info.filePath(), to + QLatin1Char('/') + name);
        }
    }

    QTemporaryDir m_Folder;
    QTemporaryDir m_Storage;
    QTemporaryDir m_Backup;
    emu::Emulator m_Emulator;
};
