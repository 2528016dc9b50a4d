#include "LzReader.h"

#include "FakeUi.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using kest::test::DataPath;
using kest::test::ReadFileBytes;

QByteArray ReadAll(CLzReader& reader, int nChunk, bool* pFailed) {
    QByteArray all;
    QByteArray buffer(nChunk, 0);
    *pFailed = false;
    for (;;) {
        const int n = reader.Read(buffer.data(), nChunk);
        if (n < 0) {
            *pFailed = true;
            return all;
        }
        all.append(buffer.constData(), n);
        if (n < nChunk)
            return all;
    }
}

TEST(LzReader, ExpandsCompressedAndPassesPlainFilesThrough) {
    const QByteArray expected = ReadFileBytes(DataPath("setup/sample.txt"));
    ASSERT_FALSE(expected.isEmpty());
    for (const char* pszName : {"setup/sample.tx_", "setup/sample.txt"}) {
        CLzReader reader;
        ASSERT_TRUE(reader.Open(DataPath(pszName))) << pszName;
        bool bFailed = false;
        EXPECT_EQ(ReadAll(reader, 1000, &bFailed), expected) << pszName;
        EXPECT_FALSE(bFailed);
    }
}

TEST(LzReader, DamagedCompressedFilesFail) {
    // Truncated: libmspack itself calls it fine, the header's length does not.
    CLzReader truncated;
    ASSERT_TRUE(truncated.Open(DataPath("setup/truncated.tx_")));
    EXPECT_TRUE(truncated.IsCompressed());
    char buffer[64];
    EXPECT_EQ(truncated.Read(buffer, sizeof buffer), -1);
    EXPECT_EQ(truncated.Read(buffer, sizeof buffer), -1) << "a failure stays a failure";

    CLzReader header;
    EXPECT_FALSE(header.Open(DataPath("setup/badheader.tx_")));
    CLzReader missing;
    EXPECT_FALSE(missing.Open(DataPath("setup/none.tx_")));
}

TEST(LzReader, MoreOutputThanTheHeaderAnnouncesFails) {
    QByteArray data = ReadFileBytes(DataPath("setup/sample.tx_"));
    ASSERT_GT(data.size(), 14);
    data[10] = 10; // expanded length 10 in place of 8974
    data[11] = 0;
    QTemporaryDir tmp;
    ASSERT_TRUE(WriteBytes(tmp.path() + "/short.tx_", data));
    CLzReader reader;
    ASSERT_TRUE(reader.Open(tmp.path() + "/short.tx_"));
    char buffer[64];
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), -1);
}

} // namespace
