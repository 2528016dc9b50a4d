// Makes the distribution disks from a build: disk folders of at most 1,474,560 bytes, the
// installer and Setup.ini on disk 1, the product files compressed (SZDD, with mscompress)
// wherever that makes them smaller. Writes manifest.txt beside the disks: one line per
// installed file, "installed name<TAB>file it must equal" (the file in the build, or for a program
// too large for a disk, its copy without debugging information kept in reference/).
//
//   kestmkdisks --out DIR --setup SETUP --bin PROGRAM_FOLDER --source SOURCE_TREE [--disk-bytes N]

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>
#include <cstdio>
#include <map>
#include <vector>

namespace {

// Smaller disks can be asked for, so that a test sees several.
qint64 kDiskBytes = 1474560;
// The installer reads lines of at most 127 characters.
constexpr int kMaxLine = 127;

struct SProductFile {
    QString m_strInstalled;  // name below the destination, '/' between folders
    QString m_strBuildPath;  // the file in the build
    QString m_strSourceName; // name on the disk
    QString m_strDiskPath;   // staged file that goes onto the disk
    QString
        m_strReference; // what the installed file must equal: the build's file or its stripped copy
    qint64 m_nSize = 0;
    qint64 m_nDiskSize = 0;
};

void Fail(const QString& strMessage) {
    std::fprintf(stderr, "kestmkdisks: %s\n", qPrintable(strMessage));
    std::exit(1);
}

void Warn(const QString& strMessage) {
    std::fprintf(stderr, "kestmkdisks: warning: %s\n", qPrintable(strMessage));
}

// Only these characters survive the installer's reading of Setup.ini.
bool IsScriptName(const QString& strName) {
    for (QChar ch : strName) {
        const bool bOk = (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ||
                         (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z')) ||
                         (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
                         ch == QLatin1Char('.') || ch == QLatin1Char('_') || ch == QLatin1Char('/');
        if (!bOk)
            return false;
    }
    return !strName.isEmpty();
}

class CProductList {
public:
    void Add(const QString& strInstalled, const QString& strBuildPath) {
        const QFileInfo info(strBuildPath);
        if (!info.isFile() || m_index.count(strInstalled))
            return;
        if (!IsScriptName(strInstalled) || strInstalled.size() * 2 + 2 > kMaxLine) {
            Warn(QStringLiteral("%1 cannot be named in Setup.ini; left out").arg(strInstalled));
            return;
        }
        m_index[strInstalled] = m_aFiles.size();
        SProductFile file;
        file.m_strInstalled = strInstalled;
        file.m_strBuildPath = info.absoluteFilePath();
        file.m_nSize = info.size();
        m_aFiles.push_back(file);
    }

    // Every file below strFolder, installed below strPrefix.
    void AddTree(const QString& strFolder, const QString& strPrefix, const QStringList& filters) {
        if (!QFileInfo(strFolder).isDir())
            return;
        QDirIterator it(strFolder, filters, QDir::Files, QDirIterator::Subdirectories);
        QStringList found;
        while (it.hasNext())
            found.append(it.next());
        found.sort();
        for (const QString& path : found)
            Add(strPrefix + QDir(strFolder).relativeFilePath(path), path);
    }

    std::vector<SProductFile> m_aFiles;

private:
    std::map<QString, size_t> m_index;
};

// Compresses one staged file with mscompress; keeps the smaller of the two. With bStrip the
// staged copy loses its debugging information first.
void Stage(SProductFile& file, const QString& strStage, bool bStrip) {
    const QString staged = strStage + QLatin1Char('/') + file.m_strInstalled;
    QDir().mkpath(QFileInfo(staged).path());
    QFile::remove(staged);
    QFile::remove(staged + QLatin1Char('_'));
    if (bStrip) {
        if (QProcess::execute(QStringLiteral("strip"),
                              {QStringLiteral("--strip-debug"), QStringLiteral("-o"), staged,
                               file.m_strBuildPath}) != 0)
            Fail(QStringLiteral("cannot strip %1").arg(file.m_strBuildPath));
        file.m_nSize = QFileInfo(staged).size();
    } else if (!QFile::copy(file.m_strBuildPath, staged)) {
        Fail(QStringLiteral("cannot copy %1").arg(file.m_strBuildPath));
    }
    file.m_strSourceName = file.m_strInstalled;
    file.m_strDiskPath = staged;
    file.m_nDiskSize = file.m_nSize;
    // mscompress mangles files shorter than 16 bytes: those travel as they are.
    if (file.m_nSize < 16)
        return;
    QProcess compress;
    compress.start(QStringLiteral("mscompress"), {staged});
    if (!compress.waitForFinished(120000) || compress.exitStatus() != QProcess::NormalExit ||
        compress.exitCode() != 0)
        Fail(QStringLiteral("mscompress failed on %1").arg(staged));
    const QFileInfo packed(staged + QLatin1Char('_'));
    if (packed.isFile() && packed.size() < file.m_nSize) {
        file.m_strSourceName = file.m_strInstalled + QLatin1Char('_');
        file.m_strDiskPath = packed.absoluteFilePath();
        file.m_nDiskSize = packed.size();
    }
}

void CopyOrFail(const QString& strFrom, const QString& strTo) {
    QDir().mkpath(QFileInfo(strTo).path());
    QFile::remove(strTo);
    if (!QFile::copy(strFrom, strTo))
        Fail(QStringLiteral("cannot copy %1 to %2").arg(strFrom, strTo));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString out, setup, bin, source;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
        else if (args[i] == QLatin1String("--setup"))
            setup = args[i + 1];
        else if (args[i] == QLatin1String("--bin"))
            bin = args[i + 1];
        else if (args[i] == QLatin1String("--source"))
            source = args[i + 1];
        else if (args[i] == QLatin1String("--disk-bytes"))
            kDiskBytes = args[i + 1].toLongLong();
    }
    if (out.isEmpty() || setup.isEmpty() || bin.isEmpty() || source.isEmpty()) {
        std::fputs("usage: kestmkdisks --out DIR --setup SETUP --bin PROGRAM_FOLDER "
                   "--source SOURCE_TREE\n",
                   stderr);
        return 2;
    }
    out = QFileInfo(out).absoluteFilePath();
    bin = QFileInfo(bin).absoluteFilePath();
    source = QFileInfo(source).absoluteFilePath();
    if (kDiskBytes <= 0)
        Fail(QStringLiteral("--disk-bytes needs a positive size"));
    if (!QFileInfo(setup).isFile())
        Fail(QStringLiteral("no installer at %1").arg(setup));

    // Whatever of the product the build holds now. The installer refuses a size of 0: an empty
    // product still counts one kilobyte.
    CProductList products;
    for (const char* pszName : {"kest", "libkest.so", "engine"})
        products.Add(QString::fromLatin1(pszName), bin + QLatin1Char('/') + pszName);
    products.AddTree(bin + QLatin1String("/sound"), QStringLiteral("sound/"), {"*.wav"});
    products.AddTree(source + QLatin1String("/resources/sound"), QStringLiteral("sound/"),
                     {"*.wav"});
    products.AddTree(bin + QLatin1String("/help"), QStringLiteral("help/"), {});
    for (const QFileInfo& info :
         QDir(bin).entryInfoList({"*.html", "*.desktop", "*.xml"}, QDir::Files, QDir::Name))
        products.Add(info.fileName(), info.absoluteFilePath());
    products.AddTree(source + QLatin1String("/resources/desktop"), QString(),
                     {"*.desktop", "*.xml"});
    products.AddTree(bin + QLatin1String("/examples"), QStringLiteral("examples/"), {"*.kst"});
    products.AddTree(source + QLatin1String("/examples"), QStringLiteral("examples/"), {"*.kst"});

    QDir outDir(out);
    outDir.mkpath(QStringLiteral("."));
    for (const QString& old :
         outDir.entryList({"disk*", "stage", "reference"}, QDir::Dirs | QDir::NoDotAndDotDot))
        QDir(outDir.filePath(old)).removeRecursively();
    const QString stage = outDir.filePath(QStringLiteral("stage"));

    const QString reference = outDir.filePath(QStringLiteral("reference"));
    qint64 nInstalled = 0;
    for (SProductFile& file : products.m_aFiles) {
        Stage(file, stage, false);
        file.m_strReference = file.m_strBuildPath;
        // A program too large for one disk even compressed ships without debugging information.
        if (file.m_nDiskSize > kDiskBytes) {
            Stage(file, stage, true);
            file.m_strReference = reference + QLatin1Char('/') + file.m_strInstalled;
            CopyOrFail(stage + QLatin1Char('/') + file.m_strInstalled, file.m_strReference);
            Warn(QStringLiteral("%1 ships without debugging information").arg(file.m_strInstalled));
        }
        nInstalled += file.m_nSize;
        if (file.m_nDiskSize > kDiskBytes)
            Fail(QStringLiteral("%1 is %2 bytes on disk, more than one disk holds")
                     .arg(file.m_strInstalled)
                     .arg(file.m_nDiskSize));
    }

    // Disk 1 holds the installer (without its debugging information) and Setup.ini.
    const QString disk1 = outDir.filePath(QStringLiteral("disk1"));
    QDir().mkpath(disk1);
    const QString setupOnDisk = disk1 + QLatin1String("/setup");
    if (QProcess::execute(QStringLiteral("strip"), {QStringLiteral("-o"), setupOnDisk, setup}) != 0)
        CopyOrFail(setup, setupOnDisk);
    const qint64 nScriptReserve = 128 * qint64(products.m_aFiles.size() + 8);

    std::vector<std::vector<const SProductFile*>> disks(1);
    qint64 nUsed = QFileInfo(setupOnDisk).size() + nScriptReserve;
    if (nUsed > kDiskBytes)
        Fail(QStringLiteral("the installer does not fit on disk 1"));
    for (const SProductFile& file : products.m_aFiles) {
        if (nUsed + file.m_nDiskSize > kDiskBytes) {
            disks.emplace_back();
            nUsed = 0;
        }
        disks.back().push_back(&file);
        nUsed += file.m_nDiskSize;
    }

    QFile manifest(outDir.filePath(QStringLiteral("manifest.txt")));
    if (!manifest.open(QIODevice::WriteOnly | QIODevice::Truncate))
        Fail(QStringLiteral("cannot write %1").arg(manifest.fileName()));
    QTextStream manifestOut(&manifest);

    QString script;
    QTextStream scriptOut(&script);
    scriptOut << "[General]\n"
              << "Disks=" << disks.size() << "\n"
              << "OriginalSize=" << std::max<qint64>(1, (nInstalled + 1023) / 1024) << "\n"
              << "InstallPath=kest\n";
    for (size_t i = 0; i < disks.size(); ++i) {
        const QString diskDir = outDir.filePath(QStringLiteral("disk%1").arg(i + 1));
        scriptOut << "\n[Disk" << i + 1 << "]\n";
        for (const SProductFile* pFile : disks[i]) {
            CopyOrFail(pFile->m_strDiskPath, diskDir + QLatin1Char('/') + pFile->m_strSourceName);
            scriptOut << pFile->m_strSourceName << ' ' << pFile->m_strInstalled << "\n";
            manifestOut << pFile->m_strInstalled << '\t' << pFile->m_strReference << "\n";
        }
    }
    scriptOut.flush();
    QFile ini(disk1 + QLatin1String("/Setup.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) || ini.write(script.toLatin1()) < 0)
        Fail(QStringLiteral("cannot write %1").arg(ini.fileName()));
    ini.close();
    QDir(stage).removeRecursively();

    std::printf("kestmkdisks: %zu files, %lld bytes installed, %zu disk(s) in %s\n",
                products.m_aFiles.size(), static_cast<long long>(nInstalled), disks.size(),
                qPrintable(QDir(out).absolutePath()));
    return 0;
}
