// The player bar: playback of the record list's rows, playback state, position and volume.
#include "MainForm.h"

#include "DeviceManage.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "RecordColumns.h"
#include "RecordPlayback.h"
#include "store/RecordSearch.h"
#include "TipForm.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "ZGridListData.h"

#include <QPixmap>

namespace {

const char* const kSoundImage = "://MainForm/Vocal.png";
const char* const kMuteImage = "://MainForm/Mute.png";
const char* const kPlayImage = "://MainForm/PlayButton.png";
const char* const kPauseImage = "://MainForm/PauseButton.png";

constexpr int kBytesPerSecond = 8000;

}  // namespace

QString MainForm::RecordPlayPath(ZGridListRow* row) const
{
    const int target = g_RecordSearchCondition.Target;
    if (target == 2)
        return row->UserData ? *static_cast<const QString*>(row->UserData) : QString();
    QString deviceId;
    if (target == 1) {
        // The ID comes from the backup folder's device list; the path rule refuses one that may not name a folder.
        LocalDeviceInfo entry;
        if (!DeviceManage::CopyLocalDevice(g_RecordSearchCondition.Device, &entry))
            return QString();
        deviceId = entry.ID;
    }
    ZGridListData* table = ui->RecordGridList->DataSource();
    if (table)
        table->Lock();
    const QString time = row->Cells[TimeColumn].Text;
    const QString channel = row->Cells[ChannelColumn].Text;
    const QString phone = row->Cells[PhoneColumn].Text;
    if (table)
        table->Unlock();
    return RecordRowPlayPath(target, time, channel, phone, deviceId);
}

void MainForm::PlayRecord(ZGridListRow* row)
{
    if (row == nullptr)
        return;
    KesDevice* device = nullptr;
    if (g_RecordSearchCondition.Target == 0) {
        device = DeviceManage::FindDevice(g_RecordSearchCondition.Device);
        if (device == nullptr || CalvoxAPI_ConnectStatus(device->Handle) != 2)
            return;
        if (CalvoxAPI_Permission_Download(device->Handle) == 0) {
            TipForm(false, TextTips012, this).exec(true);
            return;
        }
    }
    const QString path = RecordPlayPath(row);
    if (path.isEmpty())
        return;

    if (device)
        g_BackupThread->Pause();
    g_WaitForm->Thread->Task = [device, path]() {
        // Live monitoring and record playback share the one audio output.
        CalvoxAPI_StopMonitor();
        g_RecordPlayer->Play(device, path);
    };
    g_WaitForm->Run();
    ui->RecordGridList->LockedRow = row;
    ui->RecordGridList->update();
    g_BackupThread->Resume();
}

void MainForm::on_PlayButton_Clicked()
{
    if (g_RecordPlayer->IsPlaying())
        g_RecordPlayer->SwitchPause();
    else
        PlayRecord(ui->RecordGridList->SelectedRow);
}

void MainForm::on_RecordGridList_RowDoubleClicked(int row, int column)
{
    Q_UNUSED(row);
    Q_UNUSED(column);
    PlayRecord(ui->RecordGridList->SelectedRow);
}

void MainForm::StepRecord(bool next)
{
    ZGridListData* table = ui->RecordGridList->DataSource();
    ZGridListRow* locked = ui->RecordGridList->LockedRow;
    if (table == nullptr || locked == nullptr)
        return;
    table->Lock();
    const int index = StepRowIndex(table->Rows.indexOf(locked), table->Rows.size(), next);
    ZGridListRow* row = index >= 0 ? table->Rows.at(index) : nullptr;
    table->Unlock();
    PlayRecord(row);
}

void MainForm::on_PrevButton_Clicked()
{
    StepRecord(false);
}

void MainForm::on_NextButton_Clicked()
{
    StepRecord(true);
}

void MainForm::on_PlayerTrackBar_ManuallyDragChanged(int value)
{
    g_RecordPlayer->Seek(value);
}

void MainForm::on_MuteButton_Clicked()
{
    // Muting leaves the slider where it is, so unmuting returns to that volume.
    if (ui->MuteButton->Tag == 1) {
        ui->MuteButton->Tag = 0;
        ui->MuteButton->SetImage(QPixmap(kSoundImage));
        CalvoxAPI_PlayerSetVolume(ui->PlayerVolumeTrackBar->Value1());
    } else {
        ui->MuteButton->Tag = 1;
        ui->MuteButton->SetImage(QPixmap(kMuteImage));
        CalvoxAPI_PlayerSetVolume(0);
    }
}

void MainForm::on_PlayerVolumeTrackBar_Value1Changed(int value)
{
    CalvoxAPI_PlayerSetVolume(value);
    ui->PlayerVolumeLabel->SetText(QString::number(value) + "%");
    // Moving the slider while muted ends the mute; moving it to 0 is a mute.
    if (value != 0 && ui->MuteButton->Tag == 1) {
        ui->MuteButton->Tag = 0;
        ui->MuteButton->SetImage(QPixmap(kSoundImage));
    } else if (value == 0) {
        ui->MuteButton->Tag = 1;
        ui->MuteButton->SetImage(QPixmap(kMuteImage));
    }
}

void MainForm::RecordPlayerEvent(RecordPlayerEventType Event, int Arg)
{
    switch (Event) {
    case RecordPlayer_Total:
        ui->PlayerTrackBar->SetMaximum(Arg);
        ui->PlayerTimeLabel2->SetText(PlayerTimeText(Arg));
        break;
    case RecordPlayer_Buffered:
        ui->PlayerTrackBar->SetValue2(Arg);
        break;
    case RecordPlayer_Position:
        ui->PlayerTrackBar->SetValue1(Arg);
        // About eight reports a second: the label changes only with the whole second.
        if (Arg / kBytesPerSecond != ui->PlayerTimeLabel1->Tag) {
            ui->PlayerTimeLabel1->Tag = Arg / kBytesPerSecond;
            ui->PlayerTimeLabel1->SetText(PlayerTimeText(Arg));
        }
        break;
    case RecordPlayer_Playing:
        ui->PlayButton->SetImage(QPixmap(kPauseImage));
        break;
    case RecordPlayer_Stopped:
        ui->PlayButton->SetImage(QPixmap(kPlayImage));
        ui->PlayerTrackBar->SetValue1(0);
        ui->PlayerTrackBar->SetValue2(0);
        ui->PlayerTimeLabel1->Tag = 0;
        ui->PlayerTimeLabel1->SetText(QStringLiteral("00:00"));
        ui->PlayerTimeLabel2->SetText(QStringLiteral("00:00"));
        break;
    case RecordPlayer_Paused:
        ui->PlayButton->SetImage(QPixmap(kPlayImage));
        break;
    }
}
