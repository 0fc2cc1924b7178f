#include "core/Obavijesti.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QLocale>

namespace {

using Icon = Dialogs::Icon;

class Log : public ::testing::Test {
protected:
    TestOkruzenje t;
    QString raw() const { return QString::fromLocal8Bit(t.read(QStringLiteral("Update/Update.log"))); }
};

TEST_F(Log, LineIsDateBlankTimeBlankTextCrLf)
{
    t.sat.set(QDateTime(QDate(2026, 3, 7), QTime(9, 5, 4)));
    t.o.log.piši(QStringLiteral("Unzipaj- Kraj Program.exe"));
    t.o.log.piši(QString());

    const QLocale locale;
    const QString date = locale.toString(QDate(2026, 3, 7), QLocale::ShortFormat);
    EXPECT_EQ(raw(), date + QStringLiteral(" 09:05:04 Unzipaj- Kraj Program.exe\r\n") + date +
                         QStringLiteral(" 09:05:04 \r\n"));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

TEST_F(Log, MultiLineTextAndOrderWithinOneSecond)
{
    t.o.log.piši(QStringLiteral("prvi\r\ndrugi red"));
    t.o.log.piši(QStringLiteral("treći"));

    const QStringList lines = raw().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" prvi")));
    EXPECT_EQ(lines[1], QStringLiteral("drugi red"));  // only the first line carries the date and time
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" treći")));
    EXPECT_EQ(lines[3], QString());
}

TEST_F(Log, MissingUpdateFolderShowsBoxWithNumberAndDescriptionAndGoesOn)
{
    QDir(t.program() + QStringLiteral("Update")).removeRecursively();
    t.o.log.piši(QStringLiteral("izgubljeni red"));
    t.o.log.piši(QStringLiteral("još jedan"));

    ASSERT_EQ(t.dijalozi.boxes().size(), 2u);
    const auto& box = t.dijalozi.boxes()[0];
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.caption, QStringLiteral("LumivexLiveUpdate20"));
    EXPECT_EQ(box.text, QStringLiteral("Desila se greška: u upisu u LOG. Greška: 2 ") +
                            QStringLiteral("Datoteka ili direktorija nije pronađena."));
    EXPECT_FALSE(t.exists(QStringLiteral("Update/Update.log")));
}

TEST_F(Log, FailedWriteShowsBoxWithoutNumber)
{
    t.fs.failPath(t.program() + QStringLiteral("Update/Update.log"),
                  QStringLiteral("Na disku nema dovoljno mjesta."), {}, FsResult::Stage::Transfer);
    t.o.log.piši(QStringLiteral("x"));
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].text,
              QStringLiteral("Desila se greška: u upisu u LOG. Greška: Na disku nema dovoljno mjesta."));
}

// The copy receives every line's text without its date, and a prefixed view writes before each line.
TEST_F(Log, CopyAndPrefixedViewSeeTheSameLines)
{
    QStringList copied;
    t.o.log.kopirajU([&](const QString& tekst) { copied << tekst; });
    const Zapisnik::SPrefiksom unzip = t.o.log.sPrefiksom(QStringLiteral("Unzipaj- "));
    unzip(QStringLiteral("Kraj Program.exe"));
    t.o.log.piši(QStringLiteral("bez prefiksa"));

    EXPECT_EQ(copied,
              (QStringList{QStringLiteral("Unzipaj- Kraj Program.exe"), QStringLiteral("bez prefiksa")}));
    EXPECT_EQ(t.log(), copied);
    EXPECT_EQ(t.o.log.putanja(), t.program() + QStringLiteral("Update/Update.log"));
}

TEST(Transcript, ClearedTranscriptBeginsWithEmptyLineAndPaneShowsIt)
{
    TestOkruzenje t;
    t.stanje.PorukeAkcija.clear();
    DodajUTranskript(t.stanje.PorukeAkcija, QStringLiteral("Kopirano Program.7z"));
    t.stanje.PorukeGrešaka = QStringLiteral("stara greška");
    EXPECT_EQ(t.model.txtPor(), QString());  // clearing or adding does not touch the pane
    PrikažiTranskripte(t.o);
    EXPECT_EQ(t.model.txtPor(), QStringLiteral("\r\nKopirano Program.7z"));
    EXPECT_EQ(t.model.txtPorGr(), QStringLiteral("stara greška"));
}

TEST(StatusBar, PanelsTakeTheirTextsAndAnEmptyTextClears)
{
    TestOkruzenje t;
    PostaviTrenutnuAkciju(t.o, QStringLiteral("Početak ..."));
    PostaviTrenutnoStanje(t.o, QStringLiteral("Spajanje..."));
    EXPECT_EQ(t.model.panel1(), QStringLiteral("Početak ..."));
    EXPECT_EQ(t.model.panel2(), QStringLiteral("Spajanje..."));
    PostaviTrenutnuAkciju(t.o, QString());
    EXPECT_EQ(t.model.panel1(), QString());
}

}  // namespace
