// The settings page's key-control section: ten key sequences, each playing an announcement file when typed on
// a line, and the key sequence that stops the playback.
#include "MainForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormUi.h"
#include "settings/SectionDevice.h"
#include "settings/SectionFields.h"
#include "settings/SettingRules.h"

namespace {

// Record layout: ten 40-byte groups (switch, key length, 10 key bytes, 28 file-name bytes), then the stop key's
// length and its 27 bytes.
constexpr int kGroupSize = 40;
constexpr int kGroupKeySize = 10;
constexpr int kFileSize = 28;
constexpr int kStopKeyLengthOffset = 400;
constexpr int kStopKeyOffset = 401;
constexpr int kStopKeySize = 27;

}  // namespace

void MainForm::FillKeyControlSetting(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const bool enabled = SectionDeviceOnline(device) && CalvoxAPI_IsSupportPlayBack(device->Handle) != 0;
    if (enabled) {
        const uint8_t* record = CalvoxAPI_KeyControlSetting(device->Handle)->Bytes;
        ui->StopPlayBackKeyLineEdit->SetText(FieldText(record + kStopKeyOffset, kStopKeySize, record[kStopKeyLengthOffset]));
        for (int g = 0; g < 10; ++g) {
            const uint8_t* group = record + kGroupSize * g;
            GroupCheckBoxes[g]->SetChecked(group[0] != 0);
            GroupLineEdits[g]->SetText(FieldText(group + 2, kGroupKeySize, group[1]));
        }
        FillKeyControlFileCombos(device);
    } else {
        // The file boxes keep their selection.
        ui->StopPlayBackKeyLineEdit->SetText(QString());
        for (int g = 0; g < 10; ++g) {
            GroupCheckBoxes[g]->SetChecked(false);
            GroupLineEdits[g]->SetText(QString());
        }
    }
    SetWidgetsEnabled({ui->StopPlayBackKeyLineEdit, ui->UpdateKeyControlSettingButton, ui->SaveKeyControlSettingButton},
                      enabled);
    for (ZCheckBox* box : GroupCheckBoxes)
        box->setEnabled(enabled);
}

void MainForm::FillKeyControlFileCombos(KesDevice* device)
{
    if (device == nullptr || device != SettingDevice())
        return;
    const QStringList names = PlayBackFileNames(CalvoxAPI_PlayBackFileList(device->Handle));
    if (names.isEmpty())
        return;
    const uint8_t* record = CalvoxAPI_KeyControlSetting(device->Handle)->Bytes;
    for (int g = 0; g < 10; ++g)
        GroupComboBoxes[g]->SetSelectedIndex(FileNameIndex(record + kGroupSize * g + 12, names));
}

void MainForm::on_UpdateKeyControlSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetKeyControlSetting(); }, &hold))
        return;
    FillKeyControlSetting(device);
}

void MainForm::on_SaveKeyControlSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayChangeSettings(device, this))
        return;
    // From the recorder's own record: the bytes the page does not show go back as they came.
    Calvox_KeyControlSetting record = *CalvoxAPI_KeyControlSetting(device->Handle);
    uint8_t* bytes = record.Bytes;
    bytes[kStopKeyLengthOffset] =
        static_cast<uint8_t>(PutFieldText(bytes + kStopKeyOffset, kStopKeySize, ui->StopPlayBackKeyLineEdit->Text()));
    for (int g = 0; g < 10; ++g) {
        // A group that is switched off keeps its key and file all the same.
        uint8_t* group = bytes + kGroupSize * g;
        group[0] = GroupCheckBoxes[g]->Checked() ? 1 : 0;
        group[1] = static_cast<uint8_t>(PutFieldText(group + 2, kGroupKeySize, GroupLineEdits[g]->Text()));
        PutFieldText(group + 12, kFileSize, GroupComboBoxes[g]->SelectedText());
    }
    RunSectionWrite(device, [device, &record] { return device->SetKeyControlSetting(&record); });
}
