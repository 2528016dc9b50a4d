#include "BatchCommands.h"
#include "VonnApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    // --netlist and --simulate need no display: they run before any window system starts.
    bool bHandled = false;
    const int nBatchResult = RunBatchCommand(argc, argv, &bHandled);
    if (bHandled)
        return nBatchResult;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kest"));
    CVonnApp theApp;
    QStringList args = QApplication::arguments();
    args.removeFirst();
    switch (theApp.InitInstance(args)) {
    case CVonnApp::Started:
        break;
    case CVonnApp::HandedOver:
    case CVonnApp::Unregistered:
        return theApp.ExitInstance(0);
    case CVonnApp::Failed:
        return theApp.ExitInstance(1);
    }
    return theApp.ExitInstance(app.exec());
}
