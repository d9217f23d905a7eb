#include "Md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Hex(const std::uint8_t digest[16])
{
    std::string text;
    char pair[3];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        text += pair;
    }
    return text;
}

struct Vector {
    const char* message;
    const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Vector kRfc1321[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5, Rfc1321Vectors)
{
    for (const Vector& v : kRfc1321) {
        std::uint8_t digest[16];
        calvox::Md5OfText(v.message, digest);
        EXPECT_EQ(Hex(digest), v.digest) << '"' << v.message << '"';
    }
}

TEST(Md5, NullPasswordIsTheEmptyText)
{
    std::uint8_t digest[16];
    calvox::Md5OfText(nullptr, digest);
    EXPECT_EQ(Hex(digest), "d41d8cd98f00b204e9800998ecf8427e");
}

// Padding changes shape at 55/56 and 63/64 bytes, and pieces that straddle a block must give the same digest.
TEST(Md5, PiecewiseUpdatesMatchOneShotAcrossBlockBoundaries)
{
    std::string data(300, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = char(i * 7 + 3);
    for (std::size_t length : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 300u}) {
        std::uint8_t whole[16];
        calvox::Md5Digest(data.data(), length, whole);
        for (std::size_t piece : {1u, 5u, 63u, 64u}) {
            calvox::Md5 md5;
            for (std::size_t at = 0; at < length; at += piece)
                md5.Update(data.data() + at, std::min(piece, length - at));
            std::uint8_t split[16];
            md5.Final(split);
            EXPECT_EQ(Hex(split), Hex(whole)) << "length " << length << " piece " << piece;
        }
    }
    // A known long value: one million 'a' characters.
    std::string million(1000000, 'a');
    std::uint8_t digest[16];
    calvox::Md5Digest(million.data(), million.size(), digest);
    EXPECT_EQ(Hex(digest), "7707d6ae4e027c70eea2a935c2296f21");
}

} // namespace
