#include "SetupPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SetupPaths, DestinationTextsFollowPosixRules) {
    const struct {
        const char* m_pszText;
        const char* m_pszExpected;
    } cases[] = {
        {"/opt/kest", "/opt/kest"},
        {"/opt/kest/", "/opt/kest"},
        {"~/kest", "/home/u/kest"},
        {"kest", "/home/u/kest"},
        {"a/b/", "/home/u/a/b"},
        {"~", "/home/u"},
        {"/", "/"},
        {"//opt//kest", "/opt/kest"},
        {"~user", "/home/u/~user"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetupPaths::ResolveDestination(c.m_pszText, "/home/u"), c.m_pszExpected)
            << c.m_pszText;
}

TEST(SetupPaths, CreatesEveryLevelAndRefusesAFileInTheWay) {
    QTemporaryDir tmp;
    const QString nested = tmp.path() + "/A/B/C";
    EXPECT_TRUE(SetupPaths::CreateLevels(nested));
    EXPECT_TRUE(QDir(nested).exists());
    EXPECT_TRUE(SetupPaths::CreateLevels(nested)) << "an existing folder is fine";

    QFile file(tmp.path() + "/plain");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(SetupPaths::CreateLevels(tmp.path() + "/plain"));
    EXPECT_FALSE(SetupPaths::CreateLevels(tmp.path() + "/plain/sub"));
}

TEST(SetupPaths, TargetNamesStayBelowTheDestination) {
    const struct {
        const char* m_pszName;
        bool m_bSafe;
    } cases[] = {
        {"kest", true},
        {"sound\\drag.wav", true},
        {"help/a/b.html", true},
        {"a..b", true},
        {"", false},
        {"../x", false},
        {"..\\x", false},
        {"a/../../x", false},
        {"sound\\..\\..\\x", false},
        {"/etc/passwd", false},
        {"\\etc\\passwd", false},
        {"sound/", false},
        {"..", false},
        {"a/.", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetupPaths::IsSafeTargetName(c.m_pszName), c.m_bSafe) << c.m_pszName;
}

TEST(SetupPaths, FreeSpaceOfANewFolderIsItsParentsAndFoldersMustExist) {
    QTemporaryDir tmp;
    EXPECT_GT(SetupPaths::FreeBytes(tmp.path() + "/not/yet/made"), 0);
    EXPECT_TRUE(SetupPaths::IsUsableFolder(tmp.path()));
    EXPECT_FALSE(SetupPaths::IsUsableFolder(tmp.path() + "/missing"));
}

} // namespace
