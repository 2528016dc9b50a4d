#include "SimulateCommand.h"

#include "Component.h"
#include "ComponentList.h"
#include "EngineProtocol.h"
#include "EngineRunner.h"
#include "ProgramState.h"
#include "VonnDoc.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: kest --simulate CIRCUIT.kst [--steps N]\n");
    return 2;
}

void PrintComponents(const CVonnDoc& doc) {
    std::printf("index,type,subtype,value0,value1,value2,value3\n");
    int nIndex = 0;
    for (const CComponent* pComp : *doc.m_pComponents) {
        std::printf("%d,%d,%d,%.6g,%.6g,%.6g,%.6g\n", nIndex++, pComp->m_nType, pComp->m_nSubType,
                    double(pComp->m_fValue[0]), double(pComp->m_fValue[1]),
                    double(pComp->m_fValue[2]), double(pComp->m_fValue[3]));
    }
    std::fflush(stdout);
}

} // namespace

int RunSimulateCommand(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const char* pszCircuit = nullptr;
    long nSteps = 100;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc) {
            char* pEnd = nullptr;
            nSteps = std::strtol(argv[++i], &pEnd, 10);
            if (*pEnd != 0 || nSteps < 0 || nSteps > 100'000'000)
                return Usage();
        } else if (!pszCircuit && argv[i][0] != '-') {
            pszCircuit = argv[i];
        } else {
            return Usage();
        }
    }
    if (!pszCircuit)
        return Usage();

    int nArgc = 1;
    QCoreApplication app(nArgc, argv);
    CProgramState& state = ProgramState();
    if (!state.InitProgramFolder()) {
        std::fprintf(stderr, "The program folder's path is too long.\n");
        return 2;
    }
    CVonnDoc doc;
    QString strError;
    if (!doc.OnOpenDocument(QString::fromLocal8Bit(pszCircuit), &strError)) {
        std::fprintf(stderr, "%s\n", strError.toLocal8Bit().constData());
        return 2;
    }

    doc.m_engineOptions = {QLatin1String(CEngineProtocol::kFastOption)};
    QObject::connect(&doc, &CVonnDoc::SimulationFailed, [](const QString& strReason) {
        std::fprintf(stderr, "%s\n", strReason.toLocal8Bit().constData());
    });
    // Ends the event loop once enough steps were played or no engine is left to give any.
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (doc.m_nResultSteps >= nSteps || !EngineRunner().IsRunning())
            app.quit();
    });
    QObject::connect(&doc, &CVonnDoc::ReadingsChanged, [&] {
        if (doc.m_nResultSteps >= nSteps) {
            // Stop the engine before it gives another step; the readings stay as they are.
            EngineRunner().Terminate();
            app.quit();
        }
    });
    if (nSteps > 0 && doc.StartSimulation()) {
        watcher.start();
        app.exec();
    }
    EngineRunner().Terminate();
    PrintComponents(doc);
    CVonnDoc::DeleteRunFiles();
    return 0;
}
