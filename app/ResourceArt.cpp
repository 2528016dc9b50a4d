#include "ResourceArt.h"

#include "ComponentInfo.h"
#include "PaletteMenus.h"
#include "ProgramState.h"

#include <QFile>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <dlfcn.h>
#include <iterator>

namespace {

const QColor kPictureGrey(192, 192, 192);

QFont NameFont(int nPixelSize) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(nPixelSize);
    return font;
}

void* OpenLibrary() {
    const QByteArray name = QFile::encodeName(ProgramState().m_strLibraryName);
    if (void* h = ::dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL))
        return h;
    if (ProgramState().ProgramFolder().isEmpty())
        return nullptr;
    const QByteArray path =
        QFile::encodeName(ProgramState().ProgramFile(ProgramState().m_strLibraryName));
    return ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
}

// The text item has no library picture: a capital A over a baseline.
void DrawTextSymbol(QPainter& p, const QRect& rc) {
    p.save();
    p.setPen(Qt::black);
    QFont font = NameFont(rc.height() * 2 / 3);
    font.setBold(true);
    p.setFont(font);
    p.drawText(rc, Qt::AlignCenter, QStringLiteral("A"));
    p.restore();
}

QImage KindSymbol(int nCommandId) {
    int nType = 0, nSubType = 0;
    if (!KindForCommand(nCommandId, &nType, &nSubType) || nType == 12)
        return {};
    const tagSComponentInfo* pInfo = FindInfo(nType, nSubType);
    if (!pInfo)
        return {};
    return CResourceArt::LibraryPicture(pInfo->nBitmapId);
}

} // namespace

QImage CResourceArt::LibraryPicture(int nPictureId) {
    void* h = OpenLibrary();
    if (!h)
        return {};
    QImage image;
    using LoadFn = const void* (*)(int, unsigned int*);
    if (auto pfn = reinterpret_cast<LoadFn>(::dlsym(h, "LoadPictureResource"))) {
        unsigned int nSize = 0;
        const void* pData = pfn(nPictureId, &nSize);
        // fromData decodes into memory of its own, so the library may go at once.
        if (pData && nSize > 2 && nSize < (1u << 20))
            image = QImage::fromData(static_cast<const uchar*>(pData), int(nSize), "BMP");
    }
    ::dlclose(h);
    return image;
}

QString CResourceArt::PaletteName(int nCommandId) {
    static const char* const kNames[] = {"Ammeter",
                                         "Voltmeter",
                                         "Ohmmeter",
                                         "Galvanometer",
                                         "Oscilloscope",
                                         "Batteries",
                                         "DC Power",
                                         "Power supply",
                                         "Fixed resistor",
                                         "Rheostat",
                                         "Thermistor",
                                         "Photo cell",
                                         "Potentiometer",
                                         "Filament lamp",
                                         "Neon lamp",
                                         "Signal lamp",
                                         "Fluorescent tube",
                                         "Fuse",
                                         "Circuit breaker",
                                         "Bell",
                                         "Motor",
                                         "Speaker",
                                         "Microphone",
                                         "Earphone",
                                         "Switch (SPST)",
                                         "Switch (SPDT)",
                                         "Switch (DPST)",
                                         "Switch (DPDT)",
                                         "",
                                         "Switch (NOPB)",
                                         "Switch (NCPB)",
                                         "",
                                         "Plug and socket",
                                         "Junction",
                                         "Junction",
                                         "Junction",
                                         "Earthing",
                                         "Air-core",
                                         "Air-core (in phase)",
                                         "Air-core (out of phase)",
                                         "Iron-core",
                                         "Iron-core (in phase)",
                                         "Iron-core (out of phase)",
                                         "Ferrite-core",
                                         "Ferrite-core (in phase)",
                                         "Ferrite-core (out of phase)",
                                         "Bipolar NPN",
                                         "Bipolar PNP",
                                         "JFET N-channel",
                                         "JFET P-channel",
                                         "D-MOSFET N-channel",
                                         "D-MOSFET P-channel",
                                         "E-MOSFET N-channel",
                                         "E-MOSFET P-channel",
                                         "Electrolytic",
                                         "Electrolytic polarized",
                                         "Non-electrolytic",
                                         "Non-electrolytic variable",
                                         "Preset",
                                         "Variable",
                                         "LED",
                                         "Photodiode",
                                         "Rectifier",
                                         "Varactor",
                                         "Zener",
                                         "Air-core",
                                         "Iron-core",
                                         "Ferrite-core",
                                         "Variable",
                                         "Sine wave",
                                         "Square wave",
                                         "Triangular wave",
                                         "Aerial, antenna",
                                         "Amplifier",
                                         "Text"};
    static_assert(std::size(kNames) == 75);
    if (nCommandId < 130 || nCommandId > 204)
        return {};
    return QString::fromLatin1(kNames[nCommandId - 130]);
}

QImage CResourceArt::PalettePicture(int nCommandId, int nWidth) {
    QImage image(nWidth, kItemHeight, QImage::Format_RGB32);
    image.fill(kPictureGrey);
    QPainter p(&image);
    const QImage symbol = KindSymbol(nCommandId);
    if (!symbol.isNull())
        p.drawImage(0, 0, symbol);
    else if (nCommandId == 204)
        DrawTextSymbol(p, QRect(0, 0, kItemHeight, kItemHeight));
    p.setPen(Qt::black);
    p.setFont(NameFont(12));
    p.drawText(QRect(kItemHeight + 4, 0, nWidth - kItemHeight - 4, kItemHeight),
               Qt::AlignVCenter | Qt::AlignLeft, PaletteName(nCommandId));
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

QImage CResourceArt::PlacingCursorImage(int nCommandId) {
    QImage cursor(kCursorSize, kCursorSize, QImage::Format_ARGB32);
    cursor.fill(Qt::transparent);
    QImage symbol = KindSymbol(nCommandId);
    if (symbol.isNull()) {
        symbol = QImage(kItemHeight, kItemHeight, QImage::Format_RGB32);
        symbol.fill(kPictureGrey);
        QPainter p(&symbol);
        DrawTextSymbol(p, QRect(4, 4, 27, 27));
    }
    // The symbol's centre (17, 17) lands on the hot spot (15, 15): black where the picture
    // is dark, a white rim around it so it shows on the grey workbench, clear elsewhere.
    constexpr int nShift = 2;
    auto dark = [&](int x, int y) {
        const int sx = x + nShift, sy = y + nShift;
        if (x < 0 || y < 0 || x >= kCursorSize || y >= kCursorSize || sx >= symbol.width() ||
            sy >= symbol.height())
            return false;
        return qGray(symbol.pixel(sx, sy)) < 100;
    };
    for (int y = 0; y < kCursorSize; ++y)
        for (int x = 0; x < kCursorSize; ++x) {
            if (dark(x, y))
                cursor.setPixel(x, y, qRgba(0, 0, 0, 255));
            else if (dark(x - 1, y) || dark(x + 1, y) || dark(x, y - 1) || dark(x, y + 1))
                cursor.setPixel(x, y, qRgba(255, 255, 255, 255));
        }
    return cursor;
}

QCursor CResourceArt::PlacingCursor(int nCommandId) {
    return QCursor(QPixmap::fromImage(PlacingCursorImage(nCommandId)), kCursorHotSpot,
                   kCursorHotSpot);
}

QImage CResourceArt::ToolBarImages() {
    QImage image(56, 13, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Construct: a hammer lying across the image.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(139, 90, 43));
    p.drawRect(QRectF(6, 5.5, 17, 2.5));
    p.setBrush(QColor(64, 64, 72));
    p.drawRoundedRect(QRectF(3, 1, 6, 11), 1, 1);
    // Run: a green play triangle.
    QPainterPath path;
    path.moveTo(38, 1);
    path.lineTo(48, 6.5);
    path.lineTo(38, 12);
    path.closeSubpath();
    p.setBrush(QColor(0, 150, 0));
    p.setPen(QPen(QColor(0, 90, 0), 1));
    p.drawPath(path);
    return image;
}

QImage CResourceArt::AboutPicture() {
    QImage image(494, 208, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 208);
    sky.setColorAt(0, QColor(16, 40, 96));
    sky.setColorAt(1, QColor(40, 96, 160));
    p.fillRect(image.rect(), sky);
    // A small circuit: battery, switch and a lit lamp on a loop of wire.
    p.setPen(QPen(QColor(230, 230, 230), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(300, 50, 160, 110));
    p.setPen(QPen(QColor(230, 230, 230), 3));
    p.fillRect(QRectF(290, 90, 20, 30), QColor(28, 70, 128));
    p.drawLine(QPointF(288, 96), QPointF(312, 96));
    p.drawLine(QPointF(294, 112), QPointF(306, 112));
    p.setBrush(QColor(255, 230, 110));
    p.setPen(QPen(QColor(250, 250, 200), 3));
    p.drawEllipse(QPointF(460, 105), 18, 18);
    p.drawLine(QPointF(448, 93), QPointF(472, 117));
    p.drawLine(QPointF(448, 117), QPointF(472, 93));
    p.setPen(QPen(QColor(255, 230, 110, 120), 2));
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        p.drawLine(QPointF(460 + 24 * std::cos(a), 105 + 24 * std::sin(a)),
                   QPointF(460 + 32 * std::cos(a), 105 + 32 * std::sin(a)));
    }
    p.fillRect(QRectF(360, 150, 40, 20), QColor(28, 70, 128));
    p.setPen(QPen(QColor(230, 230, 230), 3));
    p.drawLine(QPointF(360, 160), QPointF(395, 146));
    p.setPen(Qt::white);
    QFont title = NameFont(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(20, 30, 270, 80), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Selvik Electronics Workbench"));
    p.setFont(NameFont(14));
    p.drawText(QRect(20, 130, 270, 20), Qt::AlignLeft,
               QStringLiteral("Build, wire and run circuits"));
    p.setFont(NameFont(12));
    p.drawText(QRect(20, 170, 270, 20), Qt::AlignLeft, QStringLiteral("Version 1.0"));
    return image;
}

QPixmap CResourceArt::VolumeRamp() {
    QImage image(109, 29, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath ramp;
    ramp.moveTo(2, 27);
    ramp.lineTo(107, 2);
    ramp.lineTo(107, 27);
    ramp.closeSubpath();
    QLinearGradient fill(0, 0, 109, 0);
    fill.setColorAt(0, QColor(0, 160, 0));
    fill.setColorAt(1, QColor(220, 0, 0));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fill);
    p.drawPath(ramp);
    return QPixmap::fromImage(image);
}

QIcon CResourceArt::AppIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 220, 90));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QPointF(16, 13), 10, 10);
    p.drawLine(QPointF(9, 6), QPointF(23, 20));
    p.drawLine(QPointF(9, 20), QPointF(23, 6));
    p.fillRect(QRectF(11, 24, 10, 6), QColor(90, 90, 90));
    return QIcon(QPixmap::fromImage(image));
}

QIcon CResourceArt::DocumentIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(6, 2, 20, 28);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(9, 12, 15, 12);
    p.drawRect(15, 9, 6, 6);
    p.drawLine(21, 12, 23, 12);
    p.drawLine(9, 22, 23, 22);
    return QIcon(QPixmap::fromImage(image));
}
