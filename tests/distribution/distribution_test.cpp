#include "distribution/Distribucija.h"

#include "core/ProgresBar.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <functional>
#include <optional>

namespace {

using Answer = Dialogs::Answer;
using Icon = Dialogs::Icon;

const QString kRanije = QStringLiteral("poruke prošlog pokretanja");
const QString kPutanjaServera = QStringLiteral("/download/Verzija20/");
const QStringList kImena{QStringLiteral("Upute.chm"),    QStringLiteral("Program.exe"),
                         QStringLiteral("Skripta1.enc"), QStringLiteral("LumiIzmjBaza20.dll"),
                         QStringLiteral("Skripta2.enc"), QStringLiteral("Pomoc.chm")};
const QStringList kArhive{QStringLiteral("Upute.7z"),    QStringLiteral("Program.7z"),
                          QStringLiteral("Skripta1.7z"), QStringLiteral("LumiIzmjBaza20.7z"),
                          QStringLiteral("Skripta2.7z"), QStringLiteral("Pomoc.7z")};
const QString kPitanje = QStringLiteral(
    "Ne postoji datoteka: {T}Verzije.txt. Kopiraju se sve datoteke. Želite li nastaviti sa download-om?");
const QByteArray kStranicaGreške = QByteArray("<html>404 Not Found</html>").leftJustified(300, ' ');

// A release on a local download server: a help file before everything else, a program, a database
// script, the database component, a second script and a help file at the end, in that order. The
// target folder holds the same release, as a finished earlier run left it.
class Distribucija : public ::testing::Test {
public:
    Distribucija()
    {
        t.stanje.PrimarniServer = server.baseUrl();
        t.stanje.SekundarniServer = HttpServer::unreachableBaseUrl();
        t.model.postaviOptLokacija(0);
        t.model.postaviTxtPor(kRanije);
        t.model.postaviTxtPorGr(kRanije);
        t.model.postaviTxtLokacija(1, cilj);

        const char sjeme[] = "upsbdh";
        const qint64 duljine[] = {900, 20000, 700, 5000, 800, 1200};
        for (int i = 0; i < kImena.size(); ++i) {
            Zapis& z = izdanje.dodaj(kImena[i], Sadržaj(duljine[i], sjeme[i]));
            z.polja[3] = QStringLiteral("3");
        }
        izdanje.objavi();
        objavljeno = t.read(server.folder() + QStringLiteral("/Verzije.txt"));

        t.mkdir(cilj + QStringLiteral("Update"));
        t.write(cilj + QStringLiteral("Verzije.txt"), objavljeno);
        for (const QString& a : kArhive) t.write(cilj + a, arhivaNaServeru(a));
    }

    QByteArray arhivaNaServeru(const QString& arhiva) const
    {
        return t.read(server.folder() + u'/' + arhiva);
    }

    // Sets field `polje` of the record `ime` in the target's control file.
    void staro(const QString& ime, int polje, const QString& vrijednost)
    {
        QStringList redovi = QString::fromUtf8(t.read(cilj + QStringLiteral("Verzije.txt")))
                                 .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (QString& red : redovi) {
            QStringList polja = red.split(u';');
            if (polja[0] == ime)
                polja[polje] = vrijednost;
            red = polja.join(u';');
        }
        t.write(cilj + QStringLiteral("Verzije.txt"),
                (redovi.join(QStringLiteral("\r\n")) + "\r\n").toUtf8());
    }
    void bezStarogZapisa(const QString& ime)
    {
        QStringList redovi = QString::fromUtf8(t.read(cilj + QStringLiteral("Verzije.txt")))
                                 .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        redovi.removeIf([&](const QString& red) { return red.startsWith(ime + u';'); });
        t.write(cilj + QStringLiteral("Verzije.txt"),
                (redovi.join(QStringLiteral("\r\n")) + "\r\n").toUtf8());
    }
    void isprazniCilj()
    {
        QDir(cilj).removeRecursively();
        t.mkdir(cilj);
    }

    // {T} the target, {U} its staging folder, {Ime.7z} an archive's published size.
    QString r(QString tekst) const
    {
        tekst.replace(QStringLiteral("{T}"), cilj)
            .replace(QStringLiteral("{U}"), cilj + QStringLiteral("Update/"));
        for (const QString& a : kArhive)
            tekst.replace(u'{' + a + u'}', QString::number(arhivaNaServeru(a).size()));
        return tekst;
    }
    QStringList r(const QStringList& tekstovi) const
    {
        QStringList out;
        for (const QString& tekst : tekstovi) out << r(tekst);
        return out;
    }

    // The archives requested after the control file, in order.
    QStringList skinuto() const
    {
        QStringList imena;
        for (const QString& zahtjev : server.requests())
            if (zahtjev != kPutanjaServera + QStringLiteral("Verzije.txt"))
                imena << zahtjev.mid(kPutanjaServera.size());
        return imena;
    }
    // The files of the target deleted during the run.
    QStringList obrisano() const
    {
        QStringList imena;
        for (const auto& op : t.fs.operations())
            if (op.name == QStringLiteral("removeFile") && op.path.startsWith(cilj))
                imena << op.path.mid(cilj.size());
        return imena;
    }
    QStringList logPrijenosa() const
    {
        QStringList linije;
        for (const QString& l : t.log())
            if (l.startsWith(QStringLiteral("Download na lokaciju")) ||
                l.startsWith(QStringLiteral("DownloadNaLokaciju")))
                linije << l;
        return linije;
    }
    qint64 zbroj(const QStringList& arhive) const
    {
        qint64 ukupno = 0;
        for (const QString& a : arhive) ukupno += arhivaNaServeru(a).size();
        return ukupno;
    }

    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("server"))};
    TestIzdanje izdanje{t, t.root(QStringLiteral("server/"))};
    const QString cilj = t.root(QStringLiteral("distribucija/"));
    QByteArray objavljeno;
};

// "Ista verzija: " for each name kept, then the control file's copy.
QStringList Ista(const QStringList& imena, bool kopirano = true)
{
    QStringList linije;
    for (const QString& ime : imena) linije << QStringLiteral("Ista verzija: ") + ime;
    if (kopirano)
        linije << QStringLiteral("Kopirano Verzije.txt");
    return linije;
}

// The size check's log line for each archive that matched.
QStringList OK(const QStringList& arhive)
{
    QStringList linije;
    for (const QString& a : arhive)
        linije
            << QStringLiteral(
                   "Download na lokaciju - Veličina presnimljene datoteke %1 je {%1}, a veličina originalne "
                   "datoteke je {%1}. OK.")
                   .arg(a);
    return linije;
}

QString Razlika(const QString& arhiva, qint64 veličina)
{
    return QStringLiteral(
               "Veličina presnimljene datoteke %1 je %2, a veličina originalne datoteke je {%1} i one nisu "
               "iste. "
               "Moguća greška u prijenosu datoteke. Ponovite postupak. Nastaviće se prijenos za ostale "
               "datoteke!")
        .arg(arhiva)
        .arg(veličina);
}

QStringList Osim(QStringList popis, const QStringList& bez)
{
    for (const QString& b : bez) popis.removeAll(b);
    return popis;
}

struct CopyCase {
    const char* naziv{};
    std::function<void(Distribucija&)> priprema{};
    bool saPorukama{};
    std::vector<Answer> odgovori{};
    bool rezultat{};
    bool okna{};  // the panes show this run's transcripts
    QStringList skinuto{};
    QStringList obrisano{};
    QStringList greške{};                     // lines of the error transcript when the panes show it
    QStringList akcije{};                     // lines of the action transcript when the panes show it
    QStringList prozori{};                    // box texts; a text ending in '*' is a beginning
    QStringList log{};                        // the copy's own log lines
    std::optional<QStringList> prebrojano{};  // archives counted in the total, when not those fetched
    QString ciljNaKraju = QStringLiteral("{T}");
    std::function<void(Distribucija&)> provjera{};
};

void PrintTo(const CopyCase& c, std::ostream* os)
{
    *os << c.naziv;
}

const QString kNemaCilja = QStringLiteral(
    "Ne postoji unesena lokacija za download programa: {T}\r\nProgram ne može nastaviti sa presnimavanjem "
    "programa na zadanu lokaciju!");
const QString kPrazanCilj = QStringLiteral(
    "Nije unesena lokacija za download programa! Upišite ili izaberite direktoriju na kartici \"Kopiranje "
    "novih (svih) programa na disk/mrežnu lokaciju\".");
const QString kNemaKontrolne = QStringLiteral(
    "Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu sa internetom i pokušajte ponovno! "
    "Prekida se ažuriranje!");

const CopyCase kCopyCases[] = {
    {.naziv = "TrailingSeparatorAddedAndShown",
     .priprema = [](Distribucija& f) { f.t.model.postaviTxtLokacija(1, f.cilj.chopped(1)); },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .akcije = Ista(kImena),
     .log = OK(kArhive)},
    {.naziv = "TargetUpToDate",
     .priprema = [](Distribucija&) {},
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .akcije = Ista(kImena),
     .log = OK(kArhive)},
    // Option 1 names the network folder as this computer's source; the copy still comes from the
    // primary server.
    {.naziv = "NetworkOptionFetchesFromThePrimaryServer",
     .priprema = [](Distribucija& f) { f.t.model.postaviOptLokacija(1); },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .akcije = Ista(kImena),
     .log = OK(kArhive)},
    {.naziv = "SecondaryServerForOption2",
     .priprema =
         [](Distribucija& f) {
             f.t.model.postaviOptLokacija(2);
             f.t.stanje.SekundarniServer = f.t.stanje.PrimarniServer;
             f.t.stanje.PrimarniServer = HttpServer::unreachableBaseUrl();
         },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .akcije = Ista(kImena),
     .log = OK(kArhive)},
    {.naziv = "EmptyTargetYesFetchesEverything",
     .priprema = [](Distribucija& f) { f.isprazniCilj(); },
     .saPorukama = true,
     .odgovori = {Answer::Yes},
     .rezultat = true,
     .okna = true,
     .skinuto = kArhive,
     .akcije = {QStringLiteral("Kopirano Verzije.txt")},
     .prozori = {kPitanje},
     .log = OK(kArhive),
     .provjera =
         [](Distribucija& f) {
             EXPECT_EQ(f.t.read(f.cilj + QStringLiteral("Update/Verzije.txt")), f.objavljeno);
             for (const QString& a : kArhive)
                 EXPECT_EQ(f.t.read(f.cilj + a), f.arhivaNaServeru(a)) << a.toStdString();
         }},
    {.naziv = "EmptyTargetNoFetchesNothing",
     .priprema = [](Distribucija& f) { f.isprazniCilj(); },
     .saPorukama = true,
     .odgovori = {Answer::No},
     .rezultat = false,
     .okna = false,
     .prozori = {kPitanje},
     .provjera = [](Distribucija& f) { EXPECT_FALSE(f.t.exists(f.cilj + QStringLiteral("Verzije.txt"))); }},
    {.naziv = "QuestionAskedEvenWithoutMessages",
     .priprema = [](Distribucija& f) { f.isprazniCilj(); },
     .saPorukama = false,
     .odgovori = {Answer::Yes},
     .rezultat = true,
     .okna = true,
     .skinuto = kArhive,
     .akcije = {QStringLiteral("Kopirano Verzije.txt")},
     .prozori = {kPitanje},
     .log = OK(kArhive)},
    // The help file at the end follows whatever was fetched before it; the one at the top does not.
    {.naziv = "RevisionUpReplacesTheArchive",
     .priprema = [](Distribucija& f) { f.staro(QStringLiteral("Program.exe"), 3, QStringLiteral("2")); },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .akcije = Ista({QStringLiteral("Upute.chm"), QStringLiteral("Skripta1.enc"),
                     QStringLiteral("LumiIzmjBaza20.dll"), QStringLiteral("Skripta2.enc")}),
     .log = OK(kArhive)},
    {.naziv = "NewEntryIsFetchedAndReported",
     .priprema =
         [](Distribucija& f) {
             f.bezStarogZapisa(QStringLiteral("Skripta2.enc"));
             QFile::remove(f.cilj + QStringLiteral("Skripta2.7z"));
         },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("Skripta2.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Pomoc.7z")},
     .greške = {QStringLiteral("Nije pronađen zapis o starim verzija za :Skripta2.enc pa se mora kopirati")},
     .akcije = Ista({QStringLiteral("Upute.chm"), QStringLiteral("Program.exe"),
                     QStringLiteral("Skripta1.enc"), QStringLiteral("LumiIzmjBaza20.dll")}),
     .log = OK(kArhive)},
    {.naziv = "ArchiveDeletedByHand",
     .priprema = [](Distribucija& f) { QFile::remove(f.cilj + QStringLiteral("Program.7z")); },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .greške = {QStringLiteral("Nije nađena 7z datoteka: Program.7z pa se mora napraviti")},
     .akcije = Ista({QStringLiteral("Upute.chm"), QStringLiteral("Skripta1.enc"),
                     QStringLiteral("LumiIzmjBaza20.dll"), QStringLiteral("Skripta2.enc")}),
     .log = OK(kArhive)},
    {.naziv = "ArchiveTruncated",
     .priprema =
         [](Distribucija& f) {
             f.t.write(f.cilj + QStringLiteral("Program.7z"),
                       f.arhivaNaServeru(QStringLiteral("Program.7z")).left(100));
         },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .greške = {QStringLiteral(
         "Nađena 7z datoteka: Program.7z ali je veličina različita 100 Novi: {Program.7z} pa će se "
         "prekopirati")},
     .akcije = Ista({QStringLiteral("Upute.chm"), QStringLiteral("Skripta1.enc"),
                     QStringLiteral("LumiIzmjBaza20.dll"), QStringLiteral("Skripta2.enc")}),
     .log = OK(kArhive),
     .provjera =
         [](Distribucija& f) {
             EXPECT_EQ(f.t.read(f.cilj + QStringLiteral("Program.7z")),
                       f.arhivaNaServeru(QStringLiteral("Program.7z")));
         }},
    // The script listed before the database component is not forced; the one after it is.
    {.naziv = "DatabaseComponentForcesLaterScripts",
     .priprema =
         [](Distribucija& f) { f.staro(QStringLiteral("LumiIzmjBaza20.dll"), 2, QStringLiteral("1")); },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("LumiIzmjBaza20.7z"), QStringLiteral("Skripta2.7z"),
                 QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("LumiIzmjBaza20.7z"), QStringLiteral("Skripta2.7z"),
                  QStringLiteral("Pomoc.7z")},
     .akcije =
         Ista({QStringLiteral("Upute.chm"), QStringLiteral("Program.exe"), QStringLiteral("Skripta1.enc")}),
     .log = OK(kArhive)},
    // A major part that went down does not hide a minor part that went up; all parts equal or lower
    // with equal sizes keep the archive.
    {.naziv = "VersionPartsComparedEachOnItsOwn",
     .priprema =
         [](Distribucija& f) {
             f.staro(QStringLiteral("Program.exe"), 1, QStringLiteral("21"));
             f.staro(QStringLiteral("Program.exe"), 2, QStringLiteral("1"));
             f.staro(QStringLiteral("Skripta1.enc"), 1, QStringLiteral("21"));
             f.staro(QStringLiteral("Skripta1.enc"), 3, QStringLiteral("4"));
         },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .akcije = Ista({QStringLiteral("Upute.chm"), QStringLiteral("Skripta1.enc"),
                     QStringLiteral("LumiIzmjBaza20.dll"), QStringLiteral("Skripta2.enc")}),
     .log = OK(kArhive)},
    {.naziv = "EitherSizeColumnDiffering",
     .priprema =
         [](Distribucija& f) {
             f.staro(QStringLiteral("Program.exe"), 5, QStringLiteral("1"));
             f.staro(QStringLiteral("Skripta1.enc"), 4, QStringLiteral("1"));
         },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("Program.7z"), QStringLiteral("Skripta1.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Program.7z"), QStringLiteral("Skripta1.7z"), QStringLiteral("Pomoc.7z")},
     .akcije = Ista(
         {QStringLiteral("Upute.chm"), QStringLiteral("LumiIzmjBaza20.dll"), QStringLiteral("Skripta2.enc")}),
     .log = OK(kArhive)},
    // The server's error page replaces the archive; its size gives it away, and the run goes on.
    {.naziv = "ErrorPageOfAnotherLength",
     .priprema =
         [](Distribucija& f) {
             f.staro(QStringLiteral("Program.exe"), 3, QStringLiteral("2"));
             f.server.reply(QStringLiteral("Program.7z"), 404, kStranicaGreške);
         },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .greške = {Razlika(QStringLiteral("Program.7z"), 300)},
     .akcije = Ista({QStringLiteral("Upute.chm"), QStringLiteral("Skripta1.enc"),
                     QStringLiteral("LumiIzmjBaza20.dll"), QStringLiteral("Skripta2.enc")}),
     .prozori = {Razlika(QStringLiteral("Program.7z"), 300)},
     .log =
         OK({QStringLiteral("Upute.7z")}) +
         QStringList{QStringLiteral("Download na lokaciju - ") + Razlika(QStringLiteral("Program.7z"), 300)} +
         OK(Osim(kArhive, {QStringLiteral("Upute.7z"), QStringLiteral("Program.7z")})),
     .provjera =
         [](Distribucija& f) {
             EXPECT_EQ(f.t.read(f.cilj + QStringLiteral("Program.7z")), kStranicaGreške);
         }},
    // Every entry is older at the target; the third download breaks off.
    {.naziv = "FailingThirdFetchStopsTheRun",
     .priprema =
         [](Distribucija& f) {
             for (const QString& ime : kImena) f.staro(ime, 1, QStringLiteral("19"));
             for (const QString& a : kArhive) f.t.write(f.cilj + a, "stara arhiva");
             f.server.replyBroken(QStringLiteral("Skripta1.7z"), "nepotpuno", 700);
         },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .skinuto = {QStringLiteral("Upute.7z"), QStringLiteral("Program.7z"), QStringLiteral("Skripta1.7z")},
     .obrisano = {QStringLiteral("Upute.7z"), QStringLiteral("Program.7z"), QStringLiteral("Skripta1.7z")},
     .prozori = {QStringLiteral("Greška: *")},
     .log = OK({QStringLiteral("Upute.7z"), QStringLiteral("Program.7z")}),
     .prebrojano = QStringList{QStringLiteral("Upute.7z"), QStringLiteral("Program.7z")},
     .provjera =
         [](Distribucija& f) {
             EXPECT_EQ(f.t.read(f.cilj + QStringLiteral("Upute.7z")),
                       f.arhivaNaServeru(QStringLiteral("Upute.7z")));
             EXPECT_EQ(f.t.read(f.cilj + QStringLiteral("Program.7z")),
                       f.arhivaNaServeru(QStringLiteral("Program.7z")));
             EXPECT_EQ(f.t.read(f.cilj + QStringLiteral("LumiIzmjBaza20.7z")), "stara arhiva");
             EXPECT_TRUE(f.t.read(f.cilj + QStringLiteral("Verzije.txt")).startsWith("Upute.chm;19;"));
             EXPECT_TRUE(f.t.model.progBarVidljiv());  // the caller puts the bar and the clock away
             EXPECT_TRUE(f.t.model.tmrPrijenosOmogućen());
         }},
    // An unreadable control file at the target is no reason to ask: everything is fetched.
    {.naziv = "UnreadableTargetControlFileCopiesAll",
     .priprema =
         [](Distribucija& f) { f.t.write(f.cilj + QStringLiteral("Verzije.txt"), "Upute.chm;20\r\n"); },
     .saPorukama = true,
     .rezultat = true,
     .okna = true,
     .skinuto = kArhive,
     .akcije = {QStringLiteral("Kopirano Verzije.txt")},
     .log = QStringList{QStringLiteral(
                "DownloadNaLokaciju - Desila se greška u čitanju zapisa u matricu. Kopiraju se sve "
                "datoteke! Želite li nastaviti? ")} +
            OK(kArhive)},
    {.naziv = "TargetMissing",
     .priprema = [](Distribucija& f) { QDir(f.cilj).removeRecursively(); },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {kNemaCilja}},
    {.naziv = "EmptyTargetSettingRefused",
     .priprema = [](Distribucija& f) { f.t.model.postaviTxtLokacija(1, QString()); },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {kPrazanCilj},
     .log = {QStringLiteral("Download na lokaciju- ") + kPrazanCilj},
     .ciljNaKraju = QString()},
    // A relative target would land wherever the program was started.
    {.naziv = "RelativeTargetRefused",
     .priprema = [](Distribucija& f) { f.t.model.postaviTxtLokacija(1, QStringLiteral("distribucija")); },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {QStringLiteral(
         "Ne postoji unesena lokacija za download programa: distribucija/\r\nProgram ne može nastaviti "
         "sa presnimavanjem programa na zadanu lokaciju!")},
     .ciljNaKraju = QStringLiteral("distribucija/")},
    {.naziv = "StagingFolderCannotBeCreated",
     .priprema =
         [](Distribucija& f) {
             QDir(f.cilj + QStringLiteral("Update")).removeRecursively();
             f.t.fs.failPath(f.cilj + QStringLiteral("Update"), QStringLiteral("Pristup je odbijen."),
                             {QStringLiteral("createFolder")});
         },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {QStringLiteral(
         "Nastala je greška u kreiranju Update direktorije! Program za skidanje novih programa mora "
         "prestati sa radom.")}},
    {.naziv = "ControlFileCannotBeFetched",
     .priprema = [](Distribucija& f) { f.t.stanje.PrimarniServer = HttpServer::unreachableBaseUrl(); },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {QStringLiteral("Greška: *"), kNemaKontrolne},
     .log = {QStringLiteral("Download na lokaciju- ") + kNemaKontrolne}},
    {.naziv = "ControlFileWithoutMessages",
     .priprema = [](Distribucija& f) { f.t.stanje.PrimarniServer = HttpServer::unreachableBaseUrl(); },
     .saPorukama = false,
     .rezultat = false,
     .okna = false,
     .prozori = {QStringLiteral("Greška: *")},
     .log = {QStringLiteral("Download na lokaciju- ") + kNemaKontrolne}},
    {.naziv = "FetchedControlFileMissingInStaging",
     .priprema =
         [](Distribucija& f) {
             f.t.fs.failPath(f.cilj + QStringLiteral("Update/Verzije.txt"), QStringLiteral("Ne postoji."),
                             {QStringLiteral("fileExists")});
         },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {QStringLiteral("Podaci o novim verzijama na postoje na lokaciji: {U}")},
     .log = {QStringLiteral(
         "Download na lokaciju- Učitao sa interneta Verzije.txt ali one ne postoje u {U}")}},
    // The target disappears while the control file is fetched, as an unplugged disk would.
    {.naziv = "TargetVanishesDuringTheControlFileFetch",
     .priprema =
         [](Distribucija& f) {
             f.t.model.pratiPromjene([&f](ProzorModel::Kontrola k) {
                 if (k == ProzorModel::Kontrola::Panel1 && f.t.model.panel1().isEmpty())
                     f.t.fs.failPath(f.cilj, QStringLiteral("Ne postoji."), {QStringLiteral("folderExists")});
             });
         },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {QStringLiteral(
         "Ne postoji direktorija: {T} ili niste spojeni!\r\nPrekida se sa prebacivanjem!")}},
    {.naziv = "FetchedControlFileUnreadable",
     .priprema =
         [](Distribucija& f) { f.server.reply(QStringLiteral("Verzije.txt"), 200, "Upute.chm;20\r\n"); },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .prozori = {QStringLiteral(
         "DownloadNaLokaciju - Desila se greška u čitanju zapisa u matricu. Prekida se ažuriranje!")},
     .log = {QStringLiteral(
         "DownloadNaLokaciju - Desila se greška u čitanju zapisa u matricu. Prekida se ažuriranje!")}},
    {.naziv = "SizeQueryFails",
     .priprema =
         [](Distribucija& f) {
             f.t.fs.failPath(f.cilj + QStringLiteral("Skripta1.7z"), QStringLiteral("Pristup je odbijen."),
                             {QStringLiteral("fileSize")});
         },
     .saPorukama = true,
     .rezultat = false,
     .okna = false,
     .skinuto = {QStringLiteral("Skripta1.7z")},
     .obrisano = {QStringLiteral("Skripta1.7z")},
     .prozori = {QStringLiteral(
         "Greška u provjeri veličine datoteke-dohvatu datoteke Skripta1.7z. Prekida se ažuriranje!")},
     .log = OK({QStringLiteral("Upute.7z"), QStringLiteral("Program.7z")}) +
            QStringList{
                QStringLiteral("Download na lokaciju - Greška u provjeri veličine datoteke-dohvatu datoteke "
                               "Skripta1.7z. Prekida se ažuriranje!")}},
    // The other computers would compare the new archives with the old control file: no success.
    {.naziv = "FinalControlFileCopyFails",
     .priprema =
         [](Distribucija& f) {
             f.staro(QStringLiteral("Program.exe"), 3, QStringLiteral("2"));
             f.t.fs.failPath(f.cilj + QStringLiteral("Verzije.txt"), QStringLiteral("Pristup je odbijen."),
                             {QStringLiteral("copyReplacing")});
         },
     .saPorukama = true,
     .rezultat = false,
     .okna = true,
     .skinuto = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .obrisano = {QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")},
     .greške = {QStringLiteral("Greška u kopiranju Verzije.txt Pristup je odbijen.")},
     .akcije = Ista({QStringLiteral("Upute.chm"), QStringLiteral("Skripta1.enc"),
                     QStringLiteral("LumiIzmjBaza20.dll"), QStringLiteral("Skripta2.enc")},
                    false),
     .log = OK(kArhive) + QStringList{QStringLiteral(
                              "Download na lokaciju - Greška u kopiranju Verzije.txt Pristup je odbijen.")}},
};

class CopyToTarget : public Distribucija, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyToTarget, MatchesTable)
{
    const CopyCase& c = GetParam();
    c.priprema(*this);
    const QByteArray kontrolnaPrije = t.read(cilj + QStringLiteral("Verzije.txt"));
    for (Answer a : c.odgovori) t.dijalozi.answer({a});
    t.fs.clearRecord();
    server.clearRequests();

    const bool rezultat = DownloadNaLokaciju(t.o, c.saPorukama);

    EXPECT_EQ(rezultat, c.rezultat);
    EXPECT_EQ(skinuto(), c.skinuto);
    EXPECT_EQ(obrisano(), c.obrisano);
    EXPECT_EQ(logPrijenosa(), r(c.log));
    EXPECT_EQ(t.model.txtLokacija(1), r(c.ciljNaKraju));
    EXPECT_EQ(t.stanje.UkupnoPreneseno, zbroj(c.prebrojano.value_or(c.skinuto)));

    const QStringList prozori = t.dijalozi.texts();
    ASSERT_EQ(prozori.size(), c.prozori.size()) << prozori.join(u'\n').toStdString();
    for (int i = 0; i < prozori.size(); ++i) {
        const QString očekivano = r(c.prozori[i]);
        if (očekivano.endsWith(u'*'))
            EXPECT_TRUE(prozori[i].startsWith(očekivano.chopped(1))) << prozori[i].toStdString();
        else
            EXPECT_EQ(prozori[i], očekivano);
        const auto& box = t.dijalozi.boxes()[static_cast<size_t>(i)];
        EXPECT_EQ(box.caption, NaslovPrograma);
        // The question; the plain OK boxes (the transfer's own, the staging folder's and the vanished
        // target's); every other box of the copy warns.
        const bool pitanje = očekivano == r(kPitanje);
        const bool običan = očekivano.startsWith(QStringLiteral("Greška: ")) ||
                            očekivano.startsWith(QStringLiteral("Podaci o novim verzijama")) ||
                            očekivano.startsWith(QStringLiteral("Ne postoji direktorija: "));
        EXPECT_EQ(box.icon, pitanje ? Icon::Question : (običan ? Icon::None : Icon::Exclamation)) << i;
        EXPECT_EQ(box.buttons, pitanje ? Dialogs::Buttons::YesNo : Dialogs::Buttons::Ok) << i;
    }

    if (c.okna) {
        const QString prefiks = QStringLiteral("\r\n");
        EXPECT_EQ(t.model.txtPorGr(), c.greške.isEmpty() ? QString() : prefiks + r(c.greške).join(prefiks));
        EXPECT_EQ(t.model.txtPor(), c.akcije.isEmpty() ? QString() : prefiks + r(c.akcije).join(prefiks));
        EXPECT_FALSE(t.model.progBarVidljiv());
        EXPECT_FALSE(t.model.tmrPrijenosOmogućen());
    } else {
        EXPECT_EQ(t.model.txtPor(), kRanije);
        EXPECT_EQ(t.model.txtPorGr(), kRanije);
    }
    // The target's control file is replaced only by a run that succeeds.
    EXPECT_EQ(t.read(cilj + QStringLiteral("Verzije.txt")), rezultat ? objavljeno : kontrolnaPrije);
    if (c.provjera)
        c.provjera(*this);
}

INSTANTIATE_TEST_SUITE_P(Distribution, CopyToTarget, ::testing::ValuesIn(kCopyCases),
                         [](const auto& info) { return std::string(info.param.naziv); });

// Forty-five entries step the bar through 1 to 29 and again from 1; it never rests at 30.
TEST_F(Distribucija, ProgressBarWrapsAfter29)
{
    isprazniCilj();
    TestIzdanje veliko{t, t.root(QStringLiteral("server/"))};
    t.stanje.NoveVerzije.očisti();
    for (int i = 0; i < 45; ++i)
        veliko.dodaj(QStringLiteral("Skripta%1.enc").arg(i),
                     Sadržaj(10 + i, static_cast<char>('a' + i % 20)));
    veliko.objavi();
    std::vector<qint64> položaji;
    t.model.pratiPromjene([&](ProzorModel::Kontrola k) {
        if (k == ProzorModel::Kontrola::ProgBar && t.model.progBarVidljiv() &&
            (položaji.empty() || položaji.back() != t.model.progBarVrijednost()))
            položaji.push_back(t.model.progBarVrijednost());
    });

    t.dijalozi.answer({Answer::Yes});  // copy everything into the empty target
    ASSERT_TRUE(DownloadNaLokaciju(t.o, true));

    std::vector<qint64> očekivano{0};
    for (int i = 1; i <= 29; ++i) očekivano.push_back(i);
    for (int i = 1; i <= 16; ++i) očekivano.push_back(i);
    EXPECT_EQ(položaji, očekivano);
    EXPECT_EQ(t.model.progBarMin(), 0);
    EXPECT_EQ(t.model.progBarMax(), 30);
    EXPECT_FALSE(t.model.progBarVidljiv());
}

// The copy to the office's folder takes the same ceilings as the fetch: the control file's and, for
// an archive, the size its record announces.
TEST_F(Distribucija, ControlFileOverItsCeilingStopsTheCopyBeforeAnyArchive)
{
    server.reply(QStringLiteral("Verzije.txt"), 200, QByteArray(256 * 1024 + 1, ';'));

    EXPECT_FALSE(DownloadNaLokaciju(t.o, true));

    EXPECT_EQ(
        t.dijalozi.texts(),
        (QStringList{QStringLiteral("Greška: Poslužitelj šalje više podataka nego što je očekivano "
                                    "(najviše 262144 bajtova)."),
                     QStringLiteral("Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu "
                                    "sa internetom i pokušajte ponovno! Prekida se ažuriranje!")}));
    EXPECT_EQ(t.read(cilj + QStringLiteral("Verzije.txt")), objavljeno);
    EXPECT_EQ(server.requests(), QStringList{kPutanjaServera + QStringLiteral("Verzije.txt")});
}

TEST_F(Distribucija, ArchiveOverItsRecordsSizeStopsTheCopyAndLeavesNoPart)
{
    staro(QStringLiteral("Program.exe"), 3, QStringLiteral("2"));
    const QByteArray arhiva = arhivaNaServeru(QStringLiteral("Program.7z"));
    server.reply(QStringLiteral("Program.7z"), 200, arhiva + 'x');

    EXPECT_FALSE(DownloadNaLokaciju(t.o, true));

    ASSERT_FALSE(t.dijalozi.texts().isEmpty());
    EXPECT_EQ(t.dijalozi.texts().last(),
              QStringLiteral("Greška: Poslužitelj šalje više podataka nego što je očekivano (najviše ") +
                  QString::number(arhiva.size()) + QStringLiteral(" bajtova)."));
    EXPECT_FALSE(t.exists(cilj + QStringLiteral("Program.7z")));
    EXPECT_EQ(QDir(cilj).entryList({QStringLiteral(".*Program*")}, QDir::Files | QDir::Hidden),
              QStringList());
}

// A total above 2,147,483,647 bytes keeps its true value: the sizes are those of the control file.
TEST_F(Distribucija, TotalAbove32BitsIsKept)
{
    isprazniCilj();
    t.stanje.NoveVerzije.očisti();
    TestIzdanje veliko{t, t.root(QStringLiteral("server/"))};
    veliko.dodaj(QStringLiteral("Velika1.enc"), "a");
    veliko.dodaj(QStringLiteral("Velika2.enc"), "b");
    t.stanje.NoveVerzije[0].polja[4] = QStringLiteral("2147483647");
    t.stanje.NoveVerzije[1].polja[4] = QStringLiteral("3000000000");
    veliko.objavi();

    t.dijalozi.answer({Answer::Yes});             // copy everything into the empty target
    EXPECT_TRUE(DownloadNaLokaciju(t.o, false));  // both sizes differ from the bytes served

    EXPECT_EQ(t.stanje.UkupnoPreneseno, 5147483647LL);
    EXPECT_TRUE(
        t.model.txtPorGr().contains(QStringLiteral("Veličina presnimljene datoteke Velika2.7z je 1, a "
                                                   "veličina originalne datoteke je 3000000000 i one nisu "
                                                   "iste.")));
}

// The result box of PrijenosNaLokaciju after each kind of run. The label shows what the clock last
// wrote; it starts with the previous run's caption and total.
struct ReportCase {
    const char* naziv;
    std::function<void(Distribucija&)> priprema;
    bool saPorukama;
    QStringList prozori;
};

void PrintTo(const ReportCase& c, std::ostream* os)
{
    *os << c.naziv;
}

const QString kPrethodniSat = QStringLiteral("Vrijeme prijenosa: 12,50 s");
const QString kUspjeh = QStringLiteral(
    "Uspješno skinuti programi na lokaciju {T} \r\n%1\r\nUkupno prenesno: %2 bajtova.\r\nSada je moguće "
    "ažuriranje "
    "za ostala računala!");
const QString kUpozorenje = QStringLiteral(
    "Upozorenje. Nisu uspješno skinuti programi na lokaciju {T} pa ažuriranje sa te lokacije nije "
    "preporučljivo. "
    "Otklonite nastalu grešku ili kontaktirajte Lumivex.\r\nTek kada prijenos prođe bez problema moguće je "
    "koristiti "
    "ovu direktoriju za ažuriranje programa!\r\n%1\r\nUkupno prenesno: %2 bajtova.");

const ReportCase kReportCases[] = {
    {"EarlyStopShowsThePreviousClockAndTotal",
     [](Distribucija& f) { QDir(f.cilj).removeRecursively(); },
     true,
     {kNemaCilja, kUpozorenje.arg(kPrethodniSat, QStringLiteral("4096"))}},
    {"NothingFetchedIsASuccessWithZero",
     [](Distribucija&) {},
     true,
     {kUspjeh.arg(QString(), QStringLiteral("0"))}},
    {"SizeMismatchIsStillASuccess",
     [](Distribucija& f) {
         f.staro(QStringLiteral("Program.exe"), 3, QStringLiteral("2"));
         f.server.reply(QStringLiteral("Program.7z"), 404, kStranicaGreške);
     },
     true,
     {Razlika(QStringLiteral("Program.7z"), 300),
      kUspjeh.arg(QString(), QStringLiteral("{Program.7z+Pomoc.7z}"))}},
    {"NoBoxWithoutMessages", [](Distribucija&) {}, false, {}},
    {"NoResultBoxWithoutMessagesAfterAFailure",
     [](Distribucija& f) {
         f.staro(QStringLiteral("Upute.chm"), 1, QStringLiteral("19"));
         f.server.replyBroken(QStringLiteral("Upute.7z"), "nepotpuno", 900);
     },
     false,
     {QStringLiteral("Greška: *")}},
};

class ResultReport : public Distribucija, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ResultReport, MatchesTable)
{
    const ReportCase& c = GetParam();
    t.model.postaviLblVrijemePrijenosa(kPrethodniSat);
    t.stanje.UkupnoPreneseno = 4096;
    c.priprema(*this);

    PrijenosNaLokaciju(t.o, c.saPorukama);

    const QStringList prozori = t.dijalozi.texts();
    ASSERT_EQ(prozori.size(), c.prozori.size()) << prozori.join(u'\n').toStdString();
    for (int i = 0; i < prozori.size(); ++i) {
        QString očekivano = r(c.prozori[i]);
        očekivano.replace(QStringLiteral("{Program.7z+Pomoc.7z}"),
                          QString::number(zbroj({QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")})));
        if (očekivano.endsWith(u'*'))
            EXPECT_TRUE(prozori[i].startsWith(očekivano.chopped(1))) << prozori[i].toStdString();
        else
            EXPECT_EQ(prozori[i], očekivano);
    }
    for (const auto& box : t.dijalozi.boxes()) {
        EXPECT_EQ(box.caption, NaslovPrograma);
        EXPECT_EQ(box.buttons, Dialogs::Buttons::Ok);
    }
    if (!c.prozori.isEmpty() && !c.prozori.back().endsWith(u'*')) {
        EXPECT_EQ(t.dijalozi.boxes().back().icon, Icon::Exclamation);
    }
    // Put away after every run, also one that stopped with the clock running.
    EXPECT_FALSE(t.model.progBarVidljiv());
    EXPECT_FALSE(t.model.tmrPrijenosOmogućen());
}

INSTANTIATE_TEST_SUITE_P(Distribution, ResultReport, ::testing::ValuesIn(kReportCases),
                         [](const auto& info) { return std::string(info.param.naziv); });

// The clock counts from after the bar has been placed, and the box shows its last caption. Here the
// window's clock ticks whenever the bar moves, a second and a half after the one before.
TEST_F(Distribucija, ResultBoxShowsTheClockOfTheTransfer)
{
    staro(QStringLiteral("Program.exe"), 3, QStringLiteral("2"));
    t.model.pratiPromjene([&](ProzorModel::Kontrola k) {
        if (k == ProzorModel::Kontrola::ProgBar && t.model.tmrPrijenosOmogućen()) {
            t.sat.advance(1500);
            tmrPrijenos_Tick(t.o);
        }
    });

    PrijenosNaLokaciju(t.o, true);

    // Six entries after the bar was placed: nine seconds.
    const QString sat =
        QStringLiteral("Vrijeme prijenosa: 9") + QLocale().decimalPoint() + QStringLiteral("00 s");
    EXPECT_EQ(t.model.lblVrijemePrijenosa(), sat);
    ASSERT_EQ(t.dijalozi.texts().size(), 1);
    EXPECT_EQ(t.dijalozi.texts()[0],
              r(kUspjeh.arg(
                  sat, QString::number(zbroj({QStringLiteral("Program.7z"), QStringLiteral("Pomoc.7z")})))));
}

}  // namespace
