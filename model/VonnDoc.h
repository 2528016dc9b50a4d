#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CArchive;
class CComponentList;
class CTextList;
class CWireList;

// One circuit: the workbench size and the owned lists of wires, components and text items,
// with its file name, title and modified flag. It knows no view.
class CVonnDoc : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultBenchSize = 1280;

    explicit CVonnDoc(QObject* pParent = nullptr);
    ~CVonnDoc() override;

    // The whole circuit in file layout, in either direction. Loading replaces what the lists
    // hold; a short or malformed stream marks the archive as failed and leaves the lists in
    // whatever state reading reached (callers that read outside data use LoadFromBytes).
    void Serialize(CArchive& ar);
    QByteArray SaveToBytes();
    // Reads a whole circuit; on any fault nothing of it is taken and *pstrError says why.
    bool LoadFromBytes(const QByteArray& bytes, QString* pstrError);

    bool OnNewDocument();
    bool OnOpenDocument(const QString& strPath, QString* pstrError);
    // Writes beside the old file and renames over it, so a failed save loses nothing.
    bool OnSaveDocument(const QString& strPath, QString* pstrError);
    void DeleteContents();

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);
    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& strPath);
    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& strTitle);

    int m_nBenchWidth = kDefaultBenchSize;
    int m_nBenchHeight = kDefaultBenchSize;
    std::unique_ptr<CWireList> m_pWires;
    std::unique_ptr<CComponentList> m_pComponents;
    std::unique_ptr<CTextList> m_pTexts;

    static constexpr const char* kUnexpectedFormat = "Unexpected file format.";
    static constexpr const char* kFailedToOpen = "Failed to open document.";
    static constexpr const char* kFailedToSave = "Failed to save document.";

signals:
    void ModifiedChanged(bool bModified);
    void TitleChanged(const QString& strTitle);
    // The circuit changed in a way every view must redraw.
    void ContentsChanged();

private:
    void ReadConnections(CArchive& ar);
    void WriteConnections(CArchive& ar);

    bool m_bModified = false;
    QString m_strPathName;
    QString m_strTitle;
};
