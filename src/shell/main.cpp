#include "platform/LockFileInstanceLock.h"
#include "shell/Aplikacija.h"
#include "shell/MainWindow.h"
#include "shell/NaredbeniRedak.h"
#include "shell/Pokretanje.h"

#include <QApplication>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

// The modes without a window run on a core application, so they need no display.
int bezProzora(int argc, char* argv[], Način način)
{
    QCoreApplication app(argc, argv);
    PostaviImenaAplikacije();
    Aplikacija aplikacija(Aplikacija::Sučelje::BezProzora);
    LockFileInstanceLock brava;
    QTextStream izlaz(stdout);
    return PokreniBezProzora(aplikacija.okruzenje(), aplikacija.dijaloziBezProzora(), brava, način, izlaz);
}

int sProzorom(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator prijevod;
    PostaviAplikaciju(prijevod);

    Aplikacija aplikacija;
    LockFileInstanceLock brava;
    if (!ZauzmiInstalaciju(aplikacija.okruzenje(), brava, true))
        return 0;

    // The exit button ends the program where it stands, without the window's close processing.
    MainWindow prozor(aplikacija.okruzenje(), [&brava] {
        brava.release();
        std::fflush(nullptr);
        std::_Exit(0);
    });
    aplikacija.dijalozi().setParent(&prozor);

    UčitajProzor(aplikacija.okruzenje());
    prozor.show();
    return app.exec();
}

}  // namespace

int main(int argc, char* argv[])
{
    QStringList argumenti;
    for (int i = 0; i < argc; ++i) argumenti << QString::fromLocal8Bit(argv[i]);
    const OdabraniNačin odabrano = PročitajNaredbeniRedak(argumenti);
    if (!odabrano.greška.isEmpty()) {
        std::fprintf(stderr, "%s\n%s", odabrano.greška.toUtf8().constData(),
                     UputaZaUpotrebu().toUtf8().constData());
        return IzlazniStatus::PogrešnaUpotreba;
    }
    switch (odabrano.način) {
        case Način::Prozor:
            return sProzorom(argc, argv);
        case Način::Pomoć:
            std::fputs(UputaZaUpotrebu().toUtf8().constData(), stdout);
            return IzlazniStatus::Uspjeh;
        default:
            return bezProzora(argc, argv, odabrano.način);
    }
}
