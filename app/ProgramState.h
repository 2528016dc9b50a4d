#pragma once

#include "DrawTools.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CVonnView;

// Values and objects that every circuit window and several subsystems share. The
// application object fills them at start-up and frees them at exit; the rest only read or
// update them.
class CProgramState {
public:
    static constexpr int kProgramFolderBuffer = 300; // at most 299 characters
    static constexpr const char* kClipboardFormat = "application/x-selvik-electronics";
    static constexpr const char* kLibraryName = "libkest.so";

    // The program folder is the executable's path cut at its last '/', without it. A path
    // that does not fit the buffer is refused and leaves the folder empty.
    bool SetProgramFolderFromExecutable(const QString& strExecutable);
    bool InitProgramFolder(); // from /proc/self/exe
    const QString& ProgramFolder() const { return m_strProgramFolder; }
    QString ProgramFile(const QString& strName) const;

    // The per-user folder for kest.cir, temp.dat and amp.dat: $XDG_RUNTIME_DIR/kest, else
    // /tmp/kest-<uid>, created with mode 0700. Empty when it cannot be made.
    QString RunFolder();

    void CreateDrawTools();
    void DeleteDrawTools();
    const CDrawTools& DrawTools();

    int TakeScopeNumber() { return m_nScopeCounter++; }

    // Views are opaque here: the application shell owns and defines them.
    void AddView(CVonnView* pView);
    void RemoveView(CVonnView* pView);

    QString m_strProgramFolder;
    std::unique_ptr<CDrawTools> m_pDrawTools;
    int m_nScopeCounter = 1;
    CVonnView* m_pRunningView = nullptr;
    std::vector<CVonnView*> m_views;
    int m_nVScrollWidth = 16;
    int m_nHScrollHeight = 16;
    QString m_strRunFolder;
    // The component library that pictures are loaded from, opened by name for every load.
    QString m_strLibraryName = QString::fromLatin1(kLibraryName);
    // Shows a message box of the workbench; the model has no windows, so the shell sets it.
    std::function<void(const QString&)> m_pfnShowMessage;
    // Asks a Yes/No question with the exclamation icon; unset, the answer is No.
    std::function<bool(const QString&)> m_pfnAskYesNo;

    void ShowMessage(const QString& strText) const;
    bool AskYesNo(const QString& strText) const;
};

CProgramState& ProgramState();
