// Phone-number and record-time texts. Buffers are exact-size heap copies so that AddressSanitizer catches any
// read past a field.
#include "RecordTexts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<unsigned char[]> HeapField(const std::string& bytes)
{
    std::unique_ptr<unsigned char[]> field(new unsigned char[bytes.size()]);
    std::memcpy(field.get(), bytes.data(), bytes.size());
    return field;
}

struct PhoneCase {
    const char* name;
    std::string field;  // the whole field, exactly its size
    int length;
    const char* expected;
};

}  // namespace

TEST(PhoneNumberToString, Table)
{
    const std::string twenty("13800138000\0\0\0\0\0\0\0\0\0", 20);
    const std::vector<PhoneCase> cases = {
        {"digits and symbols", "13*5#7", 6, "1357"},
        {"length shorter than the field", "123456", 3, "123"},
        {"zero length", "123456", 0, ""},
        {"NUL bytes inside", std::string("12\0\0" "34", 6), 6, "1234"},
        {"high bytes dropped", "1\xff" "2\x80" "3", 5, "123"},
        {"no digits", "*#,p", 4, ""},
        {"length byte beyond the field", twenty, 255, "13800138000"},
        {"length beyond a full field", "01234567890123456789", 200, "01234567890123456789"},
        {"up to the first NUL", std::string("12*4\0" "99", 7), -1, "12*4"},
        {"no NUL within the field", "5551234", -1, "5551234"},
        {"other negative length", "123", -7, ""},
    };
    for (const PhoneCase& c : cases) {
        auto field = HeapField(c.field);
        const std::string before(reinterpret_cast<const char*>(field.get()), c.field.size());
        EXPECT_EQ(PhoneNumberToString(field.get(), c.length, static_cast<int>(c.field.size())).toStdString(),
                  c.expected)
            << c.name;
        // The caller's buffer is only read.
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(field.get()), c.field.size()), before) << c.name;
    }
}

TEST(PhoneNumberToString, ArrayFieldBoundsTheLength)
{
    RecordIndexEntry entry;
    std::memset(&entry, 0, sizeof entry);
    std::memcpy(entry.PhoneNumber, "02088886666#1234567x", 20);
    std::memcpy(entry.Key, "99999", 5);  // right behind the phone field: must not be read
    entry.PhoneLength = 255;
    EXPECT_EQ(PhoneNumberToString(entry.PhoneNumber, entry.PhoneLength).toStdString(), "020888866661234567");
    EXPECT_EQ(PhoneNumberToString(nullptr, 5, 20).toStdString(), "");
}

TEST(RecordTimeToString, Table)
{
    struct Case {
        unsigned char y, mo, d, h, mi, s;
        const char* expected;
    };
    const Case cases[] = {
        {5, 1, 2, 3, 4, 5, "2005-01-02 03:04:05"},
        {0, 12, 31, 23, 59, 59, "2000-12-31 23:59:59"},
        {255, 10, 10, 10, 10, 10, "2255-10-10 10:10:10"},
        {26, 0, 0, 0, 0, 0, "2026-00-00 00:00:00"},
    };
    for (const Case& c : cases) {
        RecordIndexEntry entry;
        std::memset(&entry, 0xAB, sizeof entry);
        entry.Year = c.y;
        entry.Month = c.mo;
        entry.Day = c.d;
        entry.Hour = c.h;
        entry.Minute = c.mi;
        entry.Second = c.s;
        EXPECT_EQ(RecordTimeToString(entry).toStdString(), c.expected);
    }
}

TEST(StringToDate, YearByteForEveryYear)
{
    for (int y = 0; y <= 255; ++y) {
        const QString text = QStringLiteral("%1-07-19").arg(2000 + y);
        unsigned char year = 1, month = 1, day = 1;
        StringToDate(text, year, month, day);
        EXPECT_EQ(year, y) << text.toStdString();
        EXPECT_EQ(month, 7);
        EXPECT_EQ(day, 19);
    }
}

TEST(StringToDateTime, RoundTripsRecordTime)
{
    for (int y = 0; y <= 255; y += 17) {
        RecordIndexEntry entry{};
        entry.Year = static_cast<uint8_t>(y);
        entry.Month = 1 + y % 12;
        entry.Day = 1 + y % 28;
        entry.Hour = y % 24;
        entry.Minute = y % 60;
        entry.Second = (y * 7) % 60;
        unsigned char v[6] = {};
        StringToDateTime(RecordTimeToString(entry), v[0], v[1], v[2], v[3], v[4], v[5]);
        const unsigned char expected[6] = {entry.Year, entry.Month, entry.Day, entry.Hour, entry.Minute,
                                           entry.Second};
        EXPECT_EQ(std::memcmp(v, expected, 6), 0) << y;
    }
}

TEST(StringToDateTime, ShortOrMalformedTextsGiveZeros)
{
    struct Case {
        const char* text;
        unsigned char expected[6];
    };
    const Case cases[] = {
        {"", {48, 0, 0, 0, 0, 0}},
        {"2024-05", {24, 5, 0, 0, 0, 0}},
        {"2024-05-06", {24, 5, 6, 0, 0, 0}},
        {"2024-05-06 07:08", {24, 5, 6, 7, 8, 0}},
        {"abcd-ef-gh ij:kl:mn", {48, 0, 0, 0, 0, 0}},
        {"1999-12-31 23:59:59", {255, 12, 31, 23, 59, 59}},  // (1999 + 48) mod 256
    };
    for (const Case& c : cases) {
        unsigned char v[6] = {9, 9, 9, 9, 9, 9};
        StringToDateTime(QString::fromLatin1(c.text), v[0], v[1], v[2], v[3], v[4], v[5]);
        EXPECT_EQ(std::memcmp(v, c.expected, 6), 0) << c.text;
    }
}
