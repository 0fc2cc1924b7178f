#include "core/Usporedba.h"
#include "shell/MrezaAzuriranja.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QLocale>

namespace {

class Grid : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
        t.write(QStringLiteral("Verzije.txt"), "A.exe;20;1;0;1;1;\r\nB.dll;20;1;0;1;1;\r\n");
        t.write(QStringLiteral("Update/Verzije.txt"),
                "A.exe;20;2;0;1234567;2345678;\r\nC.exe;20;1;0;10;20;\r\nB.dll;20;1;1;1000;abc;\r\n");
        t.model.pratiPromjene([this](ProzorModel::Kontrola k) {
            if (k == ProzorModel::Kontrola::Mreža)
                grid.prikaži(t.model);
            if (k == ProzorModel::Kontrola::RedMreže)
                grid.osvježiRed(t.model, t.model.vidljiviRed());
        });
        grid.resize(700, 300);
        grid.show();
        ASSERT_TRUE(NapraviRsŠtoTrebaAžurirati(t.o));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    QString text(int row, int column) const { return grid.item(row, column)->text(); }

    TestOkruzenje t;
    MrezaAzuriranja grid;
};

TEST_F(Grid, HeaderTotalRowAndDataRowsInFileOrder)
{
    ASSERT_EQ(grid.columnCount(), 6);
    ASSERT_EQ(grid.rowCount(), 4);
    const QStringList header = {QStringLiteral("Ime programa/komponente"),
                                QStringLiteral("Ver_Gl"),
                                QStringLiteral("Ver_Pom"),
                                QStringLiteral("Ver_Rev"),
                                QStringLiteral("VeličinaDownload"),
                                QStringLiteral("StvarnaVeličina")};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(grid.horizontalHeaderItem(c)->text(), header[c]);

    // The total row stands directly under the header, above the data rows.
    EXPECT_EQ(text(0, 0), QStringLiteral("UKUPNO: "));
    EXPECT_EQ(text(0, 4), QStringLiteral("1.235.577"));
    EXPECT_EQ(text(0, 5), QStringLiteral("2.345.698"));
    EXPECT_TRUE(grid.item(0, 0)->font().bold());
    EXPECT_EQ(grid.item(0, 4)->foreground().color(), QColor(Qt::black));
    EXPECT_EQ(grid.item(0, 0)->background().color(), QColor(192, 192, 255));
    EXPECT_EQ(grid.verticalHeaderItem(0)->text(), QString());

    const QStringList names = {QStringLiteral("A.exe"), QStringLiteral("C.exe"), QStringLiteral("B.dll")};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(text(r + 1, 0), names[r]);
        EXPECT_EQ(grid.verticalHeaderItem(r + 1)->text(), QString::number(r + 1));
        EXPECT_EQ(grid.item(r + 1, 0)->data(MrezaAzuriranja::UlogaSlike).toInt(), 6);
        EXPECT_FALSE(grid.item(r + 1, 0)->icon().isNull());
    }
    EXPECT_EQ(text(1, 1), QStringLiteral("20"));
    EXPECT_EQ(text(1, 2), QStringLiteral("2"));
    EXPECT_EQ(text(1, 4), QStringLiteral("1.234.567"));
    EXPECT_EQ(text(1, 5), QStringLiteral("2.345.678"));
    EXPECT_EQ(text(3, 5), QStringLiteral("abc"));  // not a number: shown as it stands
}

TEST_F(Grid, AlignmentsAndTheNameColumnsWidth)
{
    EXPECT_EQ(grid.item(1, 0)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    for (int c : {1, 2, 3}) EXPECT_EQ(grid.item(1, c)->textAlignment(), int(Qt::AlignCenter));
    for (int c : {4, 5}) EXPECT_EQ(grid.item(1, c)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(grid.columnWidth(0), 3000 * grid.logicalDpiX() / 1440);
}

TEST_F(Grid, EachMarkShowsItsPictureAndFill)
{
    using enum StanjeStavke;
    const std::tuple<StanjeStavke, int, int> marks[] = {{KopiranaSMreže, 4, 25},
                                                        {SkinutaSInterneta, 1, 25},
                                                        {Raspakirana, 2, 50},
                                                        {UInstalaciji, 5, 75},
                                                        {Instalirana, 3, 100}};
    for (const auto& [status, picture, fill] : marks) {
        OznačiStavku(t.o, QStringLiteral("B.dll"), status);
        EXPECT_EQ(grid.item(3, 0)->data(MrezaAzuriranja::UlogaSlike).toInt(), picture);
        EXPECT_EQ(grid.item(3, 0)->data(MrezaAzuriranja::UlogaIspune).toInt(), fill);
    }
    EXPECT_EQ(grid.item(1, 0)->data(MrezaAzuriranja::UlogaSlike).toInt(), 6);

    // The shading covers the row's cells up to its share of the width.
    const QImage image = grid.viewport()->grab().toImage();
    const int y = grid.rowViewportPosition(3) + grid.rowHeight(3) / 2;
    const QColor shade(178, 226, 178);
    const int left = grid.columnViewportPosition(0) + grid.columnWidth(0) - 3;
    EXPECT_EQ(image.pixelColor(left, y), shade);
    const int lastColumn = grid.columnViewportPosition(5) + grid.columnWidth(5) - 3;
    EXPECT_EQ(image.pixelColor(lastColumn, y), shade);  // 100 %: to the end of the last cell
}

// The pictures come from the resources by name (SVG on Linux, PNGs rendered at build time on Windows).
TEST(GridPictures, EachPictureIsDrawn)
{
    for (int broj = 1; broj <= 6; ++broj) {
        const QImage image = MrezaAzuriranja::slika(broj).pixmap(16, 16).toImage();
        ASSERT_FALSE(image.isNull()) << broj;
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; ++y)
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = qAlpha(image.pixel(x, y)) > 0;
        EXPECT_TRUE(drawn) << broj;
    }
}

TEST(GridNothing, HeaderAndTotalRowOnly)
{
    TestOkruzenje t;
    MrezaAzuriranja grid;
    t.model.pratiPromjene([&](ProzorModel::Kontrola k) {
        if (k == ProzorModel::Kontrola::Mreža)
            grid.prikaži(t.model);
    });
    t.write(QStringLiteral("Verzije.txt"), "A.exe;20;1;0;1;1;\r\n");
    t.write(QStringLiteral("Update/Verzije.txt"), "A.exe;20;1;0;1;1;\r\n");
    t.write(QStringLiteral("A.exe"), "x");
    EXPECT_FALSE(NapraviRsŠtoTrebaAžurirati(t.o));
    ASSERT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.item(0, 0)->text(), QStringLiteral("UKUPNO: "));
    EXPECT_EQ(grid.item(0, 4)->text(), QStringLiteral("0"));
}

}  // namespace
