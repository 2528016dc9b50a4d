#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CArchive;
class CComponent;
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

    // Run mode. The document runs its circuit through the engine and plays the results back
    // onto its components; views only ask and redraw. Defined with the simulation.
    // Builds and writes the netlist, resets the indicators and starts the engine; false when
    // there was nothing to simulate or the engine could not be started (still in run mode).
    bool StartSimulation();
    void ResetIndicators();
    bool LaunchEngine();
    // One result step from the run files: 1 when the run may go on, 0 when a lamp burnt out
    // or a fuse blew.
    int ReadResults(int nWParam, int nLParam);
    // Answers one engine notification: plays the step back and, after a burn, starts a new
    // run without the broken component.
    int OnResultNotification(int nWParam, int nLParam);
    // Ends run mode: the engine stops, switches open, lamps and fuses are whole again.
    void StopSimulation();
    // A switch clicked while running: flips it and runs the circuit anew.
    void ToggleSwitchWhileRunning(CComponent* pSwitch);
    static void DeleteRunFiles();
    bool IsRunning() const { return m_bRunning; }
    // Ends the engine of a document destroyed while running; set by the simulation, so that
    // the model alone needs none of it.
    static inline void (*s_pfnStopRunning)(CVonnDoc*) = nullptr;
    // Options for the engine program, e.g. "--fast" for batch runs.
    QStringList m_engineOptions;
    // Result steps played back since the run began (restarts included).
    int m_nResultSteps = 0;

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
    // A component's picture changed while running: redraw it.
    void ComponentChanged(CComponent* pComponent);
    // Meter readings or oscilloscope samples changed in a result step.
    void ReadingsChanged();
    // A burn or a switch started the run anew.
    void RunRestarted();
    // The engine could not simulate the circuit; the text says why in plain words.
    void SimulationFailed(const QString& strReason);

private:
    void ReadConnections(CArchive& ar);
    void WriteConnections(CArchive& ar);

    void OnEngineEnded(int nExitStatus, const QString& strStderr);

    bool m_bRunning = false;
    // Set once the bell sound started in this run (it is not started again after a stop).
    int m_bBellSound = 0;
    // The step count at the last engine start, to tell an engine that gave nothing.
    int m_nStepsAtLaunch = 0;
    bool m_bModified = false;
    QString m_strPathName;
    QString m_strTitle;
};
