#include "ProgManager.h"
#include "SetupEngine.h"
#include "SetupWindow.h"
#include "UnattendedUi.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--unattended") == 0) {
        if (argc < 3) {
            std::fputs("usage: setup --unattended DEST [FOLDER_FOR_DISK_2 ...]\n", stderr);
            return 2;
        }
        QCoreApplication app(argc, argv);
        QStringList folders;
        for (int i = 3; i < argc; ++i)
            folders.append(QString::fromLocal8Bit(argv[i]));
        CUnattendedUi ui(QString::fromLocal8Bit(argv[2]), folders);
        CProgManager progManager;
        CSetupEngine engine(&ui, &progManager, QCoreApplication::applicationDirPath());
        return engine.Run() ? 0 : 1;
    }
    QApplication app(argc, argv);
    CMainFrame frame;
    frame.show();
    app.exec();
    return frame.View()->m_bCompleted ? 0 : 1;
}
