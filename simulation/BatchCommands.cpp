#include "BatchCommands.h"

#include "Netlist.h"
#include "SimulateCommand.h"
#include "VonnDoc.h"

#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 2;
constexpr int kExitNothingToSimulate = 3;

void PrintError(const QString& strText) {
    std::fprintf(stderr, "%s\n", strText.toLocal8Bit().constData());
}

// Qt's own notes (a missing runtime folder and the like) would mix into the command's
// output, which holds only its own messages.
void DropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// The model loads pictures and fonts through QtGui; without a display the offscreen
// platform serves.
std::unique_ptr<QGuiApplication> MakeApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    qInstallMessageHandler(DropQtMessages);
    static int s_argc = 3;
    static char s_szProgram[] = "kest";
    static char s_szPlatform[] = "-platform";
    static char s_szOffscreen[] = "offscreen";
    static char* s_argv[] = {s_szProgram, s_szPlatform, s_szOffscreen, nullptr};
    return std::make_unique<QGuiApplication>(s_argc, s_argv);
}

// kest --netlist CIRCUIT.kst OUT.cir
int RunNetlistCommand(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], "--netlist") != 0) {
        std::fprintf(stderr, "usage: kest --netlist CIRCUIT.kst OUT.cir\n");
        return kExitFailed;
    }
    const auto pApp = MakeApplication();
    const QString strCircuit = QString::fromLocal8Bit(argv[2]);
    const QString strOut = QString::fromLocal8Bit(argv[3]);

    CVonnDoc doc;
    QString strError;
    if (!doc.OnOpenDocument(strCircuit, &strError)) {
        PrintError(strError);
        return kExitFailed;
    }
    CNetlist& netlist = Netlist();
    netlist.BuildElementList(doc);
    QByteArray bytes;
    const int nResult = netlist.BuildNetlist(&bytes);
    netlist.Clear();
    if (nResult != 1)
        return kExitNothingToSimulate;

    QSaveFile file(strOut);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        PrintError(QStringLiteral("Cannot write %1: %2").arg(strOut, file.errorString()));
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int RunBatchCommand(int argc, char** argv, bool* pbHandled) {
    *pbHandled = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--netlist") == 0) {
            *pbHandled = true;
            return RunNetlistCommand(argc, argv);
        }
        if (std::strcmp(argv[i], "--simulate") == 0) {
            *pbHandled = true;
            return RunSimulateCommand(argc, argv);
        }
    }
    return 0;
}
