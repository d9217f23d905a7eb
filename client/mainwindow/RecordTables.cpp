#include "RecordTables.h"

#include "RecordIndexEntry.h"
#include "store/RecordRow.h"
#include "store/RecordStore.h"
#include "ZGridListData.h"

#include <QString>

namespace {

constexpr int kCheckColumn = 0;

bool RowChecked(const ZGridListRow* row)
{
    return row->CellCount() > kCheckColumn && row->Cells[kCheckColumn].Value != 0;
}

}  // namespace

bool AnyRecordChecked(ZGridListData* table)
{
    if (table == nullptr)
        return false;
    bool any = false;
    table->Lock();
    for (const ZGridListRow* row : table->Rows) {
        if (RowChecked(row)) {
            any = true;
            break;
        }
    }
    table->Unlock();
    return any;
}

void ToggleAllRecordChecks(ZGridListData* table)
{
    if (table == nullptr)
        return;
    table->Lock();
    bool allChecked = true;
    for (const ZGridListRow* row : table->Rows) {
        if (!RowChecked(row)) {
            allChecked = false;
            break;
        }
    }
    for (ZGridListRow* row : table->Rows) {
        if (row->CellCount() > kCheckColumn)
            row->Cells[kCheckColumn] = !allChecked;
    }
    table->Unlock();
}

ZGridListData* DroppedRecordTable(const QList<QUrl>& urls)
{
    auto* table = new ZGridListData(RecordColumnCount);
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        if (!path.contains(QStringLiteral(".wav")))
            continue;
        RecordIndexEntry entry;
        int channel = 0;
        if (!ReadWavIndexEntry(path, &entry, &channel))
            continue;
        ZGridListRow* row = table->CreateRow();
        FillRecordRowFromEntry(row, &entry, channel, new QString(path));
        table->AddRow(row);
    }
    if (table->Rows.isEmpty()) {
        delete table;
        return nullptr;
    }
    return table;
}

void DeleteDroppedRecordTable(ZGridListData* table)
{
    if (table == nullptr)
        return;
    for (ZGridListRow* row : table->Rows) {
        delete static_cast<QString*>(row->UserData);
        row->UserData = nullptr;
    }
    delete table;
}
