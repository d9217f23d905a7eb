#include "RecordMenuRules.h"
#include "RecordPlayback.h"
#include "SoftwareSetting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PlayerTimeText, MinutesAndSecondsOfAudioBytes)
{
    const struct {
        int bytes;
        const char* text;
    } cases[] = {
        {0, "00:00"},          {7999, "00:00"},          {8000, "00:01"},        {15999, "00:01"},
        {479999, "00:59"},     {480000, "01:00"},        {4000000, "08:20"},     {800000000, "1666:40"},
        {-5, "00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlayerTimeText(c.bytes).toStdString(), c.text) << c.bytes;
}

TEST(StepRowIndex, HeldToTheTableAndRestartingWhenThePlayedRowIsGone)
{
    const struct {
        int locked, count;
        bool next;
        int want;
    } cases[] = {
        {1, 3, true, 2},  {1, 3, false, 0},   // inside
        {2, 3, true, 2},  {0, 3, false, 0},   // the last row's next and the first row's previous replay it
        {-1, 3, true, 0}, {-1, 3, false, 0},  // the played row is not in the table
        {5, 3, false, 0},                     // an index past the table counts as not found
        {0, 0, true, -1}, {-1, 0, false, -1}, // no rows
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepRowIndex(c.locked, c.count, c.next), c.want)
            << c.locked << " of " << c.count << (c.next ? " next" : " previous");
}

class RecordRowPlayPathTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Dir.isValid());
        m_Saved = g_SoftwareSetting.BackupPath;
        g_SoftwareSetting.BackupPath = m_Dir.path() + "/";
    }
    void TearDown() override { g_SoftwareSetting.BackupPath = m_Saved; }

    QString Backup(const QString& rest) const { return m_Dir.path() + "/" + rest; }

    QTemporaryDir m_Dir;
    QString m_Saved;
};

TEST_F(RecordRowPlayPathTest, RecorderPathFromTheTimeAndChannelCells)
{
    EXPECT_EQ(RecordRowPlayPath(0, "2024-05-06 07:08:09", "3", "9555", QString()),
              "/RecordFiles/2405/06/CH03/240506070809-CH03.wav");
    EXPECT_EQ(RecordRowPlayPath(0, "2031-12-31 23:59:58", "12", "", QString()),
              "/RecordFiles/3112/31/CH12/311231235958-CH12.wav");
}

TEST_F(RecordRowPlayPathTest, BackupPathTakesThePhoneNameOnlyWhenThePlainFileIsMissing)
{
    const QString folder = Backup("DEV1/2405/06/CH03/");
    // Missing plain file, phone digits: the name the backup gives a record with a number.
    EXPECT_EQ(RecordRowPlayPath(1, "2024-05-06 07:08:09", "3", "9555", "DEV1"),
              folder + "240506070809-CH03-9555.wav");
    // Only the digits of the phone cell, as the backup names the file.
    EXPECT_EQ(RecordRowPlayPath(1, "2024-05-06 07:08:09", "3", "*9 5-55#", "DEV1"),
              folder + "240506070809-CH03-9555.wav");
    // No digits: the missing plain name is passed on.
    EXPECT_EQ(RecordRowPlayPath(1, "2024-05-06 07:08:09", "3", "", "DEV1"), folder + "240506070809-CH03.wav");
    EXPECT_EQ(RecordRowPlayPath(1, "2024-05-06 07:08:09", "3", "#*", "DEV1"), folder + "240506070809-CH03.wav");

    // The plain file exists: it is played, whatever the phone cell holds.
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile plain(folder + "240506070809-CH03.wav");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(RecordRowPlayPath(1, "2024-05-06 07:08:09", "3", "9555", "DEV1"), plain.fileName());
}

TEST_F(RecordRowPlayPathTest, NothingToPlayForUnusableFolderNamesChannelsOrTargets)
{
    for (const char* id : {"", ".", "..", "a/b", "..\\x"})
        EXPECT_TRUE(RecordRowPlayPath(1, "2024-05-06 07:08:09", "3", "9555", id).isEmpty()) << id;
    for (const char* channel : {"0", "65", "", "x"})
        EXPECT_TRUE(RecordRowPlayPath(0, "2024-05-06 07:08:09", channel, "", QString()).isEmpty()) << channel;
    EXPECT_TRUE(RecordRowPlayPath(2, "2024-05-06 07:08:09", "3", "", "DEV1").isEmpty());
}

TEST(RecordMenuEnabled, ItemsFollowTheTargetTheSelectionAndTheChecks)
{
    const struct {
        const char* what;
        RecordMenuState state;
        RecordMenuItems want;  // Play, Dial, EditKeyword, Download, Delete, ExportExcel, AddToContacts
    } cases[] = {
        {"recorder offline", {0, false, true, "01:05", true}, {}},
        {"dropped files", {2, true, true, "01:05", true}, {}},
        {"recorder online, nothing picked", {0, true, false, "", false}, {}},
        {"recorder, a row with audio, checks",
         {0, true, true, "01:05", true},
         {true, true, true, true, true, true, true}},
        {"recorder, a missed call selected", {0, true, true, "--/--", false}, {false, true, true, false, false, false, true}},
        {"recorder, checks only", {0, true, false, "", true}, {false, false, false, true, true, true, false}},
        {"PC backup: no download", {1, false, true, "00:05", true}, {true, true, true, false, true, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordMenuItems got = RecordMenuEnabled(c.state);
        EXPECT_EQ(got.Play, c.want.Play);
        EXPECT_EQ(got.Dial, c.want.Dial);
        EXPECT_EQ(got.EditKeyword, c.want.EditKeyword);
        EXPECT_EQ(got.Download, c.want.Download);
        EXPECT_EQ(got.Delete, c.want.Delete);
        EXPECT_EQ(got.ExportExcel, c.want.ExportExcel);
        EXPECT_EQ(got.AddToContacts, c.want.AddToContacts);
    }
}
