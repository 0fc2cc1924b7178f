#include "install/ProvjeraPrograma.h"
#include "install/ProzoriPaketa.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QSet>

#include <utility>
#include <vector>

namespace {

QString Naslov(int i)
{
    return ProzoriPaketa[i].naslov.toString();
}
QString Naziv(int i)
{
    return ProzoriPaketa[i].naziv.toString();
}

const QStringList kKljučevi = {QStringLiteral("excel"),        QStringLiteral("word"),
                               QStringLiteral("access"),       QStringLiteral("powerpoint95"),
                               QStringLiteral("powerpoint97"), QStringLiteral("notepad"),
                               QStringLiteral("paintbrush"),   QStringLiteral("wordpad")};

TEST(SuiteWindowTable, HasTheCatalogueStructure)
{
    int generation = 0, underscoreV20 = 0, noSuffix = 0, same = 0, different = 0;
    int help = -1;
    QSet<QString> captions;
    for (int i = 0; i < int(std::size(ProzoriPaketa)); ++i) {
        const QString caption = Naslov(i);
        const QString name = Naziv(i);
        SCOPED_TRACE(caption.toStdString());
        ASSERT_FALSE(caption.isEmpty());
        ASSERT_FALSE(name.isEmpty());
        EXPECT_EQ(caption, caption.trimmed());
        if (caption.endsWith(QStringLiteral(" 20"))) {
            ++generation;
        } else if (caption.endsWith(QStringLiteral("_V20")) && !caption.endsWith(QStringLiteral(" _V20"))) {
            ++underscoreV20;
        } else {
            EXPECT_FALSE(caption.endsWith(QStringLiteral("20")));
            ++noSuffix;
            help = i;
        }
        (caption == name ? same : different)++;
        // Captions are compared ignoring case, and a key of the class table would be looked up by class.
        EXPECT_FALSE(captions.contains(caption.toLower()));
        captions.insert(caption.toLower());
        EXPECT_FALSE(kKljučevi.contains(caption.toLower()));
    }
    EXPECT_EQ(std::size(ProzoriPaketa), 34u);
    EXPECT_EQ(generation, 32);
    EXPECT_EQ(underscoreV20, 1);
    EXPECT_EQ(noSuffix, 1);
    EXPECT_EQ(same, 23);
    EXPECT_EQ(different, 11);
    for (int i = 0; i < int(std::size(ProzoriPaketa)); ++i)
        EXPECT_EQ(Naziv(i).endsWith(QStringLiteral(" 20")), i != help) << Naziv(i).toStdString();
}

class Guard : public ::testing::Test {
protected:
    TestOkruzenje t;
    FakeWindowFinder& desktop = t.prozori;

    // The index of the first entry whose caption differs from its display name.
    static int FirstRenamed()
    {
        for (int i = 0; i < int(std::size(ProzoriPaketa)); ++i)
            if (Naslov(i) != Naziv(i))
                return i;
        return -1;
    }
};

struct ListCase {
    const char* name;
    std::vector<int> started;  // table entries, in the order their programs were started
    QString extra;             // the title of one more window, if any
};

void PrintTo(const ListCase& c, std::ostream* os)
{
    *os << c.name;
}

class RunningList : public Guard, public ::testing::WithParamInterface<ListCase> {};

TEST_P(RunningList, NamesRunningProgramsInTableOrderEachWithCrLf)
{
    const ListCase& c = GetParam();
    for (int i : c.started) desktop.open(Naslov(i), QStringLiteral("Lumivex"));
    if (!c.extra.isEmpty())
        desktop.open(c.extra);

    std::vector<int> inOrder = c.started;
    std::sort(inOrder.begin(), inOrder.end());
    QString expected;
    for (int i : inOrder) expected += Naziv(i) + QStringLiteral("\r\n");

    EXPECT_EQ(ProvjeriPokrenutePrograme(t.o), expected);
    for (const auto& w : desktop.windows) {
        EXPECT_FALSE(w.active);
        EXPECT_EQ(w.suiteMessages, w.title == c.extra ? 0 : 1);
    }
}

std::vector<int> All()
{
    std::vector<int> all;
    for (int i = int(std::size(ProzoriPaketa)) - 1; i >= 0; --i) all.push_back(i);
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunningList,
    ::testing::Values(
        ListCase{"NoneRunning", {}, {}}, ListCase{"TwoStartedInReverseOrder", {20, 3}, {}},
        ListCase{"EveryProgramRunning", All(), {}},
        ListCase{"TitleWithDocumentNameIsNotTheProgram", {}, QStringLiteral("Lumivex Plaće 20 - [Siječanj]")},
        ListCase{"OtherWindowsIgnored", {0}, QStringLiteral("Lumivex Plaće")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Guard, ProgramRenamedInTheListIsFoundByItsCaption)
{
    const int i = FirstRenamed();
    ASSERT_GE(i, 0);
    desktop.open(Naziv(i));  // a window carrying the display name is not the program
    EXPECT_EQ(ProvjeriPokrenutePrograme(t.o), QString());
    desktop.open(Naslov(i));
    EXPECT_EQ(ProvjeriPokrenutePrograme(t.o), Naziv(i) + QStringLiteral("\r\n"));
}

TEST_F(Guard, CaptionMatchesIgnoringLetterCaseBeyondAscii)
{
    desktop.open(QStringLiteral("LUMIVEX PLAĆE 20"));
    desktop.open(QStringLiteral("lumivex urudžbeni zapisnik 20"));
    EXPECT_EQ(ProvjeriPokrenutePrograme(t.o),
              QStringLiteral("Lumivex Plaće 20\r\nLumivex Urudžbeni zapisnik 20\r\n"));
}

TEST_F(Guard, MinimisedProgramStaysMinimisedAndInTheBackground)
{
    desktop.open(Naslov(0), QString(), true);
    EXPECT_EQ(ProvjeriPokrenutePrograme(t.o), Naziv(0) + QStringLiteral("\r\n"));
    EXPECT_TRUE(desktop.windows[0].iconic);
    EXPECT_FALSE(desktop.windows[0].active);

    EXPECT_TRUE(AppJeStartana(t.o, Naslov(0), true));
    EXPECT_TRUE(desktop.windows[0].iconic);
    EXPECT_TRUE(desktop.windows[0].active);
}

TEST_F(Guard, KnownApplicationIsFoundByClassWhateverItsTitle)
{
    const QStringList classes = {QStringLiteral("XLMain"),         QStringLiteral("OpusApp"),
                                 QStringLiteral("OMain"),          QStringLiteral("PP7FrameClass"),
                                 QStringLiteral("PP97FrameClass"), QStringLiteral("NOTEPAD"),
                                 QStringLiteral("pbParent"),       QStringLiteral("WordPadClass")};
    for (int k = 0; k < kKljučevi.size(); ++k) {
        SCOPED_TRACE(kKljučevi[k].toStdString());
        desktop.closeAll();
        desktop.open(kKljučevi[k]);  // a window merely titled like the key is not the application
        EXPECT_FALSE(AppJeStartana(t.o, kKljučevi[k], false));

        desktop.open(QStringLiteral("Knjiga1 - Izvještaj.xls"), classes[k]);
        QString mixed = kKljučevi[k];
        mixed[0] = mixed[0].toUpper();
        EXPECT_TRUE(AppJeStartana(t.o, kKljučevi[k].toUpper(), false));
        EXPECT_FALSE(desktop.windows[1].active);
        EXPECT_TRUE(AppJeStartana(t.o, mixed, true));
        EXPECT_TRUE(desktop.windows[1].active);
        EXPECT_EQ(desktop.windows[1].suiteMessages, 2);
        EXPECT_EQ(desktop.windows[0].suiteMessages, 0);
    }
}

// Under Wine the class of every window is its program's exe name in lower case.
TEST_F(Guard, KnownApplicationIsFoundByItsExeNameUnderWine)
{
    const std::vector<std::pair<QString, QString>> exes = {
        {QStringLiteral("excel"), QStringLiteral("excel.exe")},
        {QStringLiteral("word"), QStringLiteral("winword.exe")},
        {QStringLiteral("access"), QStringLiteral("msaccess.exe")},
        {QStringLiteral("powerpoint95"), QStringLiteral("powerpnt.exe")},
        {QStringLiteral("powerpoint97"), QStringLiteral("powerpnt.exe")},
        {QStringLiteral("notepad"), QStringLiteral("notepad.exe")},
        {QStringLiteral("paintbrush"), QStringLiteral("pbrush.exe")},
        {QStringLiteral("paintbrush"), QStringLiteral("mspaint.exe")},
        {QStringLiteral("wordpad"), QStringLiteral("wordpad.exe")},
    };
    for (const auto& [key, exe] : exes) {
        SCOPED_TRACE(exe.toStdString());
        desktop.closeAll();
        desktop.open(QStringLiteral("Dokument1"), exe);
        EXPECT_TRUE(AppJeStartana(t.o, key, true));
        EXPECT_TRUE(desktop.windows[0].active);
        EXPECT_EQ(desktop.windows[0].suiteMessages, 1);
    }
    // Another application's exe is not the one asked for.
    desktop.closeAll();
    desktop.open(QStringLiteral("Dokument1"), QStringLiteral("winword.exe"));
    EXPECT_FALSE(AppJeStartana(t.o, QStringLiteral("excel"), false));
}

TEST_F(Guard, ActivatesOnlyWhenAsked)
{
    desktop.open(QStringLiteral("Lumivex Kasa 20"));
    EXPECT_TRUE(AppJeStartana(t.o, QStringLiteral("lumivex kasa 20"), false));
    EXPECT_FALSE(desktop.windows[0].active);
    EXPECT_TRUE(AppJeStartana(t.o, QStringLiteral("Lumivex Kasa 20"), true));
    EXPECT_TRUE(desktop.windows[0].active);
}

TEST_F(Guard, UnknownNameIsNotRunningAndNothingChanges)
{
    desktop.open(QStringLiteral("Lumivex Kasa 20"), QStringLiteral("XLMain"));
    for (const QString& name : {QStringLiteral("Lumivex Kasa"), QStringLiteral("excel.exe"), QString()}) {
        EXPECT_FALSE(AppJeStartana(t.o, name, true)) << name.toStdString();
    }
    EXPECT_FALSE(desktop.windows[0].active);
    EXPECT_EQ(desktop.windows[0].suiteMessages, 0);
}

}  // namespace
