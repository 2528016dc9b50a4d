#pragma once

#include <QByteArray>
#include <QString>

namespace kest::test {

// Folder of checked-in fixtures (tests/data).
QString DataPath(const QString& name);
// The program folder of the build tree (build/bin), where kest, engine and libkest.so are.
QString BinPath(const QString& name);
QByteArray ReadFileBytes(const QString& path);

} // namespace kest::test
