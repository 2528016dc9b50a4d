#include "AboutDlg.h"
#include "Mixer.h"
#include "PaletteMenus.h"
#include "ProfileFile.h"
#include "ProgramState.h"
#include "ResourceArt.h"
#include "SingleInstance.h"
#include "Sound.h"
#include "TestSupport.h"
#include "VolumeDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

namespace {

QStringList ItemsOf(const QMenu* pMenu) {
    QStringList items;
    for (QAction* pAction : pMenu->actions())
        items << (pAction->isSeparator() ? QStringLiteral("-")
                                         : QString::number(pAction->data().toInt()));
    return items;
}

class CFakeVolume : public CVolumeControl {
public:
    bool Open() override { return m_bDevice; }
    bool ReadVolume(uint16_t* pnLeft, uint16_t* pnRight) override {
        *pnLeft = m_nLeft;
        *pnRight = m_nRight;
        return true;
    }
    bool WriteVolume(uint16_t nLeft, uint16_t nRight) override {
        m_nLeft = nLeft;
        m_nRight = nRight;
        return true;
    }
    bool m_bDevice = true;
    uint16_t m_nLeft = 1000;
    uint16_t m_nRight = 40000;
};

} // namespace

TEST(Palette, ComponentsMenuIsInsertedOnceBetweenEditAndWindow) {
    ProgramState().SetProgramFolderFromExecutable(kest::test::BinPath(QStringLiteral("kest")));
    QMenuBar bar;
    for (const char* szTitle : {"&File", "&Edit", "&Window", "&Help"})
        bar.addMenu(QString::fromLatin1(szTitle));
    CPaletteMenus& menus = CPaletteMenus::Instance();
    menus.BuildComponentsMenu(&bar, nullptr);
    menus.BuildComponentsMenu(&bar, nullptr);
    QStringList titles;
    for (QAction* pAction : bar.actions())
        titles << pAction->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Components", "&Window", "&Help"}));

    QStringList groups;
    for (QAction* pAction : menus.ComponentsMenu()->actions())
        groups << pAction->text();
    EXPECT_EQ(groups,
              (QStringList{"&Amplifier", "App&liances", "&Capacitors", "Conn&ections", "&Diodes",
                           "&Inductors", "Instru&ments", "&Power Supply", "&Resistors",
                           "&Signal Source", "Te&xt", "&Transformers", "Tra&nsistors"}));
    const QList<QAction*> subs = menus.ComponentsMenu()->actions();
    EXPECT_EQ(ItemsOf(subs[3]->menu()), (QStringList{"154", "155", "156", "157", "-", "162", "-",
                                                     "163", "164", "165", "-", "166"}));
    EXPECT_EQ(ItemsOf(subs[1]->menu()),
              (QStringList{"143", "144", "145", "146", "-", "149", "150", "151", "152", "153"}));
    EXPECT_EQ(ItemsOf(subs[11]->menu()), (QStringList{"168", "169", "171", "172", "174", "175"}));

    // Kind-cursor table: 73 ids, the table-only kinds included.
    EXPECT_EQ(menus.CursorTable().size(), 73u);
    const std::pair<int, int> cursors[] = {{134, 772}, {203, 732}, {204, 787}, {159, 752},
                                           {167, 788}, {183, 804}, {158, -1},  {161, -1}};
    for (auto [nId, nCursor] : cursors)
        EXPECT_EQ(menus.CursorResource(nId), nCursor) << nId;

    menus.EnableGroups(false);
    for (QAction* pAction : subs)
        EXPECT_FALSE(pAction->isEnabled());
    menus.EnableGroups(true);
    menus.Destroy();
    EXPECT_FALSE(menus.IsBuilt());
}

TEST(Palette, PicturesAndCursorsShowTheKindsSymbol) {
    ProgramState().SetProgramFolderFromExecutable(kest::test::BinPath(QStringLiteral("kest")));
    for (const auto& group : CPaletteMenus::Groups())
        for (int nId : group.items) {
            const QImage pic = CResourceArt::PalettePicture(nId, group.nPictureWidth);
            ASSERT_EQ(pic.size(), QSize(group.nPictureWidth, 35)) << nId;
            // The symbol at the left and the name's black text to its right.
            int nDarkLeft = 0, nDarkRight = 0;
            for (int y = 0; y < 35; ++y)
                for (int x = 0; x < pic.width(); ++x)
                    if (qGray(pic.pixel(x, y)) < 64)
                        ++(x < 35 ? nDarkLeft : nDarkRight);
            EXPECT_GT(nDarkLeft, 10) << nId;
            EXPECT_GT(nDarkRight, 20) << nId;
        }
    for (int nId : CPaletteMenus::Groups()[3].cursors) {
        const QImage cursor = CResourceArt::PlacingCursorImage(nId);
        ASSERT_EQ(cursor.size(), QSize(32, 32));
        int nBlack = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb c = cursor.pixel(x, y);
                EXPECT_TRUE(qAlpha(c) == 0 || qGray(c) == 0 || qGray(c) == 255);
                nBlack += qAlpha(c) && qGray(c) == 0;
            }
        EXPECT_GT(nBlack, 10) << nId;
    }
    EXPECT_EQ(CResourceArt::PlacingCursor(134).hotSpot(), QPoint(15, 15));
    EXPECT_EQ(CResourceArt::ToolBarImages().size(), QSize(56, 13));
    EXPECT_EQ(CResourceArt::AboutPicture().size(), QSize(494, 208));
}

TEST(Sound, OneEffectAtATimeLoopedOrOnce) {
    ProgramState().SetProgramFolderFromExecutable(kest::test::BinPath(QStringLiteral("kest")));
    for (const char* szName : {"switch.wav", "drag.wav", "termdown.wav", "connect.wav", "views.wav",
                               "delete.wav", "undo.wav", "burn.wav", "bellring.wav"}) {
        const QByteArray wav = kest::test::ReadFileBytes(
            kest::test::BinPath(QStringLiteral("sound/") + QLatin1String(szName)));
        ASSERT_GT(wav.size(), 44) << szName;
        EXPECT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE") << szName;
        EXPECT_LT(wav.size(), 22050 * 2 * 2) << szName; // at most about a second
    }
    PlayEffect("drag.wav", true);
    EXPECT_EQ(CurrentEffect(), QStringLiteral("drag.wav"));
    EXPECT_TRUE(CurrentEffectLooped());
    PlayEffect("connect.wav", false);
    EXPECT_EQ(CurrentEffect(), QStringLiteral("connect.wav"));
    EXPECT_FALSE(CurrentEffectLooped());
    StopEffects();
    EXPECT_TRUE(CurrentEffect().isEmpty());
    PlayEffect("missing.wav", false); // the desktop's beep; nothing else happens
    StopEffects();
    // A program folder too long for the 300-byte path skips the effect.
    EXPECT_TRUE(EffectPath(QString(290, QLatin1Char('x')), "bellring.wav").isEmpty());
    EXPECT_EQ(EffectPath(QStringLiteral("/opt/kest"), "undo.wav"),
              QStringLiteral("/opt/kest/sound/undo.wav"));
}

TEST(Sound, VolumeDialogOpensAtTheLouderChannelAndSetsBoth) {
    CFakeVolume volume;
    volume.m_bDevice = false;
    EXPECT_FALSE(
        RunSoundVolumeCommand(volume, nullptr, [](CVolumeDlg&) { return int(QDialog::Accepted); }));

    volume.m_bDevice = true;
    int nShownAt = -1;
    auto* pfnOk = +[](CVolumeDlg& dlg) {
        dlg.Slider()->setValue(30000);
        dlg.accept();
        return dlg.result();
    };
    static int* s_pnShownAt = nullptr;
    s_pnShownAt = &nShownAt;
    auto* pfnCancel = +[](CVolumeDlg& dlg) {
        *s_pnShownAt = dlg.Slider()->value();
        dlg.Slider()->setValue(5);
        dlg.reject();
        return dlg.result();
    };
    EXPECT_TRUE(RunSoundVolumeCommand(volume, nullptr, pfnCancel));
    EXPECT_EQ(nShownAt, 40000);
    EXPECT_EQ(volume.m_nLeft, 1000);
    EXPECT_EQ(volume.m_nRight, 40000);
    EXPECT_TRUE(RunSoundVolumeCommand(volume, nullptr, pfnOk));
    EXPECT_EQ(volume.m_nLeft, 30000);
    EXPECT_EQ(volume.m_nRight, 30000);
    // This machine has no sound card: the real mixer finds nothing and shows nothing.
    CAlsaMixer mixer;
    if (!mixer.Open()) {
        EXPECT_FALSE(RunSoundVolumeCommand(mixer, nullptr, pfnOk));
    }
}

TEST(Profile, KeepsOtherSectionsAndShortensLongPaths) {
    QTemporaryDir dir;
    const QString strPath = dir.path() + QStringLiteral("/kest.ini");
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Other]\nKey=1\n[Recent File "
               "List]\nFile1=/a/b.kst\nFile3=/c.kst\n[Settings]\nPreviewPages=2\n");
    file.close();
    CProfileFile profile(strPath);
    ASSERT_TRUE(profile.Load());
    CRecentFileList recent;
    recent.ReadList(profile);
    EXPECT_EQ(recent.Files(), (QStringList{"/a/b.kst", "/c.kst"}));
    EXPECT_EQ(profile.GetInt(QStringLiteral("Settings"), QStringLiteral("PreviewPages"), 0), 2);
    recent.Add(QStringLiteral("/c.kst"));
    recent.WriteList(profile);
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(kest::test::ReadFileBytes(strPath),
              QByteArray("[Other]\nKey=1\n[Recent File "
                         "List]\nFile1=/c.kst\nFile2=/a/b.kst\n[Settings]\nPreviewPages=2\n"));

    const QString strCwd = QStringLiteral("/home/learner");
    EXPECT_EQ(CRecentFileList::MenuText(0, QStringLiteral("/home/learner/lamp.kst"), strCwd),
              QStringLiteral("&1 lamp.kst"));
    EXPECT_EQ(
        CRecentFileList::MenuText(1, QStringLiteral("/home/learner/circuits/school/year2/lamp.kst"),
                                  QStringLiteral("/")),
        QStringLiteral("&2 /home/.../year2/lamp.kst"));
    for (const QString& s :
         {QStringLiteral("/very/long/folder/names/that/go/on/and/on/circuit.kst"),
          QStringLiteral("/x/a_file_name_that_is_longer_than_thirty.kst")})
        EXPECT_LE(CRecentFileList::MenuText(0, s, strCwd).size() - 3,
                  CRecentFileList::kDisplayLength + 20);
}

TEST(About, CentresOnTheScreen) {
    EXPECT_EQ(CAboutDlg::CentredPosition(QSize(494, 315), QSize(1280, 1024)), QPoint(393, 354));
    EXPECT_EQ(CAboutDlg::CentredPosition(QSize(495, 316), QSize(1280, 1024)), QPoint(392, 354));
    CAboutDlg dlg;
    dlg.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = dlg.frameGeometry();
    EXPECT_EQ(frame.left() - screen.left(), (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top() - screen.top(), (screen.height() - frame.height()) / 2);
}

TEST(SingleInstance, ASecondClaimHandsItsMessageToTheFirst) {
    const QString strName =
        QStringLiteral("SelvikVonn-unit-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance first(strName);
    ASSERT_TRUE(first.Claim(QString()));
    ASSERT_TRUE(first.IsListening());
    QString strReceived;
    QObject::connect(&first, &CSingleInstance::MessageReceived,
                     [&](const QString& s) { strReceived = s; });
    bool bSecondIsFirst = true;
    std::thread second([&] {
        CSingleInstance other(strName);
        bSecondIsFirst = other.Claim(QStringLiteral("/tmp/handed.kst"));
    });
    QElapsedTimer timer;
    timer.start();
    while (strReceived.isEmpty() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    second.join();
    EXPECT_FALSE(bSecondIsFirst);
    EXPECT_EQ(strReceived, QStringLiteral("/tmp/handed.kst"));
}
