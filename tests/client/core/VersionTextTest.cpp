// The one rule for what counts as a version: it becomes part of a local file name and decides upgrades.
#include "VersionText.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    const char* text;
    bool version;
};

}  // namespace

TEST(IsVersionText, Table)
{
    const VersionCase cases[] = {
        {"2.5.1.10", true},
        {"0.0.0.0", true},
        {"255.255.255.255", true},
        {"001.2.3.4", true},
        {"", false},
        {"2.5.1", false},
        {"2.5.1.5.6", false},
        {"256.0.0.0", false},
        {"1000.0.0.0", false},
        {"2.5.1.5 ", false},
        {" 2.5.1.5", false},
        {"2.5.1.5\n", false},  // a line end in a file name
        {"2.5.1.", false},
        {"+2.5.1.5", false},
        {"2.5.1.-5", false},
        {"2..1.5", false},
        {"2.5.1/../5", false},
        {"0x2.5.1.5", false},
    };
    for (const VersionCase& c : cases)
        EXPECT_EQ(IsVersionText(QString::fromLatin1(c.text)), c.version) << '"' << c.text << '"';
    // Digits of other scripts are not version digits.
    EXPECT_FALSE(IsVersionText(QStringLiteral("2.5.1.\u0665")));
}
