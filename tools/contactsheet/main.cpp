// Draws every component picture of libkest.so on one PNG, four times enlarged, each with its
// id (optionally only the ids FIRST..LAST). The library is opened by name with dlopen, as the
// workbench opens it.
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFirstId = 149;
constexpr int kLastId = 453;
constexpr int kScale = 4;
constexpr int kColumns = 16;
constexpr int kPicture = 35 * kScale;
constexpr int kMargin = 10;
constexpr int kLabel = 18;
constexpr int kCellWidth = kPicture + kMargin;
constexpr int kCellHeight = kPicture + kLabel + kMargin;

using LoadPictureFn = const void* (*)(int, unsigned int*);

struct SSheetPicture {
    int nId;
    QImage image;
};

} // namespace

int main(int argc, char** argv) {
    // An optional id range narrows the sheet, for looking at a few pictures closely.
    int nFirst = kFirstId, nLast = kLastId;
    if (argc == 4) {
        bool bFirstOk = false, bLastOk = false;
        nFirst = QString::fromLocal8Bit(argv[2]).toInt(&bFirstOk);
        nLast = QString::fromLocal8Bit(argv[3]).toInt(&bLastOk);
        if (!bFirstOk || !bLastOk || nFirst < kFirstId || nLast > kLastId || nFirst > nLast) {
            std::fprintf(stderr, "ids must lie in %d..%d\n", kFirstId, kLastId);
            return 2;
        }
    } else if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png [FIRST_ID LAST_ID]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // The program folder first, as the workbench looks for its library; the bare name alone
    // misses the RUNPATH when a sanitizer intercepts dlopen.
    const QByteArray besideUs =
        QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/libkest.so"));
    void* pLibrary = dlopen(besideUs.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!pLibrary)
        pLibrary = dlopen("libkest.so", RTLD_NOW | RTLD_LOCAL);
    if (!pLibrary) {
        std::fprintf(stderr, "cannot open libkest.so: %s\n", dlerror());
        return 1;
    }
    auto pLoad = reinterpret_cast<LoadPictureFn>(dlsym(pLibrary, "LoadPictureResource"));
    if (!pLoad) {
        std::fprintf(stderr, "libkest.so has no LoadPictureResource\n");
        dlclose(pLibrary);
        return 1;
    }

    std::vector<SSheetPicture> pictures;
    int nBad = 0;
    for (int id = nFirst; id <= nLast; ++id) {
        unsigned int nSize = 0;
        const void* pData = pLoad(id, &nSize);
        if (!pData)
            continue;
        // Copy out of the library's data before decoding, as the workbench does.
        const QByteArray bytes(static_cast<const char*>(pData), int(nSize));
        QImage image = QImage::fromData(bytes, "BMP");
        if (image.isNull()) {
            std::fprintf(stderr, "picture %d is not a readable BMP\n", id);
            ++nBad;
            continue;
        }
        pictures.push_back({id, image});
    }
    dlclose(pLibrary);

    const int nColumns = std::clamp(int(pictures.size()), 1, kColumns);
    const int nRows = (int(pictures.size()) + nColumns - 1) / nColumns;
    QImage sheet(kMargin + nColumns * kCellWidth, kMargin + std::max(nRows, 1) * kCellHeight,
                 QImage::Format_RGB32);
    sheet.fill(QColor(92, 96, 100));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int x = kMargin + int(i % nColumns) * kCellWidth;
        const int y = kMargin + int(i / nColumns) * kCellHeight;
        painter.drawImage(QRect(x, y, kPicture, kPicture), pictures[i].image);
        painter.drawText(QRect(x, y + kPicture, kPicture, kLabel), Qt::AlignCenter,
                         QString::number(pictures[i].nId));
    }
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu pictures from %d..%d written to %s\n", pictures.size(), nFirst, nLast,
                argv[1]);
    return nBad == 0 ? 0 : 1;
}
