#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// Draws the program's own pictures: the Components menu items, the placing cursors, the
// tool bar images, the About picture, the volume ramp and the icons. Component symbols come
// from the component library's pictures, so the menus always match the workbench.
class CResourceArt {
public:
    static constexpr int kItemHeight = 35;
    static constexpr int kCursorSize = 32;
    static constexpr int kCursorHotSpot = 15;

    // The picture of a Components menu item: the kind's symbol at the left and its palette
    // name in black to the right, `nWidth` pixels wide, on the pictures' light grey.
    static QImage PalettePicture(int nCommandId, int nWidth);
    // The black and white placing cursor image of a kind (32 x 32, transparent background).
    static QImage PlacingCursorImage(int nCommandId);
    static QCursor PlacingCursor(int nCommandId);
    // Two 28 x 13 images side by side: Construct, then Run.
    static QImage ToolBarImages();
    static QImage AboutPicture(); // 494 x 208
    static QPixmap VolumeRamp();  // 109 x 29
    static QIcon AppIcon();
    static QIcon DocumentIcon();

    // The palette name of the kind a command places ("Ammeter", "Text", ...).
    static QString PaletteName(int nCommandId);
    // A component picture of the library decoded, or a null image when it has none.
    static QImage LibraryPicture(int nPictureId);
};
