#include "AppFixture.h"

#include "../editor/DemoCircuit.h"
#include "TestSupport.h"
#include "VonnDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

void CAppTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    for (const char* szName : {"runtime", "config", "data"})
        QDir(m_dir.path()).mkpath(QLatin1String(szName));
    QFile::setPermissions(m_dir.path() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path() + QStringLiteral("/runtime")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/data")));
    ProgramState().m_strRunFolder.clear();
    ProgramState().m_pfnShowMessage = [this](const QString& s) { m_messages << s; };
    ProgramState().m_pfnAskYesNo = [this](const QString& s) {
        m_questions << s;
        return m_eAnswer == CVonnApp::Yes;
    };
    m_pApp = std::make_unique<CVonnApp>();
    m_pApp->m_strInstanceName = QStringLiteral("SelvikVonn-test-%1-%2")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(quintptr(this));
    m_pApp->m_pfnAskSave = [this](const QString& s) {
        m_questions << s;
        return m_eAnswer;
    };
}

void CAppTest::TearDown() {
    if (m_pApp)
        m_pApp->ExitInstance(0);
    m_pApp.reset();
    ProgramState().m_pfnShowMessage = nullptr;
    ProgramState().m_pfnAskYesNo = nullptr;
    ProgramState().m_pRunningView = nullptr;
}

CVonnApp::EStart CAppTest::Start(const QStringList& args) {
    ProgramState().m_strProgramFolder.clear();
    ProgramState().SetProgramFolderFromExecutable(kest::test::BinPath(QStringLiteral("kest")));
    return m_pApp->InitInstance(args);
}

QString CAppTest::WriteDemoCircuit(const QString& strName) {
    CVonnDoc doc;
    kest::test::BuildDemoCircuit(doc);
    const QString strPath = m_dir.path() + QLatin1Char('/') + strName;
    QString strError;
    EXPECT_TRUE(doc.OnSaveDocument(strPath, &strError)) << strError.toStdString();
    return strPath;
}

QString CAppTest::ProfileText() const {
    return QString::fromUtf8(
        kest::test::ReadFileBytes(m_dir.path() + QStringLiteral("/config/kest/kest.ini")));
}
