#include "shell/Aplikacija.h"
#include "shell/MainWindow.h"
#include "shell/Pokretanje.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LumivexLiveUpdate20"));
    QApplication::setOrganizationName(QStringLiteral("Lumivex"));

    // Qt's own texts in Croatian, so that Yes and No read "Da" and "Ne".
    QTranslator prijevod;
    if (prijevod.load(QLocale(QLocale::Croatian, QLocale::Croatia), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&prijevod);

    Aplikacija aplikacija;
    // The exit button ends the program where it stands, without the window's close processing.
    MainWindow prozor(aplikacija.okruzenje(), [] {
        std::fflush(nullptr);
        std::_Exit(0);
    });
    aplikacija.dijalozi().setParent(&prozor);

    UčitajProzor(aplikacija.okruzenje());
    prozor.show();
    return app.exec();
}
