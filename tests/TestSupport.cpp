#include "TestSupport.h"

#include <QFile>

namespace kest::test {

QString DataPath(const QString& name) {
    return QStringLiteral(KEST_TEST_DATA_DIR "/") + name;
}

QString BinPath(const QString& name) {
    return QStringLiteral(KEST_BIN_DIR "/") + name;
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace kest::test
