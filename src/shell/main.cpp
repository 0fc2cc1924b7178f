#include "shell/Aplikacija.h"
#include "shell/MainWindow.h"
#include "shell/Pokretanje.h"

#include <QApplication>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator prijevod;
    PostaviAplikaciju(prijevod);

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
