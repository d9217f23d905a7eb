// Every committed input of every fuzz target (seeds, and the inputs that once made a target fail) runs through
// the target's entry function in the ordinary build, so a fixed fault that comes back shows here; under
// CALVOX_SANITIZE=address an out-of-bounds access fails the test as the fuzzer would.
#include "FuzzEntries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace calvox::fuzz {
namespace {

TEST(FuzzCorpusReplay, EveryCommittedInputRuns)
{
    int total = 0;
    for (const Target& target : Targets()) {
        const QDir folder(QStringLiteral(CALVOX_FUZZ_CORPUS "/") + QLatin1String(target.name));
        const QStringList names = folder.entryList(QDir::Files, QDir::Name);
        EXPECT_FALSE(names.isEmpty()) << "no seeds for " << target.name;
        for (const QString& name : names) {
            SCOPED_TRACE(std::string(target.name) + "/" + name.toStdString());
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray input = file.readAll();
            EXPECT_EQ(target.run(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size())), 0);
            ++total;
        }
    }
    EXPECT_GT(total, 0);
}

}  // namespace
}  // namespace calvox::fuzz
