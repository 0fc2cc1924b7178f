#include "install/Instalacija.h"
#include "install/Vracanje.h"

#include "core/Usporedba.h"
#include "core/VrstaDatoteke.h"
#include "support/QtPrinters.h"
#include "support/RecordingProcessRunner.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <iostream>
#include <memory>

namespace {

using Icon = Dialogs::Icon;
using Answer = Dialogs::Answer;
using Buttons = Dialogs::Buttons;
using K = ProzorModel::Kontrola;

const QString R = QStringLiteral(
    "Program ne može razriješiti problem te će pokušati vratiti staru verziju programa. Ukoliko ne uspije "
    "najvjerojatnije ćete morati reinstalirati program!");
const QString R2 =
    QStringLiteral("Program ne može razriješiti problem pa ćete morati reinstalirati program!");
const QString R3 =
    QStringLiteral("Program ne može razriješiti problem te ćete morati reinstalirati program!");
const QString Q = QStringLiteral(
    "Preporuka je da se prestane koristiti navedeni program i da se pokuša još jednom. Jeste li izašli iz "
    "programa i želite li nastaviti sa instalacijom (Da - Yes) ili želite prekinuti sa instalacijom (Ne - "
    "No)?");
// What the fault injector answers for a path it fails.
const QString kZauzeto = QStringLiteral("Datoteku koristi drugi program.");
const QString kVraćanjeKraj = QStringLiteral("PokušajVratitiSveNaPočetak - Kraj");

struct Stavka {
    QString ime;
    QByteArray staro;  // empty: no old file
    QByteArray novo;
    int zastavica;
};

// A program folder with an installed release and a newer one fetched and unpacked into the Update
// folder, with a registration tool beside the program that does nothing.
class ProgramskaMapa {
public:
    ProgramskaMapa()
    {
        procesi.hide(QStringLiteral("RegSvr32.exe"));
        alat(true);
        t.mkdir(t.stanje.PutanjaSkripti);
        t.mkdir(t.stanje.PutanjaHelp);
        // The control file is prepared again from a network folder after a successful installation.
        t.model.postaviOptLokacija(1);
        t.model.postaviTxtLokacija(0, mreža());
    }

    QString mreža() const { return t.root(QStringLiteral("mreža/")); }
    QString alatPutanja() const { return t.program() + QStringLiteral("RegSvr32.exe"); }

    void alat(bool postoji)
    {
        if (!postoji) {
            QFile::remove(alatPutanja());
            return;
        }
        t.write(alatPutanja(), "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(alatPutanja(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Adds an item in the next row: its old file (none when `staro` is empty) where its kind is
    // installed, and for a marked item its new file in the Update folder.
    void dodaj(const QString& ime, const QByteArray& staro, const QByteArray& novo, int zastavica = 1)
    {
        Zapis& z = t.stanje.NoveVerzije[red_++];
        const QString veličina = QString::number(novo.size());
        z.polja = {ime, QStringLiteral("20"), QStringLiteral("2"), QStringLiteral("0"), veličina, veličina};
        z.zastavica = zastavica;
        stavke.push_back({ime, staro, novo, zastavica});
        if (!staro.isEmpty())
            t.write(odredište(ime), staro);
        if (zastavica == 1)
            t.write(t.stanje.PutanjaUpdate + ime, novo);
    }

    // Writes the installed control file (every old item at 20.1.0) and the new one (20.2.0) into the
    // Update folder and the network folder, lists the marked rows in the grid and takes the snapshot
    // of the files as they were before the installation.
    void objavi()
    {
        QByteArray stari;
        QByteArray novi;
        QVector<RedMreže> redovi;
        for (const Stavka& s : stavke) {
            const QByteArray ime = s.ime.toUtf8();
            novi += ime + ";20;2;0;" + QByteArray::number(s.novo.size()) + ';' +
                    QByteArray::number(s.novo.size()) + ";\r\n";
            if (!s.staro.isEmpty())
                stari += ime + ";20;1;0;" + QByteArray::number(s.staro.size()) + ';' +
                         QByteArray::number(s.staro.size()) + ";\r\n";
            if (s.zastavica == 1) {
                RedMreže red;
                red.polja = t.stanje.NoveVerzije[static_cast<int>(&s - stavke.data())].polja;
                redovi.push_back(red);
            }
        }
        t.write(QStringLiteral("Verzije.txt"), stari);
        t.write(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt"), novi);
        t.write(mreža() + QStringLiteral("Verzije.txt"), novi);
        t.model.postaviMrežu(redovi, 0, 0);
        izvornik = snimka();
    }

    QString odredište(const QString& ime) { return CiljnaDirektorija(o.stanje, ime) + ime; }

    // The files of the program, script and help folders by path; the stand-in tool is the test's own.
    QMap<QString, QByteArray> snimka() const
    {
        QMap<QString, QByteArray> datoteke;
        for (const QString& mapa : {t.stanje.PutanjaPrograma, t.stanje.PutanjaSkripti, t.stanje.PutanjaHelp})
            for (const QString& ime : QDir(mapa).entryList(QDir::Files | QDir::Hidden))
                if (mapa + ime != alatPutanja())
                    datoteke.insert(mapa + ime, t.read(mapa + ime));
        return datoteke;
    }

    // The files that no longer hold the bytes they had before the installation.
    QStringList promijenjeni() const
    {
        QStringList r;
        for (auto i = izvornik.begin(); i != izvornik.end(); ++i)
            if (t.read(i.key()) != i.value() || !t.exists(i.key()))
                r << i.key();
        return r;
    }

    // The files whose old bytes are neither in their place nor in the backup folder.
    QStringList izgubljeni() const
    {
        QStringList r;
        for (auto i = izvornik.begin(); i != izvornik.end(); ++i) {
            const QString uBackupu = t.stanje.PutanjaBackup + QFileInfo(i.key()).fileName();
            if (!(t.exists(i.key()) && t.read(i.key()) == i.value()) &&
                !(t.exists(uBackupu) && t.read(uBackupu) == i.value()))
                r << i.key();
        }
        return r;
    }

    // The marked items of an installed kind that do not hold their new bytes where they belong.
    QStringList nisuNovi()
    {
        QStringList r;
        for (const Stavka& s : stavke) {
            const QString kind = s.ime.right(3);
            const bool instalira = kind == u"exe" || kind == u"dll" || kind == u"enc" || kind == u"chm";
            if (s.zastavica == 1 && instalira && t.read(odredište(s.ime)) != s.novo)
                r << s.ime;
        }
        return r;
    }

    // "{P}" the program folder, "{B}" the backup folder, "{E}" the injected error.
    QString u(QString tekst) const
    {
        return tekst.replace(QStringLiteral("{P}"), t.stanje.PutanjaPrograma)
            .replace(QStringLiteral("{B}"), t.stanje.PutanjaBackup)
            .replace(QStringLiteral("{E}"), kZauzeto);
    }

    TestOkruzenje t;
    RecordingProcessRunner procesi{t.procesi};
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, procesi,
                t.http, t.prozori,  t.registar, t.model,    t.stanje};
    std::vector<Stavka> stavke;
    QMap<QString, QByteArray> izvornik;
    QStringList dovršeni;  // rows that reached status 3, for the cases that watch the grid

private:
    int red_ = 0;
};

// Four items, one of each installed kind, each replacing an old file.
void ČetiriVrste(ProgramskaMapa& m)
{
    m.dodaj(QStringLiteral("A.exe"), Sadržaj(1000, 'a'), Sadržaj(1100, 'A'));
    m.dodaj(QStringLiteral("B.dll"), Sadržaj(900, 'b'), Sadržaj(950, 'B'));
    m.dodaj(QStringLiteral("Skripta.enc"), Sadržaj(300, 's'), Sadržaj(310, 'S'));
    m.dodaj(QStringLiteral("Pomoc.chm"), Sadržaj(700, 'h'), Sadržaj(720, 'H'));
}

// The four kinds, a new program with no old file, an unknown extension, an unmarked program, and a
// backup folder left with an old file by an earlier failed installation.
void Mješovita(ProgramskaMapa& m)
{
    ČetiriVrste(m);
    m.dodaj(QStringLiteral("Novi.exe"), QByteArray(), Sadržaj(500, 'N'));
    m.dodaj(QStringLiteral("Readme.TXT"), QByteArray(), "Pročitaj me");
    m.dodaj(QStringLiteral("C.exe"), Sadržaj(400, 'c'), Sadržaj(410, 'C'), 0);
    m.t.write(m.t.stanje.PutanjaBackup + QStringLiteral("A.exe"), "A.exe od prije dva mjeseca");
    m.objavi();
}

class Installation : public ::testing::Test {
public:
    ProgramskaMapa m;
    TestOkruzenje& t = m.t;
};

// One way through the installation with the four kinds: what is arranged, how the user answers and
// what must follow. Texts use "{P}", "{B}" and "{E}" (see ProgramskaMapa::u).
struct Slučaj {
    const char* naziv{};
    void (*priprema)(ProgramskaMapa&) = nullptr;
    std::vector<Answer> odgovori{};
    bool rezultat{};
    std::vector<std::pair<Icon, QString>> kutije{};  // every box, in order
    QStringList logRedom{};                          // lines the log holds in this order
    enum Ishod { Novo, Staro, Vlastito } ishod{};    // new bytes everywhere, old ones, or the case's check
    void (*provjera)(ProgramskaMapa&) = nullptr;
};

void PrintTo(const Slučaj& c, std::ostream* os)
{
    *os << c.naziv;
}

const QString kPitanjePrograma = QStringLiteral(
    "Nastala je greška u premještanju programa: A.exeNajvjerojatnije se koristi. \r\nPoruka o grešci je: "
    "{E}\r\n");
const QString kPokrenuti = QStringLiteral(
    "Postoje pokrenuti programi:\r\nLumivex Knjigovodstvo 20\r\n\r\nDa bi nastavili sa daljom instalacijom "
    "moraju "
    "se zatvoriti svi otvoreni programi!\r\nZa nastavak rada (i ponovnu provjeru) pritisnite Da (Yes), za "
    "prekid "
    "instalacije pritisnuti Ne (No) ?");

void ZaključajA(ProgramskaMapa& m)
{
    m.t.fs.failPath(m.t.stanje.PutanjaPrograma + QStringLiteral("A.exe"), kZauzeto, {QStringLiteral("move")});
}

const Slučaj kSlučajevi[] = {
    {.naziv = "LockedProgramYesAfterClosingIt",
     .priprema =
         [](ProgramskaMapa& m) {
             ZaključajA(m);
             m.t.dijalozi.onShow = [&m](const ScriptedDialogs::Box& b) {
                 if (b.buttons == Buttons::YesNo)
                     m.t.fs.heal();
             };
         },
     .odgovori = {Answer::Yes},
     .rezultat = true,
     .kutije = {{Icon::Question, kPitanjePrograma + Q}},
     .logRedom =
         {"UpdatePrograma - Backup programa: A.exe",
          "UpdatePrograma - Nastala je greška u premještanju programa: A.exeNajvjerojatnije se koristi. ",
          "Poruka o grešci je: {E}", "UpdatePrograma - Ponovni backup programa: A.exe",
          "UpdatePrograma - Kopiranje novog programa: A.exe", "UpdatePrograma - Kraj"},
     .ishod = Slučaj::Novo},
    {.naziv = "LockedProgramYesButStillLocked",
     .priprema = ZaključajA,
     .odgovori = {Answer::Yes},
     .rezultat = false,
     .kutije = {{Icon::Question, kPitanjePrograma + Q},
                {Icon::Critical,
                 QStringLiteral("Nastala je greška u ponovnom premještanju programa: A.exeNajvjerojatnije se "
                                "koristi. \r\nPoruka o grešci je: {E}\r\n") +
                     R}},
     .logRedom =
         {"UpdatePrograma - Ponovni backup programa: A.exe",
          "UpdatePrograma - Nastala je greška u ponovnom premještanju programa: A.exeNajvjerojatnije se "
          "koristi. ",
          "Poruka o grešci je: {E}", "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:0",
          kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    {.naziv = "LockedProgramNo",
     .priprema = ZaključajA,
     .odgovori = {Answer::No},
     .rezultat = false,
     .kutije = {{Icon::Question, kPitanjePrograma + Q}},
     .logRedom =
         {"UpdatePrograma - Nastala je greška u premještanju programa: A.exeNajvjerojatnije se koristi. ",
          "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:0", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    // The old component was unregistered before the move; it stays in the program folder and gets its
    // registration back before the restore.
    {.naziv = "LockedComponentNo",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.fs.failPath(m.t.stanje.PutanjaPrograma + QStringLiteral("B.dll"), kZauzeto,
                             {QStringLiteral("move")});
         },
     .odgovori = {Answer::No},
     .rezultat = false,
     .kutije =
         {{Icon::Question,
           QStringLiteral(
               "Nastala je greška u premještanju komponente: B.dllNajvjerojatnije se koristi. \r\nPoruka o "
               "grešci je: {E}\r\n") +
               Q}},
     .logRedom =
         {"UpdatePrograma - Deregistracija komponente: B.dll", "RegSvr32.exe \"{P}B.dll\" /u /s Uspješno",
          "UpdatePrograma - Backup komponente: B.dll",
          "UpdatePrograma - Nastala je greška u premještanju komponente: B.dllNajvjerojatnije se koristi. ",
          "RegSvr32.exe \"{P}B.dll\" /s Uspješno",
          "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:1",
          "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: A.exe", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    // The retry of a component has its own texts; the old component gets its registration back.
    {.naziv = "LockedComponentYesButStillLocked",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.fs.failPath(m.t.stanje.PutanjaPrograma + QStringLiteral("B.dll"), kZauzeto,
                             {QStringLiteral("move")});
         },
     .odgovori = {Answer::Yes},
     .rezultat = false,
     .kutije =
         {{Icon::Question,
           QStringLiteral(
               "Nastala je greška u premještanju komponente: B.dllNajvjerojatnije se koristi. \r\nPoruka o "
               "grešci je: {E}\r\n") +
               Q},
          {Icon::Critical,
           QStringLiteral("Nastala je greška u ponovnom premještanju komponente: B.dllNajvjerojatnije se "
                          "koristi. \r\nPoruka o grešci je: {E}\r\n") +
               R}},
     .logRedom =
         {"UpdatePrograma - Backup komponente: B.dll", "UpdatePrograma - Ponovni backup komponente: B.dll",
          "UpdatePrograma - Nastala je greška u ponovnom premještanju komponente: B.dllNajvjerojatnije se "
          "koristi. ",
          "Poruka o grešci je: {E}", "RegSvr32.exe \"{P}B.dll\" /s Uspješno",
          "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:1",
          "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: A.exe", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    {.naziv = "LockedScriptNoQuestion",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.fs.failPath(m.t.stanje.PutanjaSkripti + QStringLiteral("Skripta.enc"), kZauzeto,
                             {QStringLiteral("move")});
         },
     .rezultat = false,
     .kutije =
         {{Icon::Critical,
           QStringLiteral(
               "Nastala je greška u premještanju datoteke: Skripta.enc\r\nPoruka o grešci je: {E}\r\n") +
               R}},
     .logRedom = {"UpdatePrograma - Backup datoteke: Skripta.enc",
                  "UpdatePrograma - Nastala je greška u premještanju datoteke: Skripta.enc",
                  "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:2",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: A.exe",
                  "RegSvr32.exe \"{P}B.dll\" /u /s Uspješno",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad komponente: B.dll",
                  "RegSvr32.exe \"{P}B.dll\" /s Uspješno", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    {.naziv = "CopyOfNewProgramFails",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.failUntilNextBox(m.t.stanje.PutanjaUpdate + QStringLiteral("A.exe"), kZauzeto,
                                  {QStringLiteral("move")});
         },
     .rezultat = false,
     .kutije = {{Icon::Critical,
                 QStringLiteral(
                     "Nastala je greška u kopiranju novog programa: A.exe\r\nPoruka o grešci je: {E}\r\n") +
                     R}},
     .logRedom = {"UpdatePrograma - Kopiranje novog programa: A.exe",
                  "UpdatePrograma - Nastala je greška u kopiranju novog programa: A.exe",
                  "Poruka o grešci je: {E}",
                  "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:1",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: A.exe", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    {.naziv = "CopyOfNewComponentFails",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.failUntilNextBox(m.t.stanje.PutanjaUpdate + QStringLiteral("B.dll"), kZauzeto,
                                  {QStringLiteral("move")});
         },
     .rezultat = false,
     .kutije = {{Icon::Critical,
                 QStringLiteral(
                     "Nastala je greška u kopiranju nove komponente: B.dll\r\nPoruka o grešci je: {E}\r\n") +
                     R}},
     .logRedom = {"UpdatePrograma - Kopiranje nove komponente: B.dll",
                  "UpdatePrograma - Nastala je greška u kopiranju nove komponente: B.dll",
                  "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:2",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad komponente: B.dll", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    {.naziv = "CopyOfNewScriptFails",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.failUntilNextBox(m.t.stanje.PutanjaUpdate + QStringLiteral("Skripta.enc"), kZauzeto,
                                  {QStringLiteral("move")});
         },
     .rezultat = false,
     .kutije =
         {{Icon::Critical,
           QStringLiteral(
               "Nastala je greška u kopiranju nove datoteke: Skripta.enc\r\nPoruka o grešci je: {E}\r\n") +
               R}},
     .logRedom = {"UpdatePrograma - Kopiranje novog programa: Skripta.enc",
                  "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:3",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad datoteke: Skripta.enc", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    // The copies back of a program, a component and a script fail too: each is told with its own
    // closing sentence, the component is still registered and the help file is still restored.
    {.naziv = "CopyBackFailsAndTheRestoreGoesOn",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.fs.failPath(m.t.stanje.PutanjaUpdate + QStringLiteral("Pomoc.chm"), kZauzeto,
                             {QStringLiteral("move")});
             m.t.dijalozi.onShow = [&m, prva = true](const ScriptedDialogs::Box&) mutable {
                 if (!prva)
                     return;
                 prva = false;
                 m.t.fs.heal();
                 for (const QString& putanja : {m.t.stanje.PutanjaPrograma + QStringLiteral("A.exe"),
                                                m.t.stanje.PutanjaPrograma + QStringLiteral("B.dll"),
                                                m.t.stanje.PutanjaSkripti + QStringLiteral("Skripta.enc")})
                     m.t.fs.failPath(putanja, kZauzeto, {QStringLiteral("copyReplacing")});
             };
         },
     .rezultat = false,
     .kutije =
         {{Icon::Critical,
           QStringLiteral(
               "Nastala je greška u kopiranju nove datoteke: Pomoc.chm\r\nPoruka o grešci je: {E}\r\n") +
               R},
          {Icon::Critical,
           QStringLiteral(
               "Nastala je greška u kopiranju nazad programa: A.exe\r\nPoruka o grešci je: {E}\r\n") +
               R2},
          {Icon::Critical,
           QStringLiteral(
               "Nastala je greška u kopiranju nazad komponente: B.dll\r\nPoruka o grešci je: {E}\r\n") +
               R2},
          {Icon::Critical,
           QStringLiteral(
               "Nastala je greška u kopiranju nazad datoteke: Skripta.enc\r\nPoruka o grešci je: {E}\r\n") +
               R3}},
     .logRedom = {"PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:4",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: A.exe",
                  "PokušajVratitiSveNaPočetak - Nastala je greška u kopiranju nazad programa: A.exe",
                  "Poruka o grešci je: {E}", "RegSvr32.exe \"{P}B.dll\" /u /s Uspješno",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad komponente: B.dll",
                  "PokušajVratitiSveNaPočetak - Nastala je greška u kopiranju nazad komponente: B.dll",
                  "RegSvr32.exe \"{P}B.dll\" /s Uspješno",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad datoteke: Pomoc.chm",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad datoteke: Skripta.enc",
                  "PokušajVratitiSveNaPočetak - Nastala je greška u kopiranju nazad datoteke: Skripta.enc",
                  kVraćanjeKraj},
     .ishod = Slučaj::Vlastito,
     .provjera =
         [](ProgramskaMapa& m) {
             EXPECT_EQ(m.t.read(m.t.stanje.PutanjaHelp + QStringLiteral("Pomoc.chm")), Sadržaj(700, 'h'));
             EXPECT_EQ(m.t.read(QStringLiteral("A.exe")), Sadržaj(1100, 'A'));
             EXPECT_EQ(m.t.read(QStringLiteral("B.dll")), Sadržaj(950, 'B'));
             EXPECT_EQ(m.t.read(QStringLiteral("UpdateBackup/A.exe")), Sadržaj(1000, 'a'));
             EXPECT_EQ(m.t.read(QStringLiteral("UpdateBackup/Skripta.enc")), Sadržaj(300, 's'));
         }},
    {.naziv = "RegistrationToolMissing",
     .priprema = [](ProgramskaMapa& m) { m.alat(false); },
     .rezultat = false,
     .kutije = {{Icon::Critical, QStringLiteral("Desila se greška u deregistraciji komponente: "
                                                "B.dll\r\nDeregistracija komponente: B.dll\r\n") +
                                     R}},
     .logRedom = {"RegSvr32.exe \"{P}B.dll\" /u /s Neuspješno",
                  "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:1",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: A.exe", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    // The tool disappears after the old component was unregistered: neither the new nor the restored
    // one can be registered, and the user hears of each.
    {.naziv = "ToolGoneBeforeTheNewComponentIsRegistered",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.model.pratiPromjene([&m](K k) {
                 if (k == K::Panel1 && m.t.model.panel1() == u"Registracija nove komponente: B.dll")
                     m.alat(false);
             });
         },
     .rezultat = false,
     .kutije = {{Icon::Critical,
                 QStringLiteral("Desila se greška u registraciji nove komponente: B.dll\r\nRegistracija nove "
                                "komponente: B.dll\r\n") +
                     R},
                {Icon::Critical, QStringLiteral("Desila se greška u deregistraciji komponente: "
                                                "B.dll\r\nDeregistracija komponente: B.dll\r\n") +
                                     R},
                {Icon::Critical, QStringLiteral("Registracija stare komponente: B.dll\r\n") + R}},
     .logRedom = {"RegSvr32.exe \"{P}B.dll\" /s Neuspješno",
                  "PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:2",
                  "PokušajVratitiSveNaPočetak - Kopiranje nazad komponente: B.dll", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    {.naziv = "ComputerOrvelDvdRefused",
     .priprema = [](ProgramskaMapa& m) { m.t.računalo.name = QStringLiteral("ORVEL-DVD"); },
     .rezultat = false,
     .kutije = {{Icon::Exclamation,
                 QStringLiteral("Ime računala je ORVEL-DVD te nije moguće nastaviti sa radom!")}},
     .logRedom = {"UpdatePrograma- početak"},
     .ishod = Slučaj::Staro,
     .provjera =
         [](ProgramskaMapa& m) {
             EXPECT_EQ(m.t.log(), QStringList{QStringLiteral("UpdatePrograma- početak")});
             EXPECT_TRUE(QDir(m.t.stanje.PutanjaBackup).exists());
         }},
    {.naziv = "UserGivesUpWhileProgramsRun",
     .priprema = [](ProgramskaMapa& m) { m.t.prozori.open(QStringLiteral("Lumivex Knjigovodstvo 20")); },
     .odgovori = {Answer::No, Answer::Yes},
     .rezultat = false,
     .kutije = {{Icon::Question, kPokrenuti},
                {Icon::Question,
                 QStringLiteral(
                     "Ukoliko prekinete sa ažuriranjem novih verzija, izgubiće se svi novi učitani "
                     "programi, pa će se to morati ponoviti.\r\nŽelite li zaista prekinuti sa "
                     "ažuriranjem programa sa novim verzijama?")}},
     .ishod = Slučaj::Staro,
     .provjera =
         [](ProgramskaMapa& m) {
             EXPECT_EQ(m.t.log(),
                       QStringList({QStringLiteral("UpdatePrograma- početak"),
                                    QStringLiteral("UpdatePrograma- Postoje startovani programi Lumivex "
                                                   "Knjigovodstvo 20"),
                                    QStringLiteral("UpdatePrograma- Korisnik odustaje")}));
             EXPECT_FALSE(QDir(m.t.stanje.PutanjaBackup).exists());
         }},
    // Declining to give up checks again; the user has closed the program meanwhile.
    {.naziv = "UserClosesTheProgramsBetweenPasses",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.prozori.open(QStringLiteral("Lumivex Knjigovodstvo 20"));
             m.t.dijalozi.onShow = [&m](const ScriptedDialogs::Box& b) {
                 if (b.text.startsWith(u"Ukoliko prekinete"))
                     m.t.prozori.closeAll();
             };
         },
     .odgovori = {Answer::No, Answer::No},
     .rezultat = true,
     .kutije = {{Icon::Question, kPokrenuti},
                {Icon::Question,
                 QStringLiteral(
                     "Ukoliko prekinete sa ažuriranjem novih verzija, izgubiće se svi novi učitani "
                     "programi, pa će se to morati ponoviti.\r\nŽelite li zaista prekinuti sa "
                     "ažuriranjem programa sa novim verzijama?")}},
     .logRedom = {"UpdatePrograma- Postoje startovani programi Lumivex Knjigovodstvo 20",
                  "UpdatePrograma - Početak", "UpdatePrograma - Kraj"},
     .ishod = Slučaj::Novo},
    {.naziv = "UnknownExtensionsOnlyLogged",
     .priprema =
         [](ProgramskaMapa& m) {
             m.dodaj(QStringLiteral("Readme.TXT"), QByteArray(), "tekst");
             m.dodaj(QStringLiteral("Paket.7z"), QByteArray(), "7z");
             m.dodaj(QStringLiteral("Setup.EXE"), QByteArray(), "MZ");
             m.t.model.pratiPromjene([&m](K k) {
                 if (k == K::RedMreže && m.t.model.redovi()[m.t.model.vidljiviRed()].slika == 3)
                     m.dovršeni << m.t.model.redovi()[m.t.model.vidljiviRed()].polja[0];
             });
         },
     .rezultat = true,
     .logRedom = {"UpdatePrograma - nepoznata ekstenzija: TXT", "UpdatePrograma - nepoznata ekstenzija: .7z",
                  "UpdatePrograma - nepoznata ekstenzija: EXE", "UpdatePrograma - Kraj"},
     .ishod = Slučaj::Novo,
     .provjera =
         [](ProgramskaMapa& m) {
             // Every row reached status 3 (collected above, before the control file was prepared again).
             EXPECT_EQ(m.dovršeni, QStringList({"A.exe", "B.dll", "Skripta.enc", "Pomoc.chm", "Readme.TXT",
                                                "Paket.7z", "Setup.EXE"}));
             EXPECT_FALSE(m.t.exists(QStringLiteral("Setup.EXE")));
             EXPECT_FALSE(m.t.exists(QStringLiteral("Readme.TXT")));
         }},
    {.naziv = "NothingMarked",
     .priprema =
         [](ProgramskaMapa& m) {
             for (Zapis& z : m.t.stanje.NoveVerzije.zapisi) z.zastavica = 0;
             for (Stavka& s : m.stavke) s.zastavica = 0;
         },
     .rezultat = true,
     .logRedom = {"UpdatePrograma - Početak", "UpdatePrograma - Backup Verzije.txt",
                  "UpdatePrograma - Kopiranje Verzije.txt", "UpdatePrograma - Brisanje fajlova *.7z",
                  "UpdatePrograma - Brisanje fajlova *.dll", "UpdatePrograma - Brisanje direktorije {B}",
                  "UpdatePrograma - Kraj"},
     .ishod = Slučaj::Vlastito,
     .provjera =
         [](ProgramskaMapa& m) {
             EXPECT_EQ(m.t.read(QStringLiteral("A.exe")), Sadržaj(1000, 'a'));
             EXPECT_EQ(m.t.read(QStringLiteral("Verzije.txt")),
                       m.t.read(m.mreža() + QStringLiteral("Verzije.txt")));
             EXPECT_TRUE(m.t.log().filter(QStringLiteral("UpdatePrograma - Backup programa")).isEmpty());
             EXPECT_FALSE(QDir(m.t.stanje.PutanjaBackup).exists());
         }},
    // Failures after the last item only leave their lines in the log; the installation stands.
    {.naziv = "ControlFileAndBackupFolderFailuresOnlyLogged",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.fs.failPath(m.t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt"), kZauzeto,
                             {QStringLiteral("copyReplacing")});
             m.t.fs.failPath(m.t.stanje.PutanjaBackup, kZauzeto, {QStringLiteral("removeFolder")});
             // The control file is fetched again after the installation: only the installation's copy
             // fails.
             m.t.model.pratiPromjene([&m](K k) {
                 if (k == K::Panel1 && m.t.model.panel1().isEmpty()) {
                     m.t.fs.heal();
                     m.t.fs.failPath(m.t.stanje.PutanjaBackup, kZauzeto, {QStringLiteral("removeFolder")});
                 }
             });
         },
     .rezultat = true,
     .logRedom = {"UpdatePrograma - Backup Verzije.txt", "UpdatePrograma - Kopiranje Verzije.txt",
                  "UpdatePrograma - Greška u kopiranju Verzije.txt {E}",
                  "UpdatePrograma - Brisanje fajlova *.dll", "UpdatePrograma - Brisanje direktorije {B}",
                  "UpdatePrograma - Greška u brisanju direktorije - {B}{E}", "UpdatePrograma - Kraj"},
     .ishod = Slučaj::Vlastito,
     .provjera =
         [](ProgramskaMapa& m) {
             EXPECT_EQ(m.nisuNovi(), QStringList());
             EXPECT_TRUE(QDir(m.t.stanje.PutanjaBackup).exists());
         }},
    // Without a backup of the old control file a crash could not put it back: the new one is not
    // copied in, and the next start lists the updates again.
    {.naziv = "ControlFileWithoutBackupStaysOld",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.fs.failPath(m.t.stanje.PutanjaBackup + QStringLiteral("Verzije.txt"), kZauzeto,
                             {QStringLiteral("copyReplacing")});
         },
     .rezultat = true,
     .logRedom = {"UpdatePrograma - Backup Verzije.txt",
                  "UpdatePrograma - Greška u premještanju u backup Verzije.txt {E}",
                  "UpdatePrograma - Brisanje fajlova *.dll", "UpdatePrograma - Kraj"},
     .ishod = Slučaj::Vlastito,
     .provjera =
         [](ProgramskaMapa& m) {
             EXPECT_EQ(m.nisuNovi(), QStringList());
             EXPECT_EQ(m.t.read(QStringLiteral("Verzije.txt")),
                       m.izvornik.value(m.t.abs(QStringLiteral("Verzije.txt"))));
             EXPECT_TRUE(m.t.log().filter(QStringLiteral("Kopiranje Verzije.txt")).isEmpty());
             EXPECT_FALSE(QDir(m.t.stanje.PutanjaBackup).exists());
         }},
    // The backup folder disappears after it was made: moving an old program into it fails, and the old
    // program is not taken for a missing one and overwritten without a backup.
    {.naziv = "BackupFolderGoneBeforeTheFirstMove",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.model.pratiPromjene([&m](K k) {
                 if (k == K::Panel1 && m.t.model.panel1() == u"Backup programa: A.exe")
                     QDir(m.t.stanje.PutanjaBackup).removeRecursively();
             });
         },
     .odgovori = {Answer::No},
     .rezultat = false,
     .kutije = {{Icon::Question,
                 QStringLiteral(
                     "Nastala je greška u premještanju programa: A.exeNajvjerojatnije se koristi. \r\nPoruka "
                     "o grešci je: Datoteka ili direktorija nije pronađena.\r\n") +
                     Q},
                {Icon::Critical,
                 QStringLiteral(
                     "Nije moguće pročitati direktoriju Backup fajlova: {B}\r\nPoruka o grešci je: Datoteka "
                     "ili direktorija nije pronađena.\r\n") +
                     R2}},
     .logRedom = {"UpdatePrograma - Backup programa: A.exe", kVraćanjeKraj},
     .ishod = Slučaj::Staro},
    {.naziv = "BackupFolderCannotBeCreated",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.fs.failPath(m.t.stanje.PutanjaBackup, kZauzeto, {QStringLiteral("createFolder")});
         },
     .rezultat = false,
     .kutije =
         {{Icon::Exclamation,
           QStringLiteral(
               "Nastala je greška u kreiranju UpdateBackup direktorije! Program za ažuriranje novih verzija "
               "mora prestati sa radom. Kontaktirajte Lumivex!\r\nGreška: {E}")}},
     .logRedom = {"UpdatePrograma- Nastala je greška u kreiranju UpdateBackup direktorije! Program za "
                  "ažuriranje novih "
                  "verzija "
                  "mora prestati sa radom. Kontaktirajte Lumivex!",
                  "Greška: {E}"},
     .ishod = Slučaj::Staro},
    // Old files of an earlier failed installation would be copied over the programs by a restore.
    {.naziv = "BackupFolderCannotBeEmptied",
     .priprema =
         [](ProgramskaMapa& m) {
             m.t.write(m.t.stanje.PutanjaBackup + QStringLiteral("A.exe"), "A.exe od prije dva mjeseca");
             m.t.fs.failPath(m.t.stanje.PutanjaBackup, kZauzeto, {QStringLiteral("removeFiles")});
         },
     .rezultat = false,
     .kutije =
         {{Icon::Exclamation,
           QStringLiteral(
               "Nastala je greška u brisanju sadržaja UpdateBackup direktorije! Program za ažuriranje novih "
               "verzija mora prestati sa radom. Kontaktirajte Lumivex!\r\nGreška: {E}")}},
     .ishod = Slučaj::Staro,
     .provjera =
         [](ProgramskaMapa& m) {
             EXPECT_TRUE(m.t.log().filter(QStringLiteral("Početak")).isEmpty());
             EXPECT_TRUE(m.t.log().filter(QStringLiteral("PokušajVratitiSveNaPočetak")).isEmpty());
         }},
    {.naziv = "HelpFolderMissingIsMade",
     .priprema =
         [](ProgramskaMapa& m) {
             QDir(m.t.stanje.PutanjaHelp).removeRecursively();
             m.stavke[3].staro.clear();
         },
     .rezultat = true,
     .logRedom = {"UpdatePrograma - Backup datoteke: Pomoc.chm",
                  "UpdatePrograma - Kopiranje nove datoteke: Pomoc.chm", "UpdatePrograma - Kraj"},
     .ishod = Slučaj::Novo},
};

class InstallationCase : public Installation, public ::testing::WithParamInterface<Slučaj> {};

TEST_P(InstallationCase, EndsAsTheUserWasTold)
{
    const Slučaj& c = GetParam();
    ČetiriVrste(m);
    c.priprema(m);
    m.objavi();
    for (Answer a : c.odgovori) t.dijalozi.answer({a});

    EXPECT_EQ(UpdatePrograma(m.o), c.rezultat);

    std::vector<std::pair<Icon, QString>> kutije;
    for (const auto& b : t.dijalozi.boxes()) {
        kutije.emplace_back(b.icon, b.text);
        EXPECT_EQ(b.caption, NaslovPrograma);
        EXPECT_EQ(b.buttons, b.icon == Icon::Question ? Buttons::YesNo : Buttons::Ok);
    }
    std::vector<std::pair<Icon, QString>> očekivane;
    for (const auto& [ikona, tekst] : c.kutije) očekivane.emplace_back(ikona, m.u(tekst));
    EXPECT_EQ(kutije.size(), očekivane.size()) << t.dijalozi.texts().join(u'\n').toStdString();
    for (size_t i = 0; i < std::min(kutije.size(), očekivane.size()); ++i) {
        EXPECT_EQ(kutije[i].first, očekivane[i].first) << i;
        EXPECT_EQ(kutije[i].second, očekivane[i].second) << i;
    }

    const QStringList log = t.log();
    qsizetype od = 0;
    for (const QString& redak : c.logRedom) {
        const qsizetype nađen = log.indexOf(m.u(redak), od);
        EXPECT_GE(nađen, 0) << redak.toStdString() << "\n" << log.join(u'\n').toStdString();
        if (nađen >= 0)
            od = nađen + 1;
    }
    const bool vraćeno = !log.filter(QStringLiteral("PokušajVratitiSveNaPočetak")).isEmpty();
    if (vraćeno) {
        EXPECT_EQ(log.last(), kVraćanjeKraj);
    }

    switch (c.ishod) {
        case Slučaj::Novo:
            EXPECT_EQ(m.nisuNovi(), QStringList());
            EXPECT_FALSE(QDir(t.stanje.PutanjaBackup).exists());
            break;
        case Slučaj::Staro:
            EXPECT_EQ(m.promijenjeni(), QStringList());
            break;
        case Slučaj::Vlastito:
            break;
    }
    if (c.provjera)
        c.provjera(m);
}

INSTANTIATE_TEST_SUITE_P(Table, InstallationCase, ::testing::ValuesIn(kSlučajevi),
                         [](const auto& info) { return std::string(info.param.naziv); });

TEST_F(Installation, MixedInstallationLogsEveryStepAndLeavesTheNewState)
{
    Mješovita(m);
    std::vector<std::pair<QString, int>> oznake;
    std::vector<int> obrađenoPrije;  // events handled before each item began
    int obrađeno = 0;
    // The counting events are posted to an object of this test, so that one still queued when the
    // test ends dies with it instead of counting into a later test's memory.
    QObject primatelj;
    t.model.pratiPromjene([&](K k) {
        if (k != K::RedMreže)
            return;
        const RedMreže& red = t.model.redovi()[t.model.vidljiviRed()];
        oznake.emplace_back(red.polja[0], red.slika);
        if (red.slika == 5)
            obrađenoPrije.push_back(obrađeno);
        else
            QMetaObject::invokeMethod(
                &primatelj, [&obrađeno] { ++obrađeno; }, Qt::QueuedConnection);
    });

    QStringList panel1;  // status-bar texts up to the clearing after the control file
    t.model.pratiPromjene([&](K k) {
        if (k == K::Panel1 && (panel1.isEmpty() || !panel1.last().isEmpty()))
            panel1 << t.model.panel1();
    });

    ASSERT_TRUE(UpdatePrograma(m.o)) << t.dijalozi.texts().join(u'\n').toStdString();

    EXPECT_EQ(panel1, QStringList({"Početak ...", "Backup programa: A.exe", "Kopiranje novog programa: A.exe",
                                   "Backup komponente: B.dll", "Kopiranje nove komponente: B.dll",
                                   "Registracija nove komponente: B.dll", "Backup datoteke: Skripta.enc",
                                   "Kopiranje novog programa: Skripta.enc", "Backup datoteke: Pomoc.chm",
                                   "Kopiranje nove datoteke: Pomoc.chm", "Backup programa: Novi.exe",
                                   "Kopiranje novog programa: Novi.exe", ""}));
    EXPECT_TRUE(t.dijalozi.boxes().empty()) << t.dijalozi.texts().join(u'\n').toStdString();
    const QStringList očekivano{
        "UpdatePrograma- početak",
        "UpdatePrograma - Početak",
        "UpdatePrograma - Backup programa: A.exe",
        "UpdatePrograma - Kopiranje novog programa: A.exe",
        "UpdatePrograma - Deregistracija komponente: B.dll",
        "RegSvr32.exe \"{P}B.dll\" /u /s",
        "RegSvr32.exe \"{P}B.dll\" /u /s Uspješno",
        "UpdatePrograma - Backup komponente: B.dll",
        "UpdatePrograma - Kopiranje nove komponente: B.dll",
        "RegSvr32.exe \"{P}B.dll\" /s",
        "RegSvr32.exe \"{P}B.dll\" /s Uspješno",
        "UpdatePrograma - Backup datoteke: Skripta.enc",
        "UpdatePrograma - Kopiranje novog programa: Skripta.enc",
        "UpdatePrograma - Backup datoteke: Pomoc.chm",
        "UpdatePrograma - Kopiranje nove datoteke: Pomoc.chm",
        "UpdatePrograma - Backup programa: Novi.exe",
        "UpdatePrograma - Kopiranje novog programa: Novi.exe",
        "UpdatePrograma - nepoznata ekstenzija: TXT",
        "UpdatePrograma - Backup Verzije.txt",
        "UpdatePrograma - Kopiranje Verzije.txt",
        "UpdatePrograma - Brisanje fajlova *.7z",
        "UpdatePrograma - Greška u brisanju fajlova *.7z - Datoteka ili direktorija nije pronađena.",
        // The new files moved into place, so no mask but the unknown extension's finds a file.
        "UpdatePrograma - Brisanje fajlova *.exe",
        "UpdatePrograma - Greška u brisanju fajlova *.exe - Datoteka ili direktorija nije pronađena.",
        "UpdatePrograma - Brisanje fajlova *.enc",
        "UpdatePrograma - Greška u brisanju fajlova *.enc - Datoteka ili direktorija nije pronađena.",
        "UpdatePrograma - Brisanje fajlova *.chm",
        "UpdatePrograma - Greška u brisanju fajlova *.chm - Datoteka ili direktorija nije pronađena.",
        "UpdatePrograma - Brisanje fajlova *.dll",
        "UpdatePrograma - Greška u brisanju fajlova *.dll - Datoteka ili direktorija nije pronađena.",
        "UpdatePrograma - Brisanje direktorije {B}",
        "UpdatePrograma - Kraj",
    };
    QStringList log = t.log();
    const QStringList doKraja = log.mid(0, log.indexOf(QStringLiteral("UpdatePrograma - Kraj")) + 1);
    QStringList očekivanoU;
    for (const QString& l : očekivano) očekivanoU << m.u(l);
    EXPECT_EQ(doKraja, očekivanoU);
    // The control file was prepared again, last: checked (without a trusted key, only said so) and
    // compared.
    EXPECT_TRUE(log.mid(doKraja.size())
                    .value(0)
                    .endsWith(QStringLiteral(" nije provjereno: nema pouzdanog ključa.")));
    EXPECT_EQ(log.mid(doKraja.size()).value(1), QStringLiteral("NapraviRsŠtoTrebaAžurirati - početak"));

    EXPECT_EQ(m.nisuNovi(), QStringList());
    EXPECT_FALSE(m.t.exists(QStringLiteral("Readme.TXT")));
    EXPECT_EQ(t.read(QStringLiteral("C.exe")), Sadržaj(400, 'c'));
    EXPECT_EQ(t.read(QStringLiteral("Verzije.txt")), t.read(m.mreža() + QStringLiteral("Verzije.txt")));
    EXPECT_FALSE(QDir(t.stanje.PutanjaBackup).exists());
    EXPECT_EQ(QDir(t.stanje.PutanjaUpdate).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Readme.TXT", "Update.log", "Verzije.txt"}));

    const std::vector<std::pair<QString, int>> redom{
        {"A.exe", 5},       {"A.exe", 3},       {"B.dll", 5},      {"B.dll", 3},
        {"Skripta.enc", 5}, {"Skripta.enc", 3}, {"Pomoc.chm", 5},  {"Pomoc.chm", 3},
        {"Novi.exe", 5},    {"Novi.exe", 3},    {"Readme.TXT", 5}, {"Readme.TXT", 3},
    };
    EXPECT_EQ(oznake, redom);
    EXPECT_EQ(obrađenoPrije, std::vector<int>({0, 1, 2, 3, 4, 5}));

    ASSERT_EQ(m.procesi.calls().size(), 2u);
    EXPECT_EQ(m.procesi.calls()[0].arguments,
              QStringList({t.program() + "B.dll", QStringLiteral("/u"), QStringLiteral("/s")}));
    EXPECT_EQ(m.procesi.calls()[1].arguments, QStringList({t.program() + "B.dll", QStringLiteral("/s")}));
}

// A component new to this computer has no old file and so no registration to remove: asking the tool
// to unregister the missing file would fail the installation.
TEST_F(Installation, NewComponentIsRegisteredWithoutUnregisteringAnOldOne)
{
    m.dodaj(QStringLiteral("Novi.dll"), QByteArray(), Sadržaj(500, 'n'));
    m.objavi();
    ASSERT_TRUE(UpdatePrograma(m.o)) << t.dijalozi.texts().join(u'\n').toStdString();
    ASSERT_EQ(m.procesi.calls().size(), 1u);
    EXPECT_EQ(m.procesi.calls()[0].arguments, QStringList({t.program() + "Novi.dll", QStringLiteral("/s")}));
    EXPECT_TRUE(t.log().filter(QStringLiteral("/u /s")).isEmpty());
    EXPECT_EQ(t.read(QStringLiteral("Novi.dll")), Sadržaj(500, 'n'));
}

// The tool's verdict counts: a registration it reports as failed is a failed installation, restored,
// with the tool's reason in the log.
TEST_F(Installation, RegistrationTheToolReportsAsFailedRestoresTheOldComponent)
{
    ČetiriVrste(m);
    m.objavi();
    const QString znak = t.root(QStringLiteral("već-odbijeno"));
    t.write(m.alatPutanja(), "#!/bin/sh\ncase \"$*\" in *' /u '* | *' /u') exit 0 ;; esac\n[ -e '" +
                                 znak.toUtf8() + "' ] && exit 0\n: > '" + znak.toUtf8() +
                                 "'\necho 'DllRegisterServer javlja grešku' >&2\nexit 5\n");
    EXPECT_FALSE(UpdatePrograma(m.o));
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_EQ(t.dijalozi.boxes()[0].text,
              QStringLiteral("Desila se greška u registraciji nove komponente: B.dll\r\nRegistracija nove "
                             "komponente: B.dll\r\n") +
                  R);
    const QStringList log = t.log();
    EXPECT_TRUE(log.contains(m.u(QStringLiteral(
        "RegSvr32.exe \"{P}B.dll\" /s Neuspješno, izlazni status 5: DllRegisterServer javlja grešku"))))
        << log.join(u'\n').toStdString();
    EXPECT_EQ(log.filter(QStringLiteral("/s Uspješno")).size(), 3);  // old one off, new one off, old one on
    EXPECT_EQ(t.read(QStringLiteral("B.dll")), Sadržaj(900, 'b'));
}

// The restore on its own, from a backup folder that holds one file of every kind.
TEST_F(Installation, RestoreCopiesEveryKindBackAndKeepsTheBackup)
{
    const QString b = t.stanje.PutanjaBackup;
    const QMap<QString, QString> kamo{
        {"A.exe", t.stanje.PutanjaPrograma}, {"Verzije.txt", t.stanje.PutanjaPrograma},
        {"B.dll", t.stanje.PutanjaPrograma}, {"S.enc", t.stanje.PutanjaSkripti},
        {"H.chm", t.stanje.PutanjaHelp},     {"Notes.TXT", t.stanje.PutanjaPrograma}};
    for (auto i = kamo.begin(); i != kamo.end(); ++i) {
        t.write(b + i.key(), "staro " + i.key().toUtf8());
        t.write(i.value() + i.key(), "novo " + i.key().toUtf8());
    }

    PokušajVratitiSveNaPočetak(m.o);

    for (auto i = kamo.begin(); i != kamo.end(); ++i) {
        const QByteArray očekivano = (i.key() == u"Notes.TXT" ? "novo " : "staro ") + i.key().toUtf8();
        EXPECT_EQ(t.read(i.value() + i.key()), očekivano) << i.key().toStdString();
        EXPECT_EQ(t.read(b + i.key()), "staro " + i.key().toUtf8()) << i.key().toStdString();
    }
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(t.log(),
              m.u(QStringLiteral("PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:6\n"
                                 "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: A.exe\n"
                                 "RegSvr32.exe \"{P}B.dll\" /u /s\n"
                                 "RegSvr32.exe \"{P}B.dll\" /u /s Uspješno\n"
                                 "PokušajVratitiSveNaPočetak - Kopiranje nazad komponente: B.dll\n"
                                 "RegSvr32.exe \"{P}B.dll\" /s\n"
                                 "RegSvr32.exe \"{P}B.dll\" /s Uspješno\n"
                                 "PokušajVratitiSveNaPočetak - Kopiranje nazad datoteke: H.chm\n"
                                 "PokušajVratitiSveNaPočetak - nepoznata ekstenzija: TXT\n"
                                 "PokušajVratitiSveNaPočetak - Kopiranje nazad datoteke: S.enc\n"
                                 "PokušajVratitiSveNaPočetak - Kopiranje nazad programa: Verzije.txt\n"
                                 "PokušajVratitiSveNaPočetak - Kraj"))
                  .split(u'\n'));
    EXPECT_EQ(t.model.panel1(), QStringLiteral("Kopiranje nazad programa: Verzije.txt"));
}

TEST_F(Installation, RestoreOfAnEmptyBackupOnlyLogsTwoLines)
{
    t.mkdir(t.stanje.PutanjaBackup);
    PokušajVratitiSveNaPočetak(m.o);
    EXPECT_EQ(t.log(), QStringList({"PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:0",
                                    "PokušajVratitiSveNaPočetak - Kraj"}));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

TEST_F(Installation, RestoreThatCannotListTheBackupTellsTheUserAndEnds)
{
    t.write(t.stanje.PutanjaBackup + QStringLiteral("A.exe"), "staro");
    t.fs.failPath(t.stanje.PutanjaBackup, kZauzeto, {QStringLiteral("listFiles")});

    PokušajVratitiSveNaPočetak(m.o);

    const QString poruka =
        m.u(QStringLiteral("Nije moguće pročitati direktoriju Backup fajlova: {B}\r\nPoruka o "
                           "grešci je: {E}"));
    EXPECT_EQ(t.dijalozi.texts(), QStringList{poruka + QStringLiteral("\r\n") + R2});
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Icon::Critical);
    EXPECT_EQ(t.log().last(), kVraćanjeKraj);
}

// Runs the mixed installation from its start with the fault chosen by `kvar`, which is handed the
// fresh program folder; the caller checks the outcome.
using Priprema = void (*)(ProgramskaMapa&);

// The mixed installation of a signed release: the installed control file has its signature beside it
// and the Update folder holds the new one.
void MješovitaSPotpisom(ProgramskaMapa& m)
{
    m.t.write(QStringLiteral("Verzije.txt.minisig"), "potpis instaliranog izdanja");
    m.t.write(m.t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt.minisig"), "potpis novog izdanja");
    Mješovita(m);
}

template <typename Kvar, typename Provjera>
void IzNovaSKvarom(Kvar kvar, Provjera provjera, Priprema priprema = Mješovita)
{
    ProgramskaMapa m;
    priprema(m);
    m.t.fs.clearRecord();
    kvar(m);
    const bool ok = UpdatePrograma(m.o);
    provjera(m, ok);
}

std::vector<FaultyFileSystem::Operation> OperacijeUspjeha(Priprema priprema = Mješovita)
{
    std::vector<FaultyFileSystem::Operation> operacije;
    IzNovaSKvarom([](ProgramskaMapa&) {},
                  [&](ProgramskaMapa& m, bool ok) {
                      EXPECT_TRUE(ok) << m.t.dijalozi.texts().join(u'\n').toStdString();
                      operacije = m.t.fs.operations();
                  },
                  priprema);
    return operacije;
}

std::string Opis(int k, const FaultyFileSystem::Operation& op)
{
    return "fault at operation " + std::to_string(k) + ": " + op.name.toStdString() + " " +
           op.path.toStdString();
}

// Runs the installation once for each of `operacije`, with that operation failing (with `trajan` every
// later one on its path too); `provjera` is handed the folder, the result, the operation and its
// description.
template <typename Provjera>
void SvakiKvar(const std::vector<FaultyFileSystem::Operation>& operacije, const QString& poruka, bool trajan,
               Provjera provjera, Priprema priprema = Mješovita)
{
    for (int k = 1; k <= static_cast<int>(operacije.size()); ++k) {
        const FaultyFileSystem::Operation& op = operacije[k - 1];
        const std::string opis = Opis(k, op);
        IzNovaSKvarom(
            [&](ProgramskaMapa& m) {
                m.t.fs.failOperation(k, poruka, trajan);
                // The user has closed the program each time the installation asks to try again.
                m.t.dijalozi.answerIfAsked({Answer::Yes, Answer::Yes, Answer::Yes});
            },
            [&](ProgramskaMapa& m, bool ok) { provjera(m, ok, op, opis); }, priprema);
    }
}

// Every file operation of a successful installation fails once, in turn: the result is either a whole
// new installation or every old file back as it was.
TEST(InstallationFaults, EachOperationFailingOnceLeavesAllNewOrAllOld)
{
    const auto operacije = OperacijeUspjeha();
    ASSERT_GT(operacije.size(), 30u);
    int novo = 0;
    int staro = 0;
    SvakiKvar(operacije, QStringLiteral("Greška u čitanju ili pisanju na uređaj."), false,
              [&](ProgramskaMapa& m, bool ok, const FaultyFileSystem::Operation&, const std::string& opis) {
                  EXPECT_EQ(m.t.fs.faults(), 1) << opis;
                  if (ok) {
                      ++novo;
                      EXPECT_EQ(m.nisuNovi(), QStringList()) << opis;
                  } else {
                      ++staro;
                      EXPECT_EQ(m.promijenjeni(), QStringList()) << opis;
                      EXPECT_FALSE(m.t.dijalozi.boxes().empty()) << opis;
                  }
              });
    std::cout << "Fault points covered: " << operacije.size() << " (" << novo << " ended installed, " << staro
              << " ended restored)" << std::endl;
    ::testing::Test::RecordProperty("fault_points", static_cast<int>(operacije.size()));
}

// The same sweep with a fault that stays: every later operation on the failing path fails too.
TEST(InstallationFaults, PersistingFaultsEndInATellingRestoreAndLoseNothing)
{
    const auto operacije = OperacijeUspjeha();
    int vraćeno = 0;
    int odbijeno = 0;
    int uspjelo = 0;
    SvakiKvar(
        operacije, QStringLiteral("Pristup je odbijen."), true,
        [&](ProgramskaMapa& m, bool ok, const FaultyFileSystem::Operation& op, const std::string& opis) {
            const QStringList log = m.t.log();
            const bool logPokvaren = op.path == m.o.log.putanja();
            const QString ime = QFileInfo(op.path).fileName();
            const bool stavka = (op.name == u"move" || op.name == u"copyReplacing") &&
                                std::any_of(m.stavke.begin(), m.stavke.end(), [&](const Stavka& s) {
                                    return s.zastavica == 1 && s.ime == ime;
                                });
            if (stavka) {
                EXPECT_FALSE(ok) << opis;
                EXPECT_FALSE(log.filter(QStringLiteral("PokušajVratitiSveNaPočetak - početak")).isEmpty())
                    << opis;
            }
            if (ok) {
                ++uspjelo;
                EXPECT_EQ(m.nisuNovi(), QStringList()) << opis;
                return;
            }
            EXPECT_FALSE(m.t.dijalozi.boxes().empty()) << opis;
            EXPECT_EQ(m.izgubljeni(), QStringList()) << opis;
            // A restore that cannot even list the backup folder has still told the user.
            if (!log.filter(QStringLiteral("PokušajVratitiSveNaPočetak - ")).isEmpty()) {
                ++vraćeno;
                if (!logPokvaren) {
                    EXPECT_EQ(log.last(), kVraćanjeKraj) << opis;
                }
            } else {
                ++odbijeno;
                EXPECT_EQ(m.promijenjeni(), QStringList()) << opis;
            }
        });
    std::cout << "Persisting fault points covered: " << operacije.size() << " (" << vraćeno << " restored, "
              << odbijeno << " refused before any change, " << uspjelo << " installed despite the fault)"
              << std::endl;
    ::testing::Test::RecordProperty("persisting_fault_points", static_cast<int>(operacije.size()));
}

// The sweep over a signed release: a fault anywhere leaves either the new installation with the new
// signature beside its control file, or the old files and the old signature, never a mixture that
// loses the old one.
TEST(InstallationFaults, EachOperationFailingOnceKeepsTheSignatureWithItsRelease)
{
    const auto operacije = OperacijeUspjeha(MješovitaSPotpisom);
    ASSERT_TRUE(std::any_of(operacije.begin(), operacije.end(), [](const FaultyFileSystem::Operation& op) {
        return op.path2.endsWith(QStringLiteral("/program/Verzije.txt.minisig"));
    }));
    SvakiKvar(
        operacije, QStringLiteral("Greška u čitanju ili pisanju na uređaj."), false,
        [&](ProgramskaMapa& m, bool ok, const FaultyFileSystem::Operation&, const std::string& opis) {
            const QByteArray potpis = m.t.read(QStringLiteral("Verzije.txt.minisig"));
            const QByteArray kontrolna = m.t.read(QStringLiteral("Verzije.txt"));
            if (!ok) {
                EXPECT_EQ(m.promijenjeni(), QStringList()) << opis;
                EXPECT_EQ(potpis, "potpis instaliranog izdanja") << opis;
                return;
            }
            EXPECT_EQ(m.nisuNovi(), QStringList()) << opis;
            // The new signature stands only beside the new control file.
            if (potpis == "potpis novog izdanja")
                EXPECT_EQ(kontrolna, m.t.read(m.mreža() + QStringLiteral("Verzije.txt"))) << opis;
            else
                EXPECT_EQ(potpis, "potpis instaliranog izdanja") << opis;
        },
        MješovitaSPotpisom);
}

// A restore puts the old signature back with the old control file.
TEST_F(Installation, RestorePutsTheSignatureBackWithTheControlFile)
{
    t.write(t.stanje.PutanjaBackup + QStringLiteral("Verzije.txt"), "stara kontrolna");
    t.write(t.stanje.PutanjaBackup + QStringLiteral("Verzije.txt.minisig"), "stari potpis");
    t.write(QStringLiteral("Verzije.txt"), "nova kontrolna");
    t.write(QStringLiteral("Verzije.txt.minisig"), "novi potpis");

    PokušajVratitiSveNaPočetak(m.o);

    EXPECT_EQ(t.read(QStringLiteral("Verzije.txt")), "stara kontrolna");
    EXPECT_EQ(t.read(QStringLiteral("Verzije.txt.minisig")), "stari potpis");
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

}  // namespace
