// Renders SVG pictures into square PNGs: lumivex-ikone <size> <output folder> <picture.svg>...
// Each output is named as its input, with ".png" in place of ".svg".
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // No display is needed on the machine that builds.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "upotreba: lumivex-ikone <veličina> <mapa> <slika.svg>...\n");
        return 2;
    }
    const int size = arguments[1].toInt();
    const QDir folder(arguments[2]);
    if (size <= 0 || !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "lumivex-ikone: neispravna veličina ili mapa\n");
        return 2;
    }
    for (int i = 3; i < arguments.size(); ++i) {
        QSvgRenderer renderer(arguments[i]);
        if (!renderer.isValid()) {
            std::fprintf(stderr, "lumivex-ikone: %s nije ispravna SVG slika\n", qPrintable(arguments[i]));
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString output = folder.filePath(QFileInfo(arguments[i]).completeBaseName() + QStringLiteral(".png"));
        if (!image.save(output, "PNG")) {
            std::fprintf(stderr, "lumivex-ikone: %s se ne može zapisati\n", qPrintable(output));
            return 1;
        }
    }
    return 0;
}
