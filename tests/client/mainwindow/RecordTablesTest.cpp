#include "RecordFixture.h"
#include "RecordTables.h"
#include "ZGridListData.h"

#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

ZGridListData* TableWithChecks(std::initializer_list<bool> checks)
{
    auto* table = new ZGridListData(12);
    for (bool checked : checks) {
        ZGridListRow* row = table->CreateRow();
        row->Cells[0] = checked;
        table->AddRow(row);
    }
    return table;
}

std::vector<bool> Checks(ZGridListData* table)
{
    std::vector<bool> checks;
    for (const ZGridListRow* row : table->Rows)
        checks.push_back(row->Cells[0].Value != 0);
    return checks;
}

}  // namespace

TEST(RecordChecks, HeaderChecksAllThenClearsAll)
{
    std::unique_ptr<ZGridListData> table(TableWithChecks({false, true, false}));
    EXPECT_TRUE(AnyRecordChecked(table.get()));
    ToggleAllRecordChecks(table.get());
    EXPECT_EQ(Checks(table.get()), std::vector<bool>({true, true, true}));
    ToggleAllRecordChecks(table.get());
    EXPECT_EQ(Checks(table.get()), std::vector<bool>({false, false, false}));
    EXPECT_FALSE(AnyRecordChecked(table.get()));

    // The toggle takes the table's lock: it must not be held by anyone else when it returns.
    EXPECT_TRUE(table->TryLock());
    table->Unlock();

    EXPECT_FALSE(AnyRecordChecked(nullptr));
    ToggleAllRecordChecks(nullptr);
}

TEST(DroppedRecordTable, OnlyRecorderWavFilesNamedInLowerCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray wav =
        MakeWav(Chunk("Vorn", VornBody(MakeEntry(2024, 5, 6, 7, 8, 9, 0, 65, "0123456"), 0)) + Chunk("data", QByteArray(3000, '\x55')));
    const QString recorder = dir.filePath("240506070809-CH01-0123456.wav");
    const QString upper = dir.filePath("X.WAV");
    const QString text = dir.filePath("notes.txt");
    const QString plainWav = dir.filePath("music.wav");  // a WAV without the record information
    ASSERT_TRUE(WriteBytes(recorder, wav));
    ASSERT_TRUE(WriteBytes(upper, wav));
    ASSERT_TRUE(WriteBytes(text, "hello"));
    ASSERT_TRUE(WriteBytes(plainWav, MakeWav(Chunk("data", QByteArray(100, '\0')))));
    UseEnglishRecordTypes();

    ZGridListData* table = DroppedRecordTable({QUrl::fromLocalFile(text), QUrl::fromLocalFile(recorder),
                                               QUrl::fromLocalFile(upper), QUrl::fromLocalFile(plainWav)});
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->Rows.size(), 1);
    const ZGridListRow* row = table->Rows[0];
    EXPECT_EQ(row->Cells[1].Text, "2024-05-06 07:08:09");
    EXPECT_EQ(row->Cells[2].Text, "1");
    EXPECT_EQ(row->Cells[5].Text, "01:05");
    EXPECT_EQ(row->Cells[7].Text, "0123456");
    ASSERT_NE(row->UserData, nullptr);
    EXPECT_EQ(*static_cast<const QString*>(row->UserData), recorder);
    DeleteDroppedRecordTable(table);  // paths and table: the leak checker sees both freed

    EXPECT_EQ(DroppedRecordTable({QUrl::fromLocalFile(text), QUrl::fromLocalFile(upper)}), nullptr);
    EXPECT_EQ(DroppedRecordTable({}), nullptr);
}
