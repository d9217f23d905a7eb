// The player bar: playback state, position and volume.
#include "MainForm.h"

#include "MainFormUi.h"

#include <QPixmap>

namespace {

const char* const kSoundImage = "://MainForm/Vocal.png";
const char* const kMuteImage = "://MainForm/Mute.png";

} // namespace

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
    Q_UNUSED(Event);
    Q_UNUSED(Arg);
}
