#include "TestSupport.h"
#include "fuzz/CircuitFuzz.h"

#include <QDir>

#include <gtest/gtest.h>

// Replays the circuit reader's fuzz corpus, so the sanitizer build checks every input.
TEST(CircuitFuzzCorpus, EveryInputIsReadSafely) {
    const QDir dir(kest::test::DataPath(QStringLiteral("model/corpus")));
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_GE(files.size(), 5);
    for (const QString& name : files) {
        const QByteArray bytes = kest::test::ReadFileBytes(dir.filePath(name));
        SCOPED_TRACE(name.toStdString());
        FuzzOneCircuit(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
}
