#include "Archive.h"
#include "Component.h"
#include "ComponentList.h"
#include "ProgramState.h"
#include "ScopeWnd.h"
#include "TestSupport.h"
#include "Text.h"
#include "TextList.h"
#include "VonnDoc.h"
#include "Wire.h"
#include "WireList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CComponent* Place(CVonnDoc& doc, int nType, int nSubType, QPoint pt) {
    auto* pComp = new CComponent(*FindInfo(nType, nSubType), pt);
    if (pComp->IsOscilloscope())
        pComp->CreateScope();
    doc.m_pComponents->AddHead(pComp);
    return pComp;
}

CWire* Connect(CVonnDoc& doc, CComponent* pA, int i, CComponent* pB, int j) {
    auto* pWire = new CWire(pA, i, pB, j);
    doc.m_pWires->AddTail(pWire);
    return pWire;
}

// The battery and resistor circuit whose file is documented byte for byte.
void BuildWorkedExample(CVonnDoc& doc) {
    CComponent* pBattery = Place(doc, 2, 1, {40, 100});
    CComponent* pResistor = Place(doc, 3, 1, {120, 100});
    Connect(doc, pBattery, 1, pResistor, 0);
}

QByteArray Hex(const char* psz) {
    return QByteArray::fromHex(QByteArray(psz).replace(' ', ""));
}

// A circuit with something of every record: bends, every kind but the oscilloscope (whose
// number changes with every load), texts with strings of all three length forms, a wire
// between two terminals of one part. Its values are those loading would give it.
void BuildRichCircuit(CVonnDoc& doc) {
    doc.m_nBenchWidth = 2000;
    doc.m_nBenchHeight = 1500;
    CComponent* pPrev = nullptr;
    int x = 10;
    for (const tagSComponentInfo* pInfo = FindInfo(1, 1); pInfo <= FindInfo(11, 1); ++pInfo) {
        if (pInfo->nType == 1 && pInfo->nSubType == 5)
            continue;
        CComponent* pComp = Place(doc, pInfo->nType, pInfo->nSubType, {x, 40 + x % 300});
        x += 45;
        pComp->m_fValue[1] += 0.5f;
        if (pComp->m_nType == 1)
            pComp->m_fValue[2] = pComp->m_fValue[3] = kNoValue;
        if (pInfo->nOrientations > 1)
            pComp->Rotate(true);
        if (pPrev && !pComp->IsInert() && pPrev->m_nTerminals > 1)
            Connect(doc, pPrev, pPrev->m_nTerminals - 1, pComp, 0);
        pPrev = pComp;
    }
    CWire* pWire = *doc.m_pWires->begin();
    pWire->InsertVertex({5, 5}, &pWire->m_pPoints.front(), &pWire->m_pPoints.back());
    CComponent* pSelf = Place(doc, 3, 1, {600, 600});
    Connect(doc, pSelf, 1, pSelf, 0);
    for (int n : {3, 254, 255, 1000, 65533, 65534, 70000}) {
        auto* pText = new CText(100, 100);
        pText->m_strText = QString(n, QLatin1Char('x'));
        pText->m_nAlign = n % 3;
        doc.m_pTexts->AddTail(pText);
    }
}

class DocumentTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString Path(const char* pszName) const { return m_dir.filePath(QString::fromLatin1(pszName)); }
};

} // namespace

TEST_F(DocumentTest, EmptyCircuitIs28Bytes) {
    CVonnDoc doc;
    EXPECT_EQ(doc.SaveToBytes(),
              Hex("00010000 00050000 00050000 00000000 00000000 00000000 00000000"));
}

TEST_F(DocumentTest, WorkedExampleByteForByte) {
    CVonnDoc doc;
    BuildWorkedExample(doc);
    const QByteArray expected =
        Hex("00010000 00050000 00050000"
            "01000000 02000000 4A000000 75000000 78000000 75000000"
            "02000000"
            "03000000 01000000 00000000 78000000 64000000 0000803F 00000000 00000000 00000000"
            "02000000 01000000 00000000 28000000 64000000 00004040 00000000 00000000 00000000"
            "00000000"
            "02000000"
            "00000000 00000000 00000000 00000000"
            "01000000 01000000 01000000 00000000");
    ASSERT_EQ(expected.size(), 152);
    EXPECT_EQ(doc.SaveToBytes(), expected);

    // And back: the wire's ends come from the connection table, the vertices as stored.
    CVonnDoc loaded;
    QString strError;
    ASSERT_TRUE(loaded.LoadFromBytes(expected, &strError));
    ASSERT_EQ(loaded.m_pWires->GetCount(), 1);
    const CWire* pWire = *loaded.m_pWires->begin();
    const CComponent* pResistor = *loaded.m_pComponents->begin();
    const CComponent* pBattery = *std::next(loaded.m_pComponents->begin());
    EXPECT_EQ(pWire->m_pCompA, pBattery);
    EXPECT_EQ(pWire->m_nTermA, 1);
    EXPECT_EQ(pWire->m_pCompB, pResistor);
    EXPECT_EQ(pWire->m_nTermB, 0);
    EXPECT_EQ(pBattery->m_pWire[1], pWire);
    EXPECT_EQ(pResistor->m_pWire[0], pWire);
    EXPECT_EQ(loaded.SaveToBytes(), expected);
}

TEST_F(DocumentTest, OscilloscopeRecordCarriesItsDisplayBlock) {
    CVonnDoc doc;
    CComponent* pScope = Place(doc, 1, 5, {10, 20});
    pScope->m_pScope->SetTitle(QStringLiteral("abc"));
    pScope->m_pScope->m_rectWindow = CRect(1, 2, 3, 4);
    pScope->m_pScope->m_nRange2 = 1;
    pScope->m_pScope->Show(true);
    const QByteArray bytes = doc.SaveToBytes();
    const QByteArray record = bytes.mid(12 + 4 + 4, 68);
    ASSERT_EQ(bytes.size(), 12 + 4 + 4 + 68 + 4 + 4);
    EXPECT_EQ(record.mid(36), Hex("02000000 01000000 01000000 02000000 03000000 04000000 "
                                  "01000000 03616263"));
}

TEST_F(DocumentTest, LoadingResetsSwitchesMetersAndRenumbersScopes) {
    CVonnDoc doc;
    CComponent* pSwitch = Place(doc, 4, 1, {0, 0});
    pSwitch->m_fValue[0] = 1.1f;
    pSwitch->Rotate(true);
    CComponent* pMeter = Place(doc, 1, 2, {50, 0});
    pMeter->m_fValue[0] = 1.1f;
    pMeter->m_fValue[2] = 0.5f;
    pMeter->m_fValue[3] = 0.25f;
    CComponent* pLamp = Place(doc, 3, 6, {100, 0});
    pLamp->m_fValue[2] = 2.1f;
    Place(doc, 1, 5, {150, 0});
    Place(doc, 1, 5, {200, 0});
    const QByteArray bytes = doc.SaveToBytes();

    const int nNext = ProgramState().m_nScopeCounter;
    CVonnDoc loaded;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, nullptr));
    std::vector<CComponent*> comps(loaded.m_pComponents->begin(), loaded.m_pComponents->end());
    ASSERT_EQ(comps.size(), 5u);
    // Head first: the scopes placed last come first and take the next numbers in that order.
    EXPECT_EQ(comps[0]->m_fValue[1], float(nNext) + 0.1f);
    EXPECT_EQ(comps[0]->m_pScope->m_nDisplay, nNext);
    EXPECT_EQ(comps[1]->m_pScope->m_nDisplay, nNext + 1);
    EXPECT_EQ(ProgramState().m_nScopeCounter, nNext + 2);
    EXPECT_EQ(comps[2]->m_fValue[2], 2.1f);     // the lamp keeps its state...
    EXPECT_EQ(comps[2]->PictureId(), 409);      // ...but shows its first picture
    EXPECT_EQ(comps[3]->m_fValue[2], kNoValue); // meter results are gone
    EXPECT_EQ(comps[3]->m_fValue[3], kNoValue);
    EXPECT_EQ(comps[3]->PictureId(), 324);  // the range picture
    EXPECT_EQ(comps[4]->m_fValue[0], 0.0f); // the switch is open
    EXPECT_EQ(comps[4]->PictureId(), 378);
}

TEST_F(DocumentTest, SaveLoadSaveIsByteIdentical) {
    CVonnDoc doc;
    BuildRichCircuit(doc);
    const QByteArray first = doc.SaveToBytes();
    CVonnDoc loaded;
    Place(loaded, 3, 1, {0, 0}); // loading replaces what a document holds
    loaded.m_pTexts->AddTail(new CText(1, 1));
    ASSERT_TRUE(loaded.LoadFromBytes(first, nullptr));
    EXPECT_EQ(loaded.m_nBenchWidth, 2000);
    EXPECT_EQ(loaded.m_pComponents->GetCount(), doc.m_pComponents->GetCount());
    EXPECT_EQ(loaded.m_pTexts->GetCount(), 7);
    EXPECT_EQ(loaded.SaveToBytes(), first);
    // The wire between two terminals of one resistor survives with both ends.
    const CComponent* pSelf = *loaded.m_pComponents->begin();
    ASSERT_NE(pSelf->m_pWire[0], nullptr);
    EXPECT_EQ(pSelf->m_pWire[0], pSelf->m_pWire[1]);
    EXPECT_TRUE(pSelf->m_pWire[0]->IsComplete());
}

TEST_F(DocumentTest, CountedStringsUseAllThreeLengthForms) {
    struct Case {
        int n;
        QByteArray prefix;
    } cases[] = {{0, Hex("00")},
                 {254, Hex("FE")},
                 {255, Hex("FF FF00")},
                 {65533, Hex("FF FDFF")},
                 {65534, Hex("FF FFFF FEFF0000")},
                 {70000, Hex("FF FFFF 70110100")}};
    for (const Case& c : cases) {
        QByteArray bytes;
        CArchive out(&bytes, CArchive::Store);
        out.WriteString(QString(c.n, QLatin1Char('z')));
        EXPECT_EQ(bytes.left(c.prefix.size()), c.prefix) << c.n;
        EXPECT_EQ(bytes.size(), c.prefix.size() + c.n);
        CArchive in(&bytes, CArchive::Load);
        EXPECT_EQ(in.ReadString().size(), c.n);
        EXPECT_FALSE(in.Failed());
    }
}

TEST_F(DocumentTest, EveryTruncationIsUnexpectedFormatAndLeavesTheDocumentAlone) {
    CVonnDoc source;
    BuildWorkedExample(source);
    Place(source, 1, 5, {300, 300});
    source.m_pTexts->AddTail(new CText(5, 5));
    const QByteArray bytes = source.SaveToBytes();
    CVonnDoc doc;
    BuildWorkedExample(doc);
    const QByteArray before = doc.SaveToBytes();
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        QString strError;
        ASSERT_FALSE(doc.LoadFromBytes(bytes.left(n), &strError)) << n;
        ASSERT_EQ(strError, QStringLiteral("Unexpected file format."));
    }
    EXPECT_EQ(doc.SaveToBytes(), before);
    EXPECT_TRUE(doc.LoadFromBytes(bytes, nullptr));
}

TEST_F(DocumentTest, CountsBeyondTheDataAreRefusedBeforeAllocating) {
    const char* cases[] = {
        "00010000 00050000 00050000 FFFFFF7F",                            // wires
        "00010000 00050000 00050000 01000000 FFFFFF0F",                   // vertices
        "00010000 00050000 00050000 00000000 FFFFFF7F",                   // components
        "00010000 00050000 00050000 00000000 00000000 00FFFFFF",          // texts
        "00010000 00050000 00050000 00000000 00000000 00000000 40000000", // connections
        "00010000 00050000 00050000 FFFFFFFF",                            // negative
    };
    for (const char* psz : cases) {
        CVonnDoc doc;
        QString strError;
        EXPECT_FALSE(doc.LoadFromBytes(Hex(psz), &strError)) << psz;
        EXPECT_EQ(strError, QStringLiteral("Unexpected file format."));
    }
}

TEST_F(DocumentTest, BadConnectionRecordsAreSkipped) {
    CVonnDoc doc;
    BuildWorkedExample(doc);
    QByteArray bytes = doc.SaveToBytes();
    bytes.chop(36);
    CArchive ar(&bytes, CArchive::Store);
    const int32_t records[][4] = {
        {2, 0, 1, 0},                // component index equal to the count
        {0, 0, 1, 1},                // wire index equal to the count
        {0, 2, 1, 0},                // terminal beyond the resistor's two
        {1, -1, 1, 0},               // negative terminal
        {0, 0, 0, 0},                // the good pair
        {1, 1, 1, 0},  {1, 0, 1, 0}, // a second first end for the same wire
        {0, 1, 0, 0},                // a second second end
    };
    ar.WriteInt32(8);
    for (const auto& r : records)
        for (int32_t v : r)
            ar.WriteInt32(v);
    CVonnDoc loaded;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, nullptr));
    const CComponent* pResistor = *loaded.m_pComponents->begin();
    const CComponent* pBattery = *std::next(loaded.m_pComponents->begin());
    const CWire* pWire = *loaded.m_pWires->begin();
    EXPECT_EQ(pWire->m_pCompA, pBattery);
    EXPECT_EQ(pWire->m_nTermA, 1);
    EXPECT_EQ(pWire->m_pCompB, pResistor);
    EXPECT_EQ(pResistor->m_pWire[1], nullptr);
    EXPECT_EQ(pBattery->m_pWire[0], nullptr);
}

TEST_F(DocumentTest, UnknownKindsStayInert) {
    CVonnDoc doc;
    BuildWorkedExample(doc);
    QByteArray bytes = doc.SaveToBytes();
    bytes[40] = 99; // the resistor becomes kind (99,1)
    CVonnDoc loaded;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, nullptr));
    const CComponent* pOdd = *loaded.m_pComponents->begin();
    EXPECT_TRUE(pOdd->IsInert());
    EXPECT_EQ(pOdd->m_nTerminals, 0);
    EXPECT_TRUE(pOdd->m_hBitmap.isNull());
    EXPECT_EQ(pOdd->m_pWire[0], nullptr); // its connection record was refused
    const CWire* pWire = *loaded.m_pWires->begin();
    EXPECT_FALSE(pWire->IsComplete());
    // An orientation the kind does not have is not used as an index.
    bytes = doc.SaveToBytes();
    bytes[48] = 3;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, nullptr));
    EXPECT_EQ((*loaded.m_pComponents->begin())->m_nOrientation, 0);
}

TEST_F(DocumentTest, OpenAndSaveReportFileErrorsAndNeverLoseTheOldFile) {
    CVonnDoc doc;
    BuildWorkedExample(doc);
    QString strError;
    const QString strPath = Path("circuit.kst");
    ASSERT_TRUE(doc.OnSaveDocument(strPath, &strError));
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("circuit.kst"));
    EXPECT_FALSE(doc.IsModified());
    const QByteArray saved = kest::test::ReadFileBytes(strPath);
    EXPECT_EQ(saved.size(), 152);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 1); // no temporary left

    CVonnDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(strPath, &strError));
    EXPECT_EQ(opened.m_pComponents->GetCount(), 2);
    EXPECT_EQ(opened.GetPathName(), strPath);

    EXPECT_FALSE(opened.OnOpenDocument(Path("missing.kst"), &strError));
    EXPECT_EQ(strError, QStringLiteral("Failed to open document."));
    EXPECT_FALSE(opened.OnOpenDocument(m_dir.path(), &strError));

    QFile truncated(Path("short.kst"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(saved.left(100));
    truncated.close();
    EXPECT_FALSE(opened.OnOpenDocument(truncated.fileName(), &strError));
    EXPECT_EQ(strError, QStringLiteral("Unexpected file format."));
    EXPECT_EQ(opened.m_pComponents->GetCount(), 2);

    // A folder that cannot be written: the save fails and the old file stays as it was.
    Place(doc, 3, 6, {300, 300});
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool bCanStillWrite = QFile(Path("probe")).open(QIODevice::WriteOnly); // root can
    if (!bCanStillWrite) {
        EXPECT_FALSE(doc.OnSaveDocument(strPath, &strError));
        EXPECT_EQ(strError, QStringLiteral("Failed to save document."));
        EXPECT_EQ(kest::test::ReadFileBytes(strPath), saved);
    }
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(Path("probe"));
    // Saving over a folder's name fails the same way, whoever runs the test.
    EXPECT_FALSE(doc.OnSaveDocument(m_dir.path(), &strError));
    EXPECT_EQ(strError, QStringLiteral("Failed to save document."));
    EXPECT_FALSE(doc.OnSaveDocument(Path("no/such/folder/x.kst"), &strError));
    EXPECT_EQ(kest::test::ReadFileBytes(strPath), saved);
}
