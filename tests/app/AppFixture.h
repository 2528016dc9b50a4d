#pragma once

#include "ProgramState.h"
#include "VonnApp.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// A workbench started in this process with private configuration, data and run folders, a
// socket name of its own, and message boxes recorded instead of shown.
class CAppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    CVonnApp::EStart Start(const QStringList& args = {});
    QString WriteDemoCircuit(const QString& strName);
    QString ProfileText() const;

    QTemporaryDir m_dir;
    std::unique_ptr<CVonnApp> m_pApp;
    QStringList m_messages;
    QStringList m_questions;
    CVonnApp::EAnswer m_eAnswer = CVonnApp::No;
};
