#include "Archive.h"
#include "Text.h"
#include "TextList.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(Text, DefaultFontIsTwelvePixelArialStandIn) {
    CText text(200, 100);
    const QFont font = text.m_logFont.ToQFont();
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(text.m_strText, QStringLiteral("Text"));
    EXPECT_EQ(text.m_nAlign, 1);
    EXPECT_EQ(text.m_rect, CRect(200, 100, 200, 100));
}

TEST(Text, MeasureFitsTheBoxAroundItsCentre) {
    const QFontMetrics fm(CText().m_logFont.ToQFont());
    const int nLine = fm.height();
    CText text(200, 100);
    text.MeasureText(nullptr, 1280, 1280);
    const int w = fm.horizontalAdvance(QStringLiteral("Text")) + 4;
    EXPECT_EQ(text.m_rect.Width(), (w + 5) / 2 * 2);
    EXPECT_EQ(text.m_rect.Height(), (nLine + 5) / 2 * 2);
    EXPECT_EQ(text.m_rect.left + text.m_rect.right, 400);
    EXPECT_EQ(text.m_rect.top + text.m_rect.bottom, 200);

    struct Case {
        QString strText;
        int nLines;
    } cases[] = {{QStringLiteral("a\r\n\r\nb"), 3},
                 {QStringLiteral("a\r\nb\r\n"), 2},
                 {QStringLiteral("a"), 1},
                 {QString(), 0}};
    for (const Case& c : cases) {
        CText t(500, 500);
        t.m_strText = c.strText;
        t.MeasureText(nullptr, 1280, 1280);
        EXPECT_EQ(t.m_rect.Height(), (c.nLines * nLine + 5) / 2 * 2) << c.strText.toStdString();
    }

    CText nearEdge(3, 3);
    nearEdge.MeasureText(nullptr, 1280, 1280);
    EXPECT_EQ(nearEdge.m_rect.left, 0);
    EXPECT_EQ(nearEdge.m_rect.top, 0);

    CText wide(50, 50);
    wide.m_strText = QString(300, QLatin1Char('W'));
    wide.MeasureText(nullptr, 640, 480);
    EXPECT_EQ(wide.m_rect.left, 0);
    EXPECT_EQ(wide.m_rect.right, 640);
}

TEST(Text, DrawsInItsColourAndHitTestNormalises) {
    CText text(60, 30);
    text.m_crText = 0x0000ff; // red in COLORREF order
    text.MeasureText(nullptr, 1280, 1280);
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        text.Draw(painter);
    }
    int nRed = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            nRed += image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 60;
    EXPECT_GT(nRed, 10);

    text.m_rect = CRect(50, 40, 10, 20);
    EXPECT_TRUE(text.HitTest({10, 20}));
    EXPECT_EQ(text.m_rect, CRect(10, 20, 50, 40));
    EXPECT_FALSE(text.HitTest({50, 30}));
}

TEST(Text, RecordRoundTripsAndListReplacesOnLoad) {
    CTextList list;
    auto* pText = new CText(10, 20);
    pText->m_strText = QStringLiteral("Line\r\nTwo");
    pText->m_crText = 0x123456;
    pText->m_nAlign = 2;
    pText->m_rect = CRect(1, 2, 3, 4);
    pText->m_logFont.lfHeight = -20;
    pText->m_logFont.lfWeight = 700;
    pText->m_logFont.lfItalic = 1;
    pText->m_bSelected = 1;
    list.AddTail(pText);
    QByteArray bytes;
    CArchive out(&bytes, CArchive::Store);
    list.Serialize(out);
    // count, colour, alignment, 1+9 string bytes, box, 60-byte font
    ASSERT_EQ(bytes.size(), 4 + 4 + 4 + 10 + 16 + 60);
    EXPECT_EQ(bytes.mid(22, 8), QByteArray("\x02\0\0\0\x01\0\0\0", 8)); // top before left

    CTextList loaded;
    loaded.AddTail(new CText(5, 5));
    loaded.AddTail(new CText(6, 6));
    CArchive in(&bytes, CArchive::Load);
    loaded.Serialize(in);
    ASSERT_FALSE(in.Failed());
    ASSERT_EQ(loaded.GetCount(), 1);
    const CText* pBack = *loaded.begin();
    EXPECT_EQ(pBack->m_strText, pText->m_strText);
    EXPECT_EQ(pBack->m_crText, 0x123456u);
    EXPECT_EQ(pBack->m_nAlign, 2);
    EXPECT_EQ(pBack->m_rect, CRect(1, 2, 3, 4));
    EXPECT_EQ(pBack->m_logFont.lfHeight, -20);
    EXPECT_EQ(pBack->m_logFont.lfWeight, 700);
    EXPECT_EQ(pBack->m_logFont.lfItalic, 1);
    EXPECT_EQ(pBack->m_logFont.FaceName(), QStringLiteral("Arial"));
    EXPECT_EQ(pBack->m_bSelected, 0);
}
