// The installation stopped dead at each of its file operations, then the next start's recovery, and
// the same with a second stop during the recovery: a crash of the program, and a power cut that also
// loses what was not synced. After the last recovery the suite is exactly the old installation (or,
// when the stop came after the journal was committed, exactly the new one), the user has been told of
// an undone installation, and a following installation succeeds.

#include "install/Dnevnik.h"
#include "install/Instalacija.h"
#include "install/Oporavak.h"

#include "core/Usporedba.h"
#include "install/PripremaVerzije.h"
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/ProcessRunner.h"
#include "platform/QtHttpTransfer.h"
#include "support/CrashingFileSystem.h"
#include "support/FakeMachineInfo.h"
#include "support/FakeWindowFinder.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/VirtualClock.h"

#include <gtest/gtest.h>
#include <QSet>
#include <QTemporaryDir>

#include <iostream>

namespace {

using Mode = CrashingFileSystem::Mode;

const QString Disk = QStringLiteral("/disk");
const QString Program = QStringLiteral("/disk/program/");
const QString Update = Program + QStringLiteral("Update/");
const QString Backup = Program + QStringLiteral("UpdateBackup/");
const QString Skripte = Program + QStringLiteral("Skrite za izmjenu baze/");
const QString Help = Program + QStringLiteral("Help/");
const QString Mreža = QStringLiteral("/disk/mreza/");
const QString Komponenta = Program + QStringLiteral("B.dll");

const QString PorukaOporavka = QStringLiteral(
    "Prethodna instalacija novih verzija je bila prekinuta i poništena: vraćene su stare verzije "
    "programa. Nove verzije potrebno je ponovo instalirati.");

// Answers every question No, as a user who wants to stop, and keeps every box.
class Odgovori : public Dialogs {
public:
    struct Kutija {
        Icon icon;
        QString text;
    };
    std::vector<Kutija> kutije;

    Answer show(Icon icon, const QString&, const QString& text, Buttons buttons) override
    {
        kutije.push_back({icon, text});
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    QString chooseFile(const FileRequest&) override { return QString(); }
};

// The machine outside the files: the registration of components, which lives in the system and
// survives a crash. A killed program starts no registration tool.
struct Stroj {
    CrashingFileSystem disk;
    QSet<QString> registrirane;
};

class RegistracijaKomponenti : public ProcessRunner {
public:
    explicit RegistracijaKomponenti(Stroj& s) : s_(s) {}

    Result run(const QString&, const QStringList&) override { return {}; }
    Result startDetached(const QString&, const QStringList& argumenti) override
    {
        if (s_.disk.crashed() || argumenti.isEmpty())
            return {};
        if (argumenti.contains(QStringLiteral("/u")))
            s_.registrirane.remove(argumenti[0]);
        else
            s_.registrirane.insert(argumenti[0]);
        Result r;
        r.started = true;
        r.id = 4242;
        return r;
    }
    // The registration waits for the tool, which succeeds unless the program was killed first.
    Result runCaptured(const QString& program, const QStringList& argumenti, int) override
    {
        Result r = startDetached(program, argumenti);
        r.finished = r.started;
        r.exitCode = r.started ? 0 : -1;
        return r;
    }
    QString findOnPath(const QString& name) override { return QStringLiteral("/usr/bin/") + name; }

private:
    Stroj& s_;
};

struct Stavka {
    QString ime;
    QString mapa;
    QByteArray staro;  // empty: no old file
    QByteArray novo;
};

// An exe, a dll, a script, a help file, a new program with no old file and an unknown extension.
const std::vector<Stavka>& Stavke()
{
    static const std::vector<Stavka> stavke{
        {QStringLiteral("A.exe"), Program, Sadržaj(1000, 'a'), Sadržaj(1100, 'A')},
        {QStringLiteral("B.dll"), Program, Sadržaj(900, 'b'), Sadržaj(950, 'B')},
        {QStringLiteral("Skripta.enc"), Skripte, Sadržaj(300, 's'), Sadržaj(310, 'S')},
        {QStringLiteral("Pomoc.chm"), Help, Sadržaj(700, 'h'), Sadržaj(720, 'H')},
        {QStringLiteral("Novi.exe"), Program, QByteArray(), Sadržaj(500, 'N')},
        {QStringLiteral("Readme.TXT"), Program, QByteArray(), "Pročitaj me"},
    };
    return stavke;
}

QByteArray KontrolnaDatoteka(bool nova)
{
    QByteArray tekst;
    for (const Stavka& s : Stavke()) {
        const QByteArray& bajtovi = nova ? s.novo : s.staro;
        if (!bajtovi.isEmpty())
            tekst += s.ime.toUtf8() + (nova ? ";20;2;0;" : ";20;1;0;") + QByteArray::number(bajtovi.size()) +
                     ';' + QByteArray::number(bajtovi.size()) + ";\r\n";
    }
    return tekst;
}

// What a fetch leaves in the Update folder: every new file and the new control file, as the unpacker
// wrote them, never synced.
void Dohvati(CrashingFileSystem& disk)
{
    for (const Stavka& s : Stavke()) disk.putUnsynced(Update + s.ime, s.novo);
    disk.putUnsynced(Update + QStringLiteral("Verzije.txt"), KontrolnaDatoteka(true));
}

Stroj StaraInstalacija()
{
    Stroj s;
    for (const Stavka& st : Stavke())
        if (!st.staro.isEmpty())
            s.disk.put(st.mapa + st.ime, st.staro);
    s.disk.put(Program + QStringLiteral("Verzije.txt"), KontrolnaDatoteka(false));
    s.disk.put(Mreža + QStringLiteral("Verzije.txt"), KontrolnaDatoteka(true));
    s.disk.makeFolders(Update);
    s.registrirane.insert(Komponenta);
    Dohvati(s.disk);
    return s;
}

// The installed files by path: the program folder with its script and help folders, without the
// Update folder, whose fetched files and log are no part of the installation.
QMap<QString, QByteArray> Instalirano(const CrashingFileSystem& disk)
{
    QMap<QString, QByteArray> datoteke = disk.filesUnder(Program);
    for (auto it = datoteke.begin(); it != datoteke.end();)
        it = it.key().startsWith(Update) ? datoteke.erase(it) : std::next(it);
    return datoteke;
}

QMap<QString, QByteArray> Očekivano(bool nova)
{
    QMap<QString, QByteArray> datoteke;
    for (const Stavka& s : Stavke()) {
        const bool instaliraSe = s.ime.right(3) != u"TXT";
        const QByteArray& bajtovi = nova && instaliraSe ? s.novo : s.staro;
        if (!bajtovi.isEmpty())
            datoteke.insert(s.mapa + s.ime, bajtovi);
    }
    datoteke.insert(Program + QStringLiteral("Verzije.txt"), KontrolnaDatoteka(nova));
    return datoteke;
}

// The ports of one start of the program on the machine.
class Pokretanje {
public:
    Pokretanje(Stroj& s, QTemporaryDir& config)
        : procesi(s),
          postavke(config.path() + QStringLiteral("/Lumivex.ini")),
          registar(config.path() + QStringLiteral("/registry.ini")),
          o{s.disk, postavke, sat, računalo, dijalozi, procesi, http, prozori, registar, model, stanje}
    {
        računalo.folder = Program.chopped(1);
        model.postaviOptLokacija(1);
        model.postaviTxtLokacija(0, Mreža);
    }

    // The update list as the check left it: every item marked, every one in the grid.
    bool Instaliraj()
    {
        PostaviPutanje(o);
        QVector<RedMreže> redovi;
        int i = 0;
        for (const Stavka& s : Stavke()) {
            Zapis& z = stanje.NoveVerzije[i++];
            const QString veličina = QString::number(s.novo.size());
            z.polja = {s.ime,   QStringLiteral("20"), QStringLiteral("2"), QStringLiteral("0"), veličina,
                       veličina};
            z.zastavica = 1;
            RedMreže red;
            red.polja = z.polja;
            redovi.push_back(red);
        }
        model.postaviMrežu(redovi, 0, 0);
        return UpdatePrograma(o);
    }

    int Poruka() const
    {
        int n = 0;
        for (const auto& k : dijalozi.kutije)
            n += k.icon == Dialogs::Icon::Information && k.text == PorukaOporavka;
        return n;
    }

    RegistracijaKomponenti procesi;
    IniSettingsStore postavke;
    IniRegistry registar;
    VirtualClock sat;
    FakeMachineInfo računalo;
    Odgovori dijalozi;
    QtHttpTransfer http;
    FakeWindowFinder prozori;
    ProzorModel model;
    Stanje stanje;
    Okruzenje o;
};

enum class Dnevnik { Nema, Nepotvrđen, Potvrđen };

Dnevnik StanjeDnevnika(const CrashingFileSystem& disk)
{
    if (!disk.has(Backup + ImeDnevnika))
        return Dnevnik::Nema;
    return disk.contents(Backup + ImeDnevnika).contains("POTVRĐENO") ? Dnevnik::Potvrđen
                                                                     : Dnevnik::Nepotvrđen;
}

class Sweep : public ::testing::TestWithParam<Mode> {
protected:
    QTemporaryDir config;

    // Checks the machine after the last recovery; `dnevnik` is what that recovery found, `rekla`
    // how many times the user was told of an undone installation. Empty when all holds.
    std::string Provjeri(Stroj& s, Dnevnik dnevnik, int rekla)
    {
        const QMap<QString, QByteArray> sada = Instalirano(s.disk);
        const bool staro = sada == Očekivano(false);
        const bool novo = sada == Očekivano(true);
        std::string greška;
        if (!staro && !novo) {
            greška += " neither the old nor the new installation:";
            for (auto it = sada.cbegin(); it != sada.cend(); ++it)
                if (Očekivano(false).value(it.key()) != it.value())
                    greška += " " + it.key().toStdString();
            for (const QString& p : Očekivano(false).keys())
                if (!sada.contains(p))
                    greška += " missing " + p.toStdString();
        }
        if (dnevnik == Dnevnik::Nepotvrđen && !staro)
            greška += " an uncommitted journal did not end in the old installation;";
        if (dnevnik == Dnevnik::Potvrđen && !novo)
            greška += " a committed journal did not end in the new installation;";
        if ((dnevnik == Dnevnik::Nepotvrđen) != (rekla > 0))
            greška += " the user was told " + std::to_string(rekla) + " times;";
        if (!s.registrirane.contains(Komponenta))
            greška += " the component is not registered;";
        if (s.disk.has(Backup + ImeDnevnika) || !s.disk.filesUnder(Backup).isEmpty())
            greška += " the backup folder is left;";
        return greška;
    }

    // A fresh fetch and a following installation on a copy of the machine.
    std::string Slijedi(const Stroj& prije)
    {
        Stroj s = prije;
        Dohvati(s.disk);
        Pokretanje p(s, config);
        if (!OporaviPrekinutuInstalaciju(p.o))
            return " the start before the following installation failed;";
        if (!p.Instaliraj())
            return " the following installation failed;";
        if (Instalirano(s.disk) != Očekivano(true) || !s.registrirane.contains(Komponenta))
            return " the following installation left no whole new installation;";
        return {};
    }
};

TEST_P(Sweep, EveryStopOfTheInstallationAndOfItsRecoveryEndsInAWholeInstallation)
{
    const Mode način = GetParam();
    const Stroj početak = StaraInstalacija();

    int operacija = 0;
    {
        Stroj s = početak;
        Pokretanje p(s, config);
        ASSERT_TRUE(p.Instaliraj());
        operacija = s.disk.operations();
        ASSERT_EQ(Instalirano(s.disk), Očekivano(true));
        ASSERT_TRUE(p.dijalozi.kutije.empty()) << p.dijalozi.kutije[0].text.toStdString();
    }
    ASSERT_GT(operacija, 40);

    int točke = 0;
    int točkeOporavka = 0;
    int vraćeno = 0;
    int novo = 0;
    for (int k = 0; k < operacija; ++k) {
        Stroj s = početak;
        {
            Pokretanje p(s, config);
            s.disk.crashAfter(k, način);
            p.Instaliraj();
            ASSERT_TRUE(s.disk.crashed()) << k;
        }
        const std::string gdje = "stop after operation " + std::to_string(k) + " (" +
                                 (k > 0 ? s.disk.record().value(k - 1).toStdString() : std::string("none")) +
                                 ")";
        s.disk.restart();
        const Stroj nakonPada = s;
        const Dnevnik dnevnik = StanjeDnevnika(s.disk);

        int operacijaOporavka = 0;
        {
            Pokretanje p(s, config);
            EXPECT_TRUE(OporaviPrekinutuInstalaciju(p.o)) << gdje;
            operacijaOporavka = s.disk.operations();
            EXPECT_EQ(Provjeri(s, dnevnik, p.Poruka()), "") << gdje;
            EXPECT_EQ(Slijedi(s), "") << gdje;
        }
        ++točke;
        ++(Instalirano(s.disk) == Očekivano(true) ? novo : vraćeno);

        for (int j = 0; j < operacijaOporavka; ++j) {
            Stroj r = nakonPada;
            {
                Pokretanje p(r, config);
                r.disk.crashAfter(j, način);
                OporaviPrekinutuInstalaciju(p.o);
            }
            const std::string gdje2 =
                gdje + ", then after recovery operation " + std::to_string(j) + " (" +
                (j > 0 ? r.disk.record().value(j - 1).toStdString() : std::string("none")) + ")";
            r.disk.restart();
            const Dnevnik drugi = StanjeDnevnika(r.disk);
            Pokretanje p(r, config);
            EXPECT_TRUE(OporaviPrekinutuInstalaciju(p.o)) << gdje2;
            EXPECT_EQ(Provjeri(r, drugi, p.Poruka()), "") << gdje2;
            EXPECT_EQ(Instalirano(r.disk), Instalirano(s.disk)) << gdje2 << ": not what one recovery gives";
            EXPECT_EQ(Slijedi(r), "") << gdje2;
            ++točkeOporavka;
        }
    }
    std::cout << (način == Mode::Crash ? "Crash" : "Power-cut") << " sweep: " << točke
              << " stops of the installation (" << vraćeno << " undone, " << novo
              << " finished after the commit), " << točkeOporavka << " second stops during the recovery"
              << std::endl;
    ::testing::Test::RecordProperty("installation_points", točke);
    ::testing::Test::RecordProperty("recovery_points", točkeOporavka);
}

// Where the whole file system cannot be synced (a user's program on Windows, or under Wine), each file
// and folder must be synced by itself: every stop of the installation still ends in a whole one.
TEST_P(Sweep, EveryStopEndsInAWholeInstallationWhenTheFileSystemIsSyncedFileByFile)
{
    const Mode način = GetParam();
    Stroj početak = StaraInstalacija();
    početak.disk.refuseFileSystemSync();

    int operacija = 0;
    {
        Stroj s = početak;
        Pokretanje p(s, config);
        ASSERT_TRUE(p.Instaliraj());
        operacija = s.disk.operations();
        ASSERT_TRUE(s.disk.record().filter(QStringLiteral("syncFile ") + Update).size() > 0);
    }
    for (int k = 0; k < operacija; ++k) {
        Stroj s = početak;
        {
            Pokretanje p(s, config);
            s.disk.crashAfter(k, način);
            p.Instaliraj();
        }
        const std::string gdje = "stop after operation " + std::to_string(k) + " (" +
                                 (k > 0 ? s.disk.record().value(k - 1).toStdString() : std::string("none")) +
                                 ")";
        s.disk.restart();
        const Dnevnik dnevnik = StanjeDnevnika(s.disk);
        Pokretanje p(s, config);
        EXPECT_TRUE(OporaviPrekinutuInstalaciju(p.o)) << gdje;
        EXPECT_EQ(Provjeri(s, dnevnik, p.Poruka()), "") << gdje;
        EXPECT_EQ(Slijedi(s), "") << gdje;
    }
}

// Once the user has read that the new programs are installed, a power cut must not take them back,
// on either way of syncing.
TEST_P(Sweep, APowerCutAfterTheReportedSuccessKeepsTheNewInstallation)
{
    for (const bool datotekuPoDatoteku : {false, true}) {
        SCOPED_TRACE(datotekuPoDatoteku ? "file by file" : "whole file system");
        Stroj s = StaraInstalacija();
        if (datotekuPoDatoteku)
            s.disk.refuseFileSystemSync();
        {
            Pokretanje p(s, config);
            ASSERT_TRUE(p.Instaliraj());
        }
        s.disk.crashAfter(0, GetParam());
        s.disk.fileExists(Program);
        s.disk.restart();
        Pokretanje p(s, config);
        EXPECT_TRUE(OporaviPrekinutuInstalaciju(p.o));
        EXPECT_EQ(Instalirano(s.disk), Očekivano(true));
        EXPECT_EQ(p.Poruka(), 0);
        EXPECT_TRUE(s.registrirane.contains(Komponenta));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, Sweep, ::testing::Values(Mode::Crash, Mode::PowerCut),
                         [](const auto& info) { return info.param == Mode::Crash ? "Crash" : "PowerCut"; });

}  // namespace
