#include "SetupPages.h"
#include "SetupText.h"
#include "SetupWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList Texts(const QWidget& page) {
    QStringList texts;
    for (const QLabel* pLabel : page.findChildren<QLabel*>())
        if (!pLabel->text().isEmpty())
            texts.append(pLabel->text());
    return texts;
}

QStringList Buttons(const QWidget& page) {
    QStringList buttons;
    for (const QPushButton* pButton : page.findChildren<QPushButton*>())
        buttons.append(pButton->objectName() + "=" + pButton->text() +
                       (pButton->isDefault() ? "*" : ""));
    return buttons;
}

// Runs fn once the next modal page is up; returns that page's text.
void WhenModal(const std::function<void(QWidget*)>& fn) {
    QTimer::singleShot(0, [fn] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal)
            fn(pModal);
    });
}

TEST(SetupPages, TextsAndButtons) {
    const QString title = SetupText::kTitle;
    struct SCase {
        std::function<std::unique_ptr<QDialog>()> m_make;
        QStringList m_astrTexts;
        QStringList m_astrButtons;
    };
    const SCase cases[] = {
        {[] { return std::make_unique<CLicenceDlg>(); },
         {SetupText::kLicenceIntro, SetupText::kLicenceQuestion},
         {"id1004=Accept*", "id1005=No"}},
        {[] { return std::make_unique<CWelcomeDlg>(); },
         {SetupText::kWelcomeGreeting, SetupText::kWelcomeProceed},
         {"id1000=Continue*", "id1001=Exit Setup"}},
        {[] { return std::make_unique<CDestinationDlg>("kest"); },
         {SetupText::kDestinationIntro, SetupText::kDestinationContinue,
          SetupText::kDestinationOther, SetupText::kDestinationExit},
         {"id1000=&Continue*", "id1008=E&xit Setup"}},
        {[] { return std::make_unique<CExistingCopyDlg>(); },
         {SetupText::kExistingCopy, SetupText::kExistingAgain, SetupText::kExistingBack},
         {"id1000=Continue", "id1011=Back"}},
        {[] { return std::make_unique<CDiskSpaceDlg>(); },
         {SetupText::kDiskSpace, SetupText::kDiskSpaceFree},
         {"id1000=Continue*", "id1001=Exit Setup"}},
        {[] { return std::make_unique<CQuitConfirmDlg>(); },
         {QString(SetupText::kQuitLine1) + "\n" + SetupText::kQuitLine2},
         {"id1013=&Resume*", "id1001=E&xit Setup"}},
        {[] { return std::make_unique<CErrorDlg>("Boom."); }, {"Boom."}, {"id1=OK*"}},
        {[] { return std::make_unique<CDoneDlg>(); }, {SetupText::kDone}, {"id1009=Done*"}},
        {[] { return std::make_unique<CProgressDlg>(); },
         {SetupText::kInProgress, SetupText::kInstalling},
         {"id1008=Abort Setup"}},
        {[] { return std::make_unique<CNextDiskDlg>("/x"); },
         {SetupText::kNextDisk},
         {"id1000=Continue*", "id1001=Exit Setup"}},
    };
    for (const SCase& c : cases) {
        const auto pPage = c.m_make();
        EXPECT_EQ(pPage->windowTitle(), title);
        EXPECT_EQ(Texts(*pPage).mid(0, c.m_astrTexts.size()), c.m_astrTexts);
        EXPECT_EQ(Buttons(*pPage), c.m_astrButtons);
        const QLabel* pPicture = pPage->findChild<QLabel*>("picture132");
        ASSERT_NE(pPicture, nullptr);
        EXPECT_EQ(pPicture->pixmap().size(), QSize(33, 33));
    }
    CLicenceDlg licence;
    EXPECT_TRUE(
        licence.findChild<QPlainTextEdit*>("id1003")->toPlainText().contains("NO WARRANTY"));
}

TEST(SetupPages, EscapeEndsWithTwoAndButtonsWithTheirIds) {
    CWelcomeDlg welcome;
    WhenModal([](QWidget* pPage) { QTest::keyClick(pPage->windowHandle(), Qt::Key_Escape); });
    EXPECT_EQ(welcome.exec(), 2);
    WhenModal([](QWidget* pPage) { pPage->findChild<QPushButton*>("id1001")->click(); });
    EXPECT_EQ(welcome.exec(), 1001);
    CDestinationDlg destination("kest");
    WhenModal([](QWidget* pPage) { pPage->findChild<QPushButton*>("id1008")->click(); });
    EXPECT_EQ(destination.exec(), 1001);
}

TEST(SetupPages, DestinationThatCannotBeCreatedShowsTheErrorAndStays) {
    QTemporaryDir tmp;
    QFile file(tmp.path() + "/plain");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    CDestinationDlg page(tmp.path() + "/plain/kest");
    QString seenError;
    WhenModal([&](QWidget* pPage) {
        pPage->findChild<QPushButton*>("id1000")->click();
        // The error page is up now, modal over the hidden destination page.
    });
    QTimer::singleShot(50, [&] {
        QWidget* pError = QApplication::activeModalWidget();
        if (const QLabel* pText = pError ? pError->findChild<QLabel*>("id1010") : nullptr) {
            seenError = pText->text();
            pError->findChild<QPushButton*>("id1")->click();
        }
        QTimer::singleShot(50, [&] {
            EXPECT_TRUE(page.isVisible()) << "the page stays";
            page.findChild<QLineEdit*>("id1004")->setText(tmp.path() + "/A/B/");
            page.findChild<QPushButton*>("id1000")->click();
        });
    });
    EXPECT_EQ(page.exec(), 1000);
    EXPECT_EQ(seenError, SetupText::kCannotCreateDestination);
    EXPECT_EQ(page.m_strDir, tmp.path() + "/A/B");
    EXPECT_TRUE(QDir(tmp.path() + "/A/B").exists());
}

TEST(SetupPages, NextDiskPromptChecksItsFolder) {
    QTemporaryDir tmp;
    CNextDiskDlg page{QString()};
    QString seenError;
    bool bStayedWhenEmpty = false;
    WhenModal([&](QWidget*) {
        page.findChild<QPushButton*>("id1000")->click();
        bStayedWhenEmpty = page.isVisible() && QApplication::activeModalWidget() == &page;
        page.findChild<QLineEdit*>("id1004")->setText(tmp.path() + "/missing");
        QTimer::singleShot(50, [&] {
            QWidget* pError = QApplication::activeModalWidget();
            if (pError && pError != &page) {
                seenError = pError->findChild<QLabel*>("id1010")->text();
                pError->findChild<QPushButton*>("id1")->click();
            }
            QTimer::singleShot(50, [&] {
                page.findChild<QLineEdit*>("id1004")->setText(tmp.path());
                page.findChild<QPushButton*>("id1000")->click();
            });
        });
        page.findChild<QPushButton*>("id1000")->click();
    });
    EXPECT_EQ(page.exec(), 1000);
    EXPECT_TRUE(bStayedWhenEmpty);
    EXPECT_EQ(seenError, SetupText::kEnterSource);
    EXPECT_EQ(page.m_strPath, tmp.path());
}

TEST(SetupPages, AbortAsksAndOnlyExitSetsTheFlag) {
    CProgressDlg progress;
    progress.show();
    for (int nAnswer : {1013, 1001}) {
        WhenModal([nAnswer](QWidget* pConfirm) {
            pConfirm->findChild<QPushButton*>(QStringLiteral("id%1").arg(nAnswer))->click();
        });
        progress.findChild<QPushButton*>("id1008")->click();
        EXPECT_EQ(progress.m_nAbort, nAnswer == 1001 ? 1 : 0);
        EXPECT_EQ(progress.isVisible(), nAnswer != 1001);
    }
    for (int i = 0; i < 150; ++i)
        progress.StepIt();
    EXPECT_EQ(progress.Position(), 100);
}

TEST(SetupPages, BackgroundBandsAndTitle) {
    CSetupView view;
    view.resize(700, 700);
    const QImage image = view.grab().toImage();
    const struct {
        int m_nY;
        int m_nValue;
    } bands[] = {{0, 128}, {15, 126}, {645, 0}, {655, 254}, {665, 252}};
    for (const auto& b : bands)
        EXPECT_EQ(image.pixelColor(690, b.m_nY), QColor(0, b.m_nValue, b.m_nValue)) << b.m_nY;
    // The white title sits over the black one near the top left.
    bool bWhite = false;
    for (int x = 20; x < 200 && !bWhite; ++x)
        for (int y = 20; y < 60 && !bWhite; ++y)
            bWhite = image.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(bWhite);
}

} // namespace
