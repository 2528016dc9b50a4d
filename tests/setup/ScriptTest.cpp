#include "SetupScript.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct SScriptCase {
    const char* m_pszName;
    const char* m_pszText;
    bool m_bOk;
};

class ScriptCases : public ::testing::TestWithParam<SScriptCase> {};

TEST_P(ScriptCases, ReadsOrRefuses) {
    CSetupScript script;
    EXPECT_EQ(script.Parse(QByteArray(GetParam().m_pszText)), GetParam().m_bOk);
}

INSTANTIATE_TEST_SUITE_P(
    Setup, ScriptCases,
    ::testing::Values(
        SScriptCase{"usual", "[General]\nDisks=1\nOriginalSize=10\nInstallPath=kest\n[Disk1]\n",
                    true},
        SScriptCase{"spacesAndCrlf",
                    "[General]\r\nDisks 1\r\nOriginalSize  10\r\nInstallPath\tk\r\n[Disk1]\r\n",
                    true},
        SScriptCase{"noGeneral", "[Genera]\nDisks=1\nOriginalSize=10\nInstallPath=k\n[Disk1]\n",
                    false},
        SScriptCase{"blankLineAfterHeader",
                    "[General]\n\nDisks=1\nOriginalSize=10\nInstallPath=k\n[Disk1]\n", false},
        SScriptCase{"keyWithoutValue",
                    "[General]\nDisks\nOriginalSize=10\nInstallPath=k\n[Disk1]\n", false},
        SScriptCase{"zeroDisks", "[General]\nDisks=0\nOriginalSize=10\nInstallPath=k\n[Disk1]\n",
                    false},
        SScriptCase{"zeroSize", "[General]\nDisks=1\nOriginalSize=x10\nInstallPath=k\n[Disk1]\n",
                    false},
        SScriptCase{"keysAreCaseSensitive",
                    "[General]\ndisks=1\nOriginalSize=10\nInstallPath=k\n[Disk1]\n", false},
        SScriptCase{"colonStaysInKey",
                    "[General]\nDisks:1\nOriginalSize=10\nInstallPath=k\n[Disk1]\n", false},
        SScriptCase{"fourthKeyTooLate",
                    "[General]\nFoo=1\nOriginalSize=10\nInstallPath=k\nDisks=1\n[Disk1]\n", false},
        SScriptCase{"missingDiskSection",
                    "[General]\nDisks=2\nOriginalSize=10\nInstallPath=k\n[Disk1]\na b\n", false},
        SScriptCase{"tooManyDisks", "[General]\nDisks=1000\nOriginalSize=10\nInstallPath=k\n",
                    false},
        SScriptCase{
            "hugeSize",
            "[General]\nDisks=1\nOriginalSize=99999999999999999999\nInstallPath=k\n[Disk1]\n",
            false}),
    [](const auto& info) { return std::string(info.param.m_pszName); });

TEST(SetupScript, KeysInAnyOrderAndListsEndAtTheNextHeader) {
    CSetupScript script;
    ASSERT_TRUE(script.Parse("; a comment before\n[General]\nInstallPath = /opt/kest-1\n"
                             "OriginalSize=1000\nDisks=2\n\n"
                             "[Disk1]\nkest_ kest\nsound\\drag.wa_ sound\\drag.wav extra words\n"
                             "[Disk2]\nhelp/a.htm_=help/a.html\n\nlost.txt lost.txt\n"));
    EXPECT_EQ(script.m_nDisks, 2);
    EXPECT_EQ(script.m_nInstalledSize, 1000);
    // '-' is no name character: the value ends there.
    EXPECT_EQ(script.m_strInstallPath, "/opt/kest");
    ASSERT_EQ(script.m_aSourceNames.size(), 2u);
    EXPECT_EQ(script.m_aSourceNames[0], QStringList({"kest_", "sound\\drag.wa_"}));
    EXPECT_EQ(script.m_aTargetNames[0], QStringList({"kest", "sound\\drag.wav"}));
    EXPECT_EQ(script.m_aSourceNames[1], QStringList({"help/a.htm_"}));
    EXPECT_EQ(script.m_aTargetNames[1], QStringList({"help/a.html"}));
}

TEST(SetupScript, CleaningKeepsOnlyNameCharacters) {
    EXPECT_EQ(CSetupScript::CleanLine("a=b-c d\t\xe9:[x]\\_/.\r"), "a b c d  :[x]\\_/. ");
    EXPECT_EQ(CSetupScript::SplitWords("  one   two three"), QStringList({"one", "two"}));
    EXPECT_EQ(CSetupScript::ReadNumber("12ab"), 12);
    EXPECT_EQ(CSetupScript::ReadNumber("ab12"), 0);
}

TEST(SetupScript, LineWithoutFeedWithinBlockIsCutAt128Bytes) {
    // The reader takes 128 bytes and steps past the 129th, which is lost.
    const QByteArray longLine = "aa" + QByteArray(125, ' ') + "bZcd ef\n";
    CSetupScript script;
    ASSERT_TRUE(script.Parse("[General]\nDisks=1\nOriginalSize=1\nInstallPath=k\n[Disk1]\n" +
                             longLine + "g h\n"));
    EXPECT_EQ(script.m_aSourceNames[0], QStringList({"aa", "cd", "g"}));
    EXPECT_EQ(script.m_aTargetNames[0], QStringList({"b", "ef", "h"}));
}

TEST(SetupScript, MissingOrOversizedFileFails) {
    CSetupScript script;
    EXPECT_FALSE(script.ReadFile(kest::test::DataPath("setup/no-such-Setup.ini")));
    EXPECT_FALSE(script.Parse(QByteArray(CSetupScript::kMaxScriptBytes + 1, ' ')));
}

} // namespace
