// Writes every registered drawing as a PNG (or, for a .ico path, a Windows icon) below the folder given as the first argument.
#include "IconDrawing.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

std::vector<IconDrawing>& IconDrawings()
{
    static std::vector<IconDrawing> drawings;
    return drawings;
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <widgets/resources folder>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (const IconDrawing& drawing : IconDrawings()) {
        QImage image(drawing.Width, drawing.Height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, true);
            drawing.Draw(p);
        }
        const QString path = root.filePath(drawing.Path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        const char* format = path.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive) ? "ICO" : "PNG";
        if (!image.save(path, format)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
