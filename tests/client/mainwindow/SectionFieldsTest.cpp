// The settings sections' field rules without a window: what a typed text becomes in a record byte, how stored
// values and names map to the page's lists, and the network fields' checks.
#include "settings/SectionFields.h"

#include "CalvoxSDK.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SectionFields, OneByteFieldsAreHeldNotCut)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {{"0", 0},     {"7", 7},   {"255", 255}, {"256", 255}, {"300", 255},
                 {"-48", 0},   {"", 0},    {"abc", 0},   {"12a", 0},   {"99999999999999999999999", 255},
                 {" 42 ", 42}, {"+5", 5}};
    for (const auto& c : cases)
        EXPECT_EQ(ByteFieldValue(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(SectionFields, HoldTimeInTenthsOfASecond)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {{"550", 5}, {"500", 5}, {"5000", 50}, {"99", 0}, {"30000", 255}, {"-100", 0}, {"x", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(HoldTimeValue(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(SectionFields, FieldTextStaysInsideItsField)
{
    const uint8_t key[12] = {'1', '2', '#', 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'X', 'Y'};
    EXPECT_EQ(FieldText(key, 10, 3), QStringLiteral("12#"));
    EXPECT_EQ(FieldText(key, 10, 200), QStringLiteral("12#xxxxxxx"));
    EXPECT_EQ(FieldText(key, 10, 0), QString());

    uint8_t field[12];
    std::memset(field, 0xA5, sizeof field);
    EXPECT_EQ(PutFieldText(field, 10, QStringLiteral("7*")), 2);
    const uint8_t expected[12] = {'7', '*', 0, 0, 0, 0, 0, 0, 0, 0, 0xA5, 0xA5};
    EXPECT_EQ(std::memcmp(field, expected, sizeof field), 0);
    EXPECT_EQ(PutFieldText(field, 10, QStringLiteral("0123456789AB")), 10);
    EXPECT_EQ(field[10], 0xA5);
}

TEST(SectionFields, StoredIndexesOutsideTheListSelectNothingAndSaveTheStoredByte)
{
    EXPECT_EQ(ListIndexOf(0, 7), 0);
    EXPECT_EQ(ListIndexOf(6, 7), 6);
    EXPECT_EQ(ListIndexOf(9, 7), -1);
    EXPECT_EQ(ListIndexOf(0, 0), -1);
    EXPECT_EQ(ListIndexByte(3, 9), 3);
    EXPECT_EQ(ListIndexByte(-1, 9), 9);
}

TEST(SectionFields, FileNamesCompareWithinTheirField)
{
    const QStringList names = {QStringLiteral("hello.wav"), QStringLiteral("busy.wav")};
    uint8_t field[28] = {};
    std::memcpy(field, "busy.wav", 8);
    EXPECT_EQ(FileNameIndex(field, names), 1);
    std::memcpy(field, "gone.wav", 8);
    EXPECT_EQ(FileNameIndex(field, names), -1);
    std::memset(field, 0, sizeof field);
    EXPECT_EQ(FileNameIndex(field, names), -1);
    // 28 bytes without a zero name nothing, even where the list holds their first 27.
    std::memset(field, 'a', sizeof field);
    EXPECT_EQ(FileNameIndex(field, {QString(27, QLatin1Char('a')), QString(28, QLatin1Char('a'))}), -1);
}

TEST(SectionFields, MacAddress)
{
    const uint8_t mac[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    EXPECT_EQ(MacAddressText(mac), QStringLiteral("00:1A:2B:3C:4D:5E"));

    uint8_t read[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_FALSE(MacAddressValue(QStringLiteral("00:1A:2B:3C:4D"), read));
    EXPECT_FALSE(MacAddressValue(QStringLiteral("00:1A:2B:3C:4D:5E:6F"), read));
    EXPECT_EQ(read[0], 1);
    ASSERT_TRUE(MacAddressValue(QStringLiteral("00:1a:2B:3c:4D:5e"), read));
    EXPECT_EQ(std::memcmp(read, mac, 6), 0);
    ASSERT_TRUE(MacAddressValue(QStringLiteral("1FF:zz::3:4:5"), read));
    const uint8_t lenient[6] = {0xFF, 0, 0, 3, 4, 5};
    EXPECT_EQ(std::memcmp(read, lenient, 6), 0);
}

TEST(SectionFields, StaticAddressesAreDecimalDottedQuads)
{
    const struct {
        const char* text;
        const char* sent;  // null: refused
    } cases[] = {{"192.168.1.10", "192.168.1.10"},
                 {"192.168.001.010", "192.168.1.10"},
                 {"0.0.0.0", "0.0.0.0"},
                 {"255.255.255.0", "255.255.255.0"},
                 {"255.255.255.255", nullptr},
                 {"10.0.0", nullptr},
                 {"10..0.1", nullptr},
                 {"10.0.0.256", nullptr},
                 {"10.0.0.1000", nullptr},
                 {"10.0.0.1.", nullptr},
                 {"a.b.c.d", nullptr},
                 {"", nullptr},
                 {" 10.0.0.1", nullptr}};
    for (const auto& c : cases) {
        uint32_t address = 0x12345678;
        const bool ok = StaticAddressValue(QString::fromLatin1(c.text), &address);
        EXPECT_EQ(ok, c.sent != nullptr) << c.text;
        if (c.sent != nullptr)
            EXPECT_EQ(address, CalvoxAPI_StringToIPaddress(c.sent)) << c.text;
        else
            EXPECT_EQ(address, 0x12345678u) << c.text;
    }
}

TEST(SectionFields, PortsFromOneTo65535)
{
    const struct {
        const char* text;
        int port;  // -1: refused
    } cases[] = {{"4464", 4464}, {"1", 1},      {"65535", 65535}, {"70000", -1}, {"65536", -1},
                 {"0", -1},      {"", -1},      {"abc", -1},      {"-1", -1},    {"12 ", -1}};
    for (const auto& c : cases) {
        uint16_t port = 7;
        EXPECT_EQ(NetPortValue(QString::fromLatin1(c.text), &port), c.port >= 0) << c.text;
        EXPECT_EQ(port, c.port >= 0 ? c.port : 7) << c.text;
    }
}
