// Opens circuits in the workbench under a virtual display and saves screenshots of the main
// window: with the circuit, and with the Components menu and one of its submenus open.
//   kest_screens OUT_FOLDER [CIRCUIT.kst ...]   (without circuits a demo circuit is used)
#include "../editor/DemoCircuit.h"
#include "MainFrame.h"
#include "PaletteMenus.h"
#include "VonnApp.h"
#include "VonnDoc.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void Settle(int nMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < nMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool GrabScreen(const QString& strPath) {
    QScreen* pScreen = QGuiApplication::primaryScreen();
    const QPixmap shot = pScreen->grabWindow(0);
    const bool bOk = shot.save(strPath);
    std::printf("%s %s\n", bOk ? "wrote" : "could not write", qPrintable(strPath));
    return bOk;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    QApplication qapp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER [CIRCUIT.kst ...]\n", argv[0]);
        return 2;
    }
    const QString strOut = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(strOut);
    QStringList circuits;
    for (int i = 2; i < argc; ++i)
        circuits << QString::fromLocal8Bit(argv[i]);
    if (circuits.isEmpty()) {
        CVonnDoc doc;
        kest::test::BuildDemoCircuit(doc);
        const QString strDemo = home.path() + QStringLiteral("/lamp.kst");
        QString strError;
        if (!doc.OnSaveDocument(strDemo, &strError)) {
            std::fprintf(stderr, "%s\n", qPrintable(strError));
            return 1;
        }
        circuits << strDemo;
    }

    CVonnApp app;
    app.m_strInstanceName =
        QStringLiteral("SelvikVonn-screens-%1").arg(QCoreApplication::applicationPid());
    app.m_bRegisterShell = false;
    if (app.InitInstance({circuits.first()}) != CVonnApp::Started)
        return 1;
    CMainFrame* pFrame = app.MainFrame();
    Settle(800);
    int nShot = 0;
    for (const QString& strCircuit : circuits) {
        if (!app.OpenDocumentFile(strCircuit))
            continue;
        Settle(500);
        const QString strBase = QFileInfo(strCircuit).completeBaseName();
        GrabScreen(QStringLiteral("%1/%2-%3.png").arg(strOut).arg(++nShot).arg(strBase));
    }

    // The Components menu with its Connections submenu open.
    QMenu* pComponents = CPaletteMenus::Instance().ComponentsMenu();
    if (pComponents) {
        QMenuBar* pBar = pFrame->menuBar();
        pBar->setActiveAction(pComponents->menuAction());
        Settle(500);
        const QList<QAction*> groups = pComponents->actions();
        QAction* pGroup = groups.value(3);
        if (pGroup && pGroup->menu()) {
            pComponents->setActiveAction(pGroup);
            const QRect rcItem = pComponents->actionGeometry(pGroup);
            pGroup->menu()->popup(pComponents->mapToGlobal(rcItem.topRight()));
            Settle(500);
        }
        GrabScreen(QStringLiteral("%1/%2-components-menu.png").arg(strOut).arg(++nShot));
        if (pGroup && pGroup->menu())
            pGroup->menu()->close();
        pComponents->close();
        Settle(200);
    }
    return app.ExitInstance(0);
}
