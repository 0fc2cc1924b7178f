#include "transfer/DownInet.h"

#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QRandomGenerator>

namespace {

using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using Icon = Dialogs::Icon;

const QString kAkcije = QStringLiteral("\r\nPrijašnja akcija");
const QByteArray kDrugiPosluzitelj = "drugi poslužitelj";

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(21);
    for (char& c : bytes) c = static_cast<char>(generator.bounded(256));
    return bytes;
}

// Two download servers on ports of their own, and a program folder whose Update folder receives
// the files.
class DownInetTest : public ::testing::Test {
protected:
    DownInetTest()
    {
        t.stanje.PrimarniServer = primarni.baseUrl();
        t.stanje.SekundarniServer = sekundarni.baseUrl();
        t.stanje.PorukeAkcija = kAkcije;
    }

    QString cilj(const QString& ime) const { return t.stanje.PutanjaUpdate + ime; }

    // Everything in the Update folder, hidden files included, so a left-over temporary file shows.
    QStringList updateFolder() const
    {
        return QDir(t.stanje.PutanjaUpdate).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    TestOkruzenje t;
    HttpServer primarni{t.root(QStringLiteral("primarni"))};
    HttpServer sekundarni{t.root(QStringLiteral("sekundarni"))};
};

// How the chosen server answers.
enum class Reply { File, Empty, NotFound, ClosedHalfWay, Unreachable };
// What the user is shown afterwards.
enum class Outcome { Stored, NothingReceived, FetchError, WriteError };

struct DownloadCase {
    const char* name{};
    int option{};  // optLokacija
    QString file{};
    Reply reply{};
    QByteArray body{};      // the file on the server, the error page, or the part sent before closing
    QByteArray existing{};  // the target file before the call; none when null
    QStringList failing{};  // writer operations on the target that fail
    Outcome outcome{};
    QString error{};  // the fetch error's description
};

void PrintTo(const DownloadCase& c, std::ostream* os)
{
    *os << c.name;
}

// Room for every body of the table: the ceilings have a table of their own.
const HttpTransfer::Limits kProstraneGranice(64 * 1024 * 1024);

const QString kZauzeto = QStringLiteral("Datoteku koristi drugi program.");

const DownloadCase kDownloadCases[] = {
    {.name = "option_0_primary",
     .option = 0,
     .file = "Verzije.txt",
     .reply = Reply::File,
     .body = "V20;primarni",
     .outcome = Outcome::Stored},
    {.name = "option_1_network_folder_primary",
     .option = 1,
     .file = "Verzije.txt",
     .reply = Reply::File,
     .body = "V20;primarni",
     .outcome = Outcome::Stored},
    {.name = "option_2_secondary",
     .option = 2,
     .file = "Verzije.txt",
     .reply = Reply::File,
     .body = "V20;sekundarni",
     .outcome = Outcome::Stored},
    {.name = "blank_in_name",
     .option = 0,
     .file = "Novi Program.7z",
     .reply = Reply::File,
     .body = "7z s razmakom",
     .outcome = Outcome::Stored},
    {.name = "hash_and_percent_in_name",
     .option = 2,
     .file = "Baza#2 %41.7z",
     .reply = Reply::File,
     .body = "7z",
     .outcome = Outcome::Stored},
    {.name = "empty_body",
     .option = 0,
     .file = "Prazno.7z",
     .reply = Reply::Empty,
     .body = "",
     .outcome = Outcome::NothingReceived},
    {.name = "empty_body_keeps_old_file",
     .option = 0,
     .file = "Prazno.7z",
     .reply = Reply::Empty,
     .body = "",
     .existing = "staro",
     .outcome = Outcome::NothingReceived},
    {.name = "one_byte",
     .option = 0,
     .file = "Jedan.7z",
     .reply = Reply::File,
     .body = "x",
     .outcome = Outcome::Stored},
    {.name = "404_page_stored",
     .option = 0,
     .file = "Nema.7z",
     .reply = Reply::NotFound,
     .body = "<html>404 Not Found</html>",
     .outcome = Outcome::Stored},
    {.name = "longer_file_replaced",
     .option = 0,
     .file = "Program.7z",
     .reply = Reply::File,
     .body = "novo",
     .existing = QByteArray(4096, 's'),
     .outcome = Outcome::Stored},
    {.name = "large_file",
     .option = 2,
     .file = "Veliki.7z",
     .reply = Reply::File,
     .body = randomBytes(3 * 1024 * 1024 + 7),
     .existing = "staro",
     .outcome = Outcome::Stored},
    {.name = "file_cannot_be_created",
     .option = 0,
     .file = "Program.7z",
     .reply = Reply::File,
     .body = "novo",
     .existing = "staro",
     .failing = {"replaceFile"},
     .outcome = Outcome::WriteError},
    {.name = "write_fails",
     .option = 0,
     .file = "Program.7z",
     .reply = Reply::File,
     .body = "novo",
     .existing = "staro",
     .failing = {"write"},
     .outcome = Outcome::WriteError},
    {.name = "write_fails_no_old_file",
     .option = 0,
     .file = "Program.7z",
     .reply = Reply::File,
     .body = "novo",
     .failing = {"write"},
     .outcome = Outcome::WriteError},
    {.name = "commit_fails",
     .option = 2,
     .file = "Program.7z",
     .reply = Reply::File,
     .body = "novo",
     .existing = "staro",
     .failing = {"commit"},
     .outcome = Outcome::WriteError},
    {.name = "closed_half_way",
     .option = 0,
     .file = "Program.7z",
     .reply = Reply::ClosedHalfWay,
     .body = QByteArray(256 * 1024, 'h'),
     .existing = "staro",
     .outcome = Outcome::FetchError,
     .error = QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa.")},
    {.name = "closed_half_way_no_old_file",
     .option = 2,
     .file = "Program.7z",
     .reply = Reply::ClosedHalfWay,
     .body = "pola",
     .outcome = Outcome::FetchError,
     .error = QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa.")},
    {.name = "unreachable_server",
     .option = 0,
     .file = "Verzije.txt",
     .reply = Reply::Unreachable,
     .existing = "staro",
     .outcome = Outcome::FetchError,
     .error = QStringLiteral("Poslužitelj je odbio vezu.")},
};

class DownInetCases : public DownInetTest, public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(DownInetCases, ShowsLogsAndStoresAsExpected)
{
    const DownloadCase& c = GetParam();
    HttpServer& chosen = c.option == 2 ? sekundarni : primarni;
    HttpServer& other = c.option == 2 ? primarni : sekundarni;
    t.write(other.folder() + u'/' + c.file, kDrugiPosluzitelj);
    switch (c.reply) {
        case Reply::File:
            t.write(chosen.folder() + u'/' + c.file, c.body);
            break;
        case Reply::Empty:
            chosen.reply(c.file, 200, "");
            break;
        case Reply::NotFound:
            chosen.reply(c.file, 404, c.body);
            break;
        case Reply::ClosedHalfWay:
            chosen.replyBroken(c.file, c.body, 2 * c.body.size());
            break;
        case Reply::Unreachable:
            t.stanje.PrimarniServer = HttpServer::unreachableBaseUrl();
            break;
    }
    if (!c.existing.isNull())
        t.write(cilj(c.file), c.existing);
    for (const QString& operation : c.failing) t.fs.failPath(cilj(c.file), kZauzeto, {operation});
    t.model.postaviOptLokacija(c.option);
    const QString bazna = c.option == 2 ? t.stanje.SekundarniServer : t.stanje.PrimarniServer;

    const Ishod ishod = DownInet(t.o, c.file, t.stanje.PutanjaUpdate, kProstraneGranice);
    const bool rezultat = ishod.uspjeh;

    const QString pocetak = QStringLiteral("Početak Download: ") + bazna + c.file;
    const QString greskaPisanja =
        QStringLiteral("DownInet: Greška u downloadu datoteke: ") + c.file + u' ' + kZauzeto;
    const auto& boxes = t.dijalozi.boxes();
    switch (c.outcome) {
        case Outcome::Stored:
            EXPECT_TRUE(rezultat);
            EXPECT_TRUE(t.read(cilj(c.file)) == c.body);
            EXPECT_THAT(t.log(), ElementsAre(pocetak, QStringLiteral("Uspješan download: ") + c.file));
            EXPECT_THAT(boxes, IsEmpty());
            EXPECT_EQ(ishod.poruka, QString());
            break;
        case Outcome::NothingReceived:
            EXPECT_FALSE(rezultat);
            EXPECT_THAT(
                t.log(),
                ElementsAre(pocetak, QStringLiteral("Ništa nije primljeno (dužina 0). Download: ") + c.file));
            EXPECT_THAT(boxes, IsEmpty());
            EXPECT_EQ(ishod.poruka, QString());
            break;
        case Outcome::FetchError:
            EXPECT_FALSE(rezultat);
            EXPECT_THAT(t.log(),
                        ElementsAre(pocetak, QStringLiteral("Greška: Download: ") + c.file + u' ' + c.error));
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].icon, Icon::None);
            EXPECT_EQ(boxes[0].text, QStringLiteral("Greška: ") + c.error);
            EXPECT_EQ(ishod.poruka, c.error);
            break;
        case Outcome::WriteError:
            EXPECT_FALSE(rezultat);
            EXPECT_THAT(t.log(), ElementsAre(pocetak, greskaPisanja));
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].icon, Icon::Exclamation);
            EXPECT_EQ(boxes[0].text, greskaPisanja);
            EXPECT_EQ(ishod.poruka, greskaPisanja);
            break;
    }
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, QStringLiteral("LumivexLiveUpdate20"));
        EXPECT_EQ(box.buttons, Dialogs::Buttons::Ok);
    }

    // A failed call leaves the old file exactly as it was, or no file, and never a temporary one.
    if (c.outcome != Outcome::Stored) {
        EXPECT_EQ(t.exists(cilj(c.file)), !c.existing.isNull());
        EXPECT_EQ(t.read(cilj(c.file)), c.existing);
    }
    QStringList expectedFiles{QStringLiteral("Update.log")};
    if (c.outcome == Outcome::Stored || !c.existing.isNull())
        expectedFiles << c.file;
    expectedFiles.sort();
    EXPECT_EQ(updateFolder(), expectedFiles);

    if (c.outcome == Outcome::WriteError) {
        EXPECT_EQ(t.model.panel1(), QStringLiteral("Download: ") + c.file);
        EXPECT_EQ(t.model.panel2(), QStringLiteral("Odspojeno"));
    } else {
        EXPECT_EQ(t.model.panel1(), QString());
        EXPECT_EQ(t.model.panel2(), QString());
    }
    EXPECT_EQ(t.stanje.PorukeAkcija, kAkcije);

    const QString path = QStringLiteral("/download/Verzija20/") + c.file;
    if (c.reply == Reply::ClosedHalfWay) {
        // the network library may ask once more after a broken connection; the outcome is the same
        EXPECT_THAT(chosen.requests(), AllOf(Not(IsEmpty()), Each(path)));
    } else if (c.reply != Reply::Unreachable) {
        EXPECT_THAT(chosen.requests(), ElementsAre(path));
    }
    EXPECT_THAT(other.requests(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(, DownInetCases, ::testing::ValuesIn(kDownloadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownInetTest, LargeFileGoesToDiskPieceByPieceAndReplacesTargetOnce)
{
    const QByteArray body = randomBytes(8 * 1024 * 1024);
    t.write(primarni.folder() + QStringLiteral("/Veliki.7z"), body);

    ASSERT_TRUE(DownInet(t.o, QStringLiteral("Veliki.7z"), t.stanje.PutanjaUpdate,
                         HttpTransfer::Limits(body.size())));

    int writes = 0;
    int commits = 0;
    for (const auto& op : t.fs.operations()) {
        writes += op.name == QStringLiteral("write");
        commits += op.name == QStringLiteral("commit");
    }
    EXPECT_GT(writes, 1);
    EXPECT_EQ(commits, 1);
    EXPECT_TRUE(t.read(cilj(QStringLiteral("Veliki.7z"))) == body);
}

TEST_F(DownInetTest, MissingTargetFolderTakesTheWriteFailurePath)
{
    t.write(primarni.folder() + QStringLiteral("/Verzije.txt"), "V20");
    const QString folder = t.program() + QStringLiteral("Nema/");

    const Ishod ishod =
        DownInet(t.o, QStringLiteral("Verzije.txt"), folder, HttpTransfer::Limits(NajvećaKontrolnaDatoteka));
    EXPECT_FALSE(ishod.uspjeh);

    const QString poruka = QStringLiteral(
        "DownInet: Greška u downloadu datoteke: Verzije.txt Datoteka ili direktorija nije pronađena.");
    EXPECT_THAT(t.dijalozi.texts(), ElementsAre(poruka));
    EXPECT_EQ(t.log().value(1), poruka);
    EXPECT_EQ(ishod.poruka, poruka);
    EXPECT_EQ(t.model.panel1(), QStringLiteral("Download: Verzije.txt"));
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(DownInetTest, StatusBarFollowsTheTransferAndIsClearedAtTheEnd)
{
    t.write(primarni.folder() + QStringLiteral("/Verzije.txt"), "V20");
    QStringList panel1;
    QStringList panel2;
    t.model.pratiPromjene([&](ProzorModel::Kontrola k) {
        if (k == ProzorModel::Kontrola::Panel1)
            panel1 << t.model.panel1();
        if (k == ProzorModel::Kontrola::Panel2)
            panel2 << t.model.panel2();
    });

    ASSERT_TRUE(DownInet(t.o, QStringLiteral("Verzije.txt"), t.stanje.PutanjaUpdate,
                         HttpTransfer::Limits(NajvećaKontrolnaDatoteka)));

    EXPECT_THAT(panel1, ElementsAre(QStringLiteral("Download: Verzije.txt"), QString()));
    ASSERT_GE(panel2.size(), 5);
    EXPECT_EQ(panel2.front(), QStringLiteral("Spajanje..."));
    EXPECT_TRUE(panel2.contains(QStringLiteral("Odgovor primljen/Prijenos u toku")));
    EXPECT_THAT(panel2.mid(panel2.size() - 3), ElementsAre(QStringLiteral("Odgovor je uspješno prihvaćen"),
                                                           QStringLiteral("Odspojeno"), QString()));
    // the text kept for codes without one is the handler's, not cleared with the panel
    EXPECT_EQ(t.stanje.ZadnjeStanjePrijenosa, QStringLiteral("Odspojeno"));
}

TEST(Inet1StateChanged, EveryCodeShowsItsText)
{
    const QString texts[] = {
        QStringLiteral("Nema tekućeg stanja"),
        QStringLiteral("Udaljena adresa je u toku provjere"),
        QStringLiteral("Dana udaljena adresa je prihvaćena"),
        QStringLiteral("Spajanje..."),
        QStringLiteral("Spojeno"),
        QStringLiteral("Podaci su u toku zahtjeva"),
        QStringLiteral("Zahtjev za podacima je poslan"),
        QStringLiteral("Odgovor je u toku prihvaćanja"),
        QStringLiteral("Odgovor primljen/Prijenos u toku"),
        QStringLiteral("Odspajanje..."),
        QStringLiteral("Odspojeno"),
        QStringLiteral("Nastala greška"),
        QStringLiteral("Odgovor je uspješno prihvaćen"),
    };
    TestOkruzenje t;
    for (int code = 0; code <= 12; ++code) {
        Inet1_StateChanged(t.o, code);
        EXPECT_EQ(t.model.panel2(), texts[code]) << code;
    }
}

TEST(Inet1StateChanged, UnknownCodeShowsPreviousTextAndNothingElseChanges)
{
    TestOkruzenje t;
    t.stanje.PorukeAkcija = kAkcije;
    t.model.postaviPanel1(QStringLiteral("Download: A.7z"));
    QStringList shown;
    t.model.pratiPromjene([&](ProzorModel::Kontrola k) {
        if (k == ProzorModel::Kontrola::Panel2)
            shown << t.model.panel2();
    });

    for (int code : {3, 9, 10, 13, -1}) Inet1_StateChanged(t.o, code);

    EXPECT_THAT(shown, ElementsAre(QStringLiteral("Spajanje..."), QStringLiteral("Odspajanje..."),
                                   QStringLiteral("Odspojeno"), QStringLiteral("Odspojeno"),
                                   QStringLiteral("Odspojeno")));
    EXPECT_EQ(t.model.panel1(), QStringLiteral("Download: A.7z"));
    EXPECT_EQ(t.stanje.PorukeAkcija, kAkcije);
    EXPECT_EQ(t.model.txtPor(), QString());
}

}  // namespace
