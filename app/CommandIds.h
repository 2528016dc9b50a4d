#pragma once

// Command numbers of the workbench's menus, accelerators and tool bar. The numbers are kept
// because 130..204 map to component kinds and the cursor table is indexed by them.
namespace Cmd {
enum : int {
    FirstKind = 130,
    LastKind = 204,
    TextKind = 204,

    Revert = 32772,
    Run = 32774,
    Construct = 32775,
    PrintSize = 32776,
    SoundVolume = 32777,
    WorkbenchSize = 32778,
    Delete = 32779,
    DeleteAll = 32781,
    RemoveConnections = 32782,
    PrintSetupNoCircuit = 32784,

    FileNew = 57600,
    FileOpen = 57601,
    FileClose = 57602,
    FileSave = 57603,
    FileSaveAs = 57604,
    PrintSetup = 57606,
    Print = 57607,
    PrintDirect = 57608,
    PrintPreview = 57609,
    RecentFile = 57616,
    Copy = 57634,
    Cut = 57635,
    Paste = 57637,
    SelectAll = 57642,
    Undo = 57643,
    ArrangeIcons = 57649,
    Cascade = 57650,
    Tile = 57651,
    About = 57664,
    Quit = 57665,
    HelpIndex = 57667,
    ContextHelp = 57669,
    HelpTopics = 57670,
    DefaultHelp = 57671,
    NextPane = 57680,
    PrevPane = 57681,
};
} // namespace Cmd

inline constexpr const char* kProductTitle = "Selvik Electronics Workbench";
