// Takes a picture of an X display for the README: lumivex-zaslon <picture.png>. The display has no
// window manager and a black background, so the picture is cut to what the windows cover.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "upotreba: lumivex-zaslon <slika.png>\n");
        return 2;
    }
    const QImage screen = app.primaryScreen()->grabWindow(0).toImage();
    QRect covered;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if ((screen.pixel(x, y) & 0xffffff) != 0)
                covered |= QRect(x, y, 1, 1);
    if (covered.isEmpty()) {
        std::fprintf(stderr, "lumivex-zaslon: na zaslonu nema prozora\n");
        return 1;
    }
    return screen.copy(covered).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
