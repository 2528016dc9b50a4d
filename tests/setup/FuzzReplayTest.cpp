#include "FuzzBodies.h"
#include "TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// The fuzzers' seed corpus, run through the same bodies in every build (and so under the
// sanitizers in CI).
TEST(SetupFuzzCorpus, ReplaysWithoutFault) {
    const struct {
        const char* m_pszFolder;
        int (*m_pBody)(const uint8_t*, size_t);
    } corpora[] = {{"setup/fuzz/script", FuzzSetupScript}, {"setup/fuzz/expand", FuzzLzExpand}};
    for (const auto& corpus : corpora) {
        const QDir dir(kest::test::DataPath(corpus.m_pszFolder));
        const QStringList files = dir.entryList(QDir::Files);
        EXPECT_GE(files.size(), 4) << corpus.m_pszFolder;
        for (const QString& name : files) {
            const QByteArray data = kest::test::ReadFileBytes(dir.filePath(name));
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(corpus.m_pBody(reinterpret_cast<const uint8_t*>(data.constData()),
                                     static_cast<size_t>(data.size())),
                      0);
        }
    }
}

} // namespace
