#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using kest::test::ReadFileBytes;

QProcessEnvironment PrivateEnvironment(const QString& strRoot) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* pszName : {"home", "data", "config", "runtime"})
        QDir().mkpath(strRoot + "/" + pszName);
    QFile::setPermissions(strRoot + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert("HOME", strRoot + "/home");
    env.insert("XDG_DATA_HOME", strRoot + "/data");
    env.insert("XDG_CONFIG_HOME", strRoot + "/config");
    env.insert("XDG_RUNTIME_DIR", strRoot + "/runtime");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

int RunProgram(const QString& strProgram, const QStringList& args, const QProcessEnvironment& env,
               QByteArray* pOut = nullptr) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(strProgram, args);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (pOut)
        *pOut = process.readAllStandardOutput();
    return process.exitCode();
}

// Makes distribution disks from this build, installs them unattended and compares every installed
// file with the build.
TEST(SetupEndToEnd, InstallsTheBuildFromItsDisks) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QProcessEnvironment env = PrivateEnvironment(tmp.path());
    const QString disks = tmp.path() + "/disks";
    // Small disks, so that there are several; an instrumented installer needs a larger first one.
    qint64 nDiskBytes = 800000;
    if (RunProgram("strip", {"-o", tmp.path() + "/setup.stripped", KEST_SETUP_EXE}, env) == 0)
        nDiskBytes = std::max<qint64>(nDiskBytes,
                                      QFileInfo(tmp.path() + "/setup.stripped").size() + 64 * 1024);
    ASSERT_EQ(RunProgram(KEST_MKDISKS,
                         {"--out", disks, "--setup", KEST_SETUP_EXE, "--bin", KEST_BIN_DIR,
                          "--source", KEST_SOURCE_DIR, "--disk-bytes", QString::number(nDiskBytes)},
                         env),
              0);

    QStringList further;
    for (int n = 2; QFileInfo(disks + QStringLiteral("/disk%1").arg(n)).isDir(); ++n)
        further.append(disks + QStringLiteral("/disk%1").arg(n));
    const QString dest = tmp.path() + "/installed/kest";
    QByteArray out;
    ASSERT_EQ(RunProgram(disks + "/disk1/setup", QStringList({"--unattended", dest}) + further, env,
                         &out),
              0)
        << out.toStdString();
    EXPECT_TRUE(out.trimmed().endsWith("Setup was completely successful !")) << out.toStdString();

    QFile manifest(disks + "/manifest.txt");
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    QStringList listed;
    for (const QByteArray& line : manifest.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 2)
            continue;
        const QString name = QString::fromUtf8(fields[0]);
        listed.append(name);
        const QByteArray expected = ReadFileBytes(QString::fromUtf8(fields[1]));
        EXPECT_EQ(ReadFileBytes(dest + "/" + name), expected) << name.toStdString();
    }
    QStringList installed;
    QDirIterator it(dest, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        installed.append(QDir(dest).relativeFilePath(it.next()));
    installed.sort();
    listed.sort();
    EXPECT_EQ(installed, listed);
    EXPECT_TRUE(QFileInfo::exists(tmp.path() + "/data/applications/Electronics/KEST_1.0.desktop"));

    // The installed workbench writes the netlist of an example circuit.
    const QString kest = dest + "/kest";
    QStringList examples = QDir(dest + "/examples").entryList({"*.kst"}, QDir::Files, QDir::Name);
    ASSERT_TRUE(QFileInfo(kest).isExecutable()) << "no kest installed";
    ASSERT_FALSE(examples.isEmpty()) << "no example circuit installed";
    const QString netlist = tmp.path() + "/out.cir";
    EXPECT_EQ(RunProgram(kest, {"--netlist", dest + "/examples/" + examples.first(), netlist}, env),
              0);
    EXPECT_GT(QFileInfo(netlist).size(), 0);
}

} // namespace
