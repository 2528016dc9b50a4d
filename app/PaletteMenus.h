#pragma once

#include <QString>

#include <array>
#include <vector>

class QMenu;
class QMenuBar;
class QObject;
class QStyle;

// The component kind a Components menu command places: ids 130..204 in blocks per type.
// False outside that range. For 204 (text) the type is 12 and the subtype 0.
bool KindForCommand(int nCommandId, int* pnType, int* pnSubType);

// The "&Components" menu: thirteen picture submenus built once, shared by every circuit
// window, and the kind-cursor table that maps a command to its placing cursor.
class CPaletteMenus {
public:
    static constexpr int kCursorCount = 73;
    static constexpr int kFirstCursor = 732;
    static constexpr int kGroupCount = 13;

    struct SGroup {
        const char* szTitle;
        int nPictureWidth;
        std::vector<int> items;      // command ids with a menu item, in order
        std::vector<int> separators; // positions counted after all items are appended
        std::vector<int> cursors;    // command ids in kind-cursor table order
    };
    static const std::array<SGroup, kGroupCount>& Groups();

    static CPaletteMenus& Instance();

    // Adds "&Components" at position 2 of a circuit menu bar that lacks it (more than four
    // entries means it is there), building the popups on first use.
    void BuildComponentsMenu(QMenuBar* pMenuBar, QObject* pCommandTarget);
    bool IsBuilt() const { return m_pComponents != nullptr; }
    QMenu* ComponentsMenu() const { return m_pComponents; }
    // Enables or greys positions 0..12 of the Components menu.
    void EnableGroups(bool bEnable);
    // Deletes the fourteen popups (program exit).
    void Destroy();

    const std::vector<int>& CursorTable() const { return m_cursorTable; }
    // 732 + the command's position in the kind-cursor table, or -1.
    int CursorResource(int nCommandId) const;
    // The item width of the submenu holding a command, 0 when none does.
    static int PictureWidth(int nCommandId);

private:
    QMenu* m_pComponents = nullptr;
    std::vector<QMenu*> m_submenus;
    std::vector<int> m_cursorTable;
    QStyle* m_pStyle = nullptr;
};
