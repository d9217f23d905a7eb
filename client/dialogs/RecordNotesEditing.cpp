#include "RecordNotesEditing.h"

#include "DeviceManage.h"
#include "DialogFrame.h"
#include "EditRecordNotesForm.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "RecordTexts.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "ZGridListData.h"
#include "store/RecordStore.h"

namespace {

constexpr int kTimeCell = 1;
constexpr int kChannelCell = 2;
constexpr int kNotesCell = 11;

struct RecordPlace {
    int Index = -1;
    int Channel = -1;
    unsigned char Year = 0;
    unsigned char Month = 0;
    unsigned char Day = 0;
    QString Time;
    QString Notes;
};

// A copy of what the row says, read under the list's lock; false for a row that is not there.
bool ReadRow(ZGridListData* list, int rowIndex, RecordPlace* place)
{
    list->Lock();
    const bool there = rowIndex >= 0 && rowIndex < list->Rows.size();
    if (there) {
        const ZGridListRow* row = list->Rows[rowIndex];
        place->Time = row->Cells[kTimeCell].Text;
        StringToDate(place->Time, place->Year, place->Month, place->Day);
        place->Channel = static_cast<int>(row->Cells[kChannelCell].Value);
        place->Index = static_cast<int>(reinterpret_cast<qintptr>(row->UserData));
        place->Notes = row->Cells[kNotesCell].Text;
    }
    list->Unlock();
    return there;
}

}  // namespace

bool EditRecordNotesOfRow(ZGridListData* list, int rowIndex, int target, KesDevice* device, QWidget* parent)
{
    if (list == nullptr || g_EditRecordNotesForm == nullptr || (target != 0 && target != 1))
        return false;
    if (target == 0 && (device == nullptr || CalvoxAPI_Permission_Download(device->Handle) == 0)) {
        ShowResultTip(false, TextTips012, parent);
        return false;
    }
    RecordPlace place;
    if (!ReadRow(list, rowIndex, &place))
        return false;
    if (g_EditRecordNotesForm->Exec(place.Notes) == 0)
        return false;
    const QString notes = g_EditRecordNotesForm->Notes;

    // The index file holds at most 65535 records a day; channels are 0 to 63.
    bool stored = place.Index >= 0 && place.Index <= 0xFFFF && place.Channel >= 0 && place.Channel < 64;
    if (stored && target == 0) {
        // The hold keeps the device alive while the wait panel's thread uses it.
        DeviceHold hold = DeviceManage::HoldDevice(DeviceManage::IndexOfDevice(device));
        int result = -1;
        if (hold && g_WaitForm) {
            KesDevice* held = hold.Device();
            g_WaitForm->Thread->Task = [&result, held, place, notes]() {
                result = held->EditRecordNotes(static_cast<quint16>(place.Index), place.Year, place.Month, place.Day,
                                               static_cast<unsigned char>(place.Channel), notes);
            };
            stored = g_WaitForm->Run() && result == 0;
        } else {
            stored = false;
        }
    } else if (stored) {
        stored = SaveLocalRecordNotes(place.Index, place.Year, place.Month, place.Day,
                                      static_cast<unsigned char>(place.Channel), notes);
    }
    if (!stored) {
        ShowResultTip(false, TextTips002, parent);
        return false;
    }
    list->Lock();
    // The list may have been refilled while the editor or the wait panel ran: only the same row changes.
    const bool same = rowIndex < list->Rows.size() &&
                      reinterpret_cast<qintptr>(list->Rows[rowIndex]->UserData) == place.Index &&
                      list->Rows[rowIndex]->Cells[kTimeCell].Text == place.Time &&
                      list->Rows[rowIndex]->Cells[kChannelCell].Value == place.Channel;
    if (same)
        list->Rows[rowIndex]->Cells[kNotesCell] = notes;
    list->Unlock();
    return same;
}
