#include "shell/NaredbeniRedak.h"

#include "core/Okruzenje.h"
#include "shell/PrioritetLoga.h"
#include "distribution/Distribucija.h"
#include "install/DownloadAndUpdate.h"
#include "install/Oporavak.h"
#include "install/PripremaVerzije.h"
#include "install/ProvjeraPrograma.h"
#include "platform/FileSystem.h"
#include "platform/HeadlessDialogs.h"
#include "shell/Pokretanje.h"
#include "shell/Postavke.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

struct OpcijaNačina {
    Način način;
    QStringList imena;
};

const OpcijaNačina OpcijeNačina[] = {
    {Način::Distribucija, {QStringLiteral("distribucija")}},
    {Način::Provjera, {QStringLiteral("provjera")}},
    {Način::Instalacija, {QStringLiteral("instalacija")}},
    {Način::Pomoć, {QStringLiteral("pomoc"), QStringLiteral("h"), QStringLiteral("help")}},
};

// The check for new versions; false with `neuspjeh` set when it told of a problem, since the
// check itself does not say whether nothing is new or nothing could be read.
bool Provjeri(Okruzenje& o, HeadlessDialogs& dijalozi, bool& neuspjeh)
{
    dijalozi.resetReports();
    const bool ima = PripremiVerzijaTXT(o);
    neuspjeh = dijalozi.reports() > 0;
    return ima && !neuspjeh;
}

int Provjera(Okruzenje& o, HeadlessDialogs& dijalozi, QTextStream& izlaz)
{
    bool neuspjeh = false;
    if (!Provjeri(o, dijalozi, neuspjeh))
        return neuspjeh ? IzlazniStatus::Neuspjeh : IzlazniStatus::Uspjeh;
    for (const RedMreže& red : o.model.redovi()) {
        QStringList polja(red.polja.begin(), red.polja.end());
        izlaz << polja.join(u';') << '\n';
    }
    izlaz.flush();
    return IzlazniStatus::ImaNovihVerzija;
}

int Instalacija(Okruzenje& o, HeadlessDialogs& dijalozi)
{
    // Before anything is fetched: a running program would keep the installation waiting for a person.
    const QString pokrenuti = ProvjeriPokrenutePrograme(o);
    if (!pokrenuti.isEmpty()) {
        o.log.piši(QStringLiteral("Instalacija nije pokrenuta jer rade programi: ") +
                   pokrenuti.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral(", ")));
        return IzlazniStatus::ProgramPokrenut;
    }
    bool neuspjeh = false;
    if (!Provjeri(o, dijalozi, neuspjeh))
        return neuspjeh ? IzlazniStatus::Neuspjeh : IzlazniStatus::Uspjeh;
    return cmdDownloadAndUpdate_Click(o) ? IzlazniStatus::Uspjeh : IzlazniStatus::Neuspjeh;
}

}  // namespace

OdabraniNačin PročitajNaredbeniRedak(const QStringList& argumenti)
{
    OdabraniNačin odabrano;
    if (argumenti.size() <= 1)
        return odabrano;

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OpcijaNačina& opcija : OpcijeNačina) parser.addOption(QCommandLineOption(opcija.imena));
    if (!parser.parse(argumenti)) {
        const QStringList nepoznate = parser.unknownOptionNames();
        odabrano.greška = nepoznate.isEmpty()
                              ? QStringLiteral("Pogrešni argumenti.")
                              : QStringLiteral("Nepoznata opcija: ") + nepoznate.join(QStringLiteral(", "));
        return odabrano;
    }
    if (!parser.positionalArguments().isEmpty()) {
        odabrano.greška = QStringLiteral("Neočekivani argument: ") + parser.positionalArguments().join(u' ');
        return odabrano;
    }
    int odabranih = 0;
    for (const OpcijaNačina& opcija : OpcijeNačina) {
        if (parser.isSet(opcija.imena.first())) {
            odabrano.način = opcija.način;
            ++odabranih;
        }
    }
    if (odabranih > 1) {
        odabrano.način = Način::Prozor;
        odabrano.greška = QStringLiteral("Odaberite samo jedan način rada.");
    }
    return odabrano;
}

QString UputaZaUpotrebu()
{
    return QStringLiteral(
        "Upotreba: LumivexLiveUpdate20 [--distribucija | --provjera | --instalacija | --pomoc]\n"
        "\n"
        "Bez argumenata otvara se prozor programa za ažuriranje.\n"
        "Načini rada bez prozora (ne trebaju grafički zaslon; koriste postavke koje je spremio prozor):\n"
        "  --distribucija  kopira nove verzije s poslužitelja u mapu za distribuciju u mreži,\n"
        "                  kao automatsko preuzimanje (bez pitanja i poruka)\n"
        "  --provjera      provjerava postoje li nove verzije na odabranoj lokaciji i ispisuje ih,\n"
        "                  jednu po retku: ime;glavna;pomoćna;revizija;veličina arhive;veličina\n"
        "  --instalacija   provjerava, preuzima i instalira nove verzije bez pitanja; ne instalira\n"
        "                  ništa dok radi neki Lumivex program\n"
        "  --pomoc         ispisuje ovu uputu\n"
        "\n"
        "Svaki redak dnevnika upisuje se u Update/Update.log i ispisuje na standardni izlaz za greške\n"
        "s oznakom prioriteta za journald (<3> greška, <4> upozorenje, <6> obavijest).\n"
        "\n"
        "Izlazni status:\n"
        "   0  uspjeh (ili nema novih verzija)\n"
        "   1  operacija nije uspjela\n"
        "   2  pogrešna upotreba\n"
        "   3  drugi program za ažuriranje već radi na ovoj instalaciji\n"
        "   4  radi neki Lumivex program (--instalacija; ništa nije promijenjeno)\n"
        "  10  postoje nove verzije (--provjera)\n");
}

int PokreniBezProzora(Okruzenje& o, HeadlessDialogs& dijalozi, InstanceLock& brava, Način način,
                      QTextStream& izlaz)
{
    o.log.kopirajU(
        [](const QString& tekst) { WriteStandardError(JournalLines(PrioritetRetkaLoga(tekst), tekst)); });
    if (!ZauzmiInstalaciju(o, brava, false))
        return IzlazniStatus::InstalacijaZauzeta;

    // The log lies in the Update folder, which the window's start-up makes on its way.
    PostaviPutanje(o);
    if (!o.fs.folderExists(o.stanje.PutanjaUpdate))
        o.fs.createFolder(o.stanje.PutanjaUpdate);
    // An installation interrupted by a crash or a power cut is undone before the control file is read.
    OporaviPrekinutuInstalaciju(o);

    UčitajServere(o);
    UčitajProxy(o);
    UčitajPostavke(o);
    switch (način) {
        case Način::Distribucija:
            return PrijenosNaLokaciju(o, false) ? IzlazniStatus::Uspjeh : IzlazniStatus::Neuspjeh;
        case Način::Provjera:
            return Provjera(o, dijalozi, izlaz);
        case Način::Instalacija:
            return Instalacija(o, dijalozi);
        case Način::Prozor:
        case Način::Pomoć:
            break;
    }
    return IzlazniStatus::PogrešnaUpotreba;
}
