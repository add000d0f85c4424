// Writes the gallery's picture for each file and tile size as a PNG, for
// bench/thumbnail_quality.sh to compare with a reference: the whole
// rectangle the picture is fitted into, made as a worker of a scan makes a
// tile (the parts a tile cuts off are made too, so that the rectangle can be
// compared whole). Prints one line per picture: the PNG's path and the
// rectangle's width and height.
//
// Usage: thumbnail_tile OUT_DIR WIDTHxHEIGHT FILE...

#include "platform/toolkit/Jpeg.h"
#include "thumbnails/TileFit.h"

#include <QFileInfo>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: thumbnail_tile OUT_DIR WIDTHxHEIGHT FILE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    int tileWidth = 0;
    int tileHeight = 0;
    if (std::sscanf(argv[2], "%dx%d", &tileWidth, &tileHeight) != 2) return 2;
    int failures = 0;
    for (int i = 3; i < argc; ++i) {
        const QString path = QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
        try {
            TJPEGImage picture;
            picture.LoadFromFile(path.toStdString());
            const auto rect =
                FitPictureInTile(static_cast<float>(picture.Width()),
                                 static_cast<float>(picture.Height()), tileWidth, tileHeight);
            if (!rect) continue;
            const TRect whole = Rect(0, 0, rect->Width(), rect->Height());
            const QImage image = picture.Render(whole, QSize(whole.Right, whole.Bottom));
            const QString target = QString("%1/%2_%3x%4.png")
                                       .arg(out, QFileInfo(path).completeBaseName())
                                       .arg(tileWidth)
                                       .arg(tileHeight);
            if (!image.save(target)) throw Exception("cannot write " + target.toStdString());
            std::printf("%s %d %d\n", qPrintable(target), whole.Right, whole.Bottom);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
