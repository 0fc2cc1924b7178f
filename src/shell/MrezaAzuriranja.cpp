#include "shell/MrezaAzuriranja.h"

#include "core/ProzorModel.h"
#include "core/TekstKontrolneDatoteke.h"

#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

const QColor BojaUkupno(192, 192, 255);  // light blue of the "UKUPNO: " row
const QColor BojaIspune(178, 226, 178);  // the progress shading

// Shades a data row from its left edge to its progress, across all of its cells.
class DelegatIspune : public QStyledItemDelegate {
public:
    explicit DelegatIspune(MrezaAzuriranja* mreža) : QStyledItemDelegate(mreža), mreža_(mreža) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QTableWidgetItem* prva = mreža_->item(index.row(), 0);
        const int ispuna = prva ? prva->data(MrezaAzuriranja::UlogaIspune).toInt() : 0;
        if (ispuna > 0 && index.row() != MrezaAzuriranja::RedUkupno) {
            const int lijevo = mreža_->columnViewportPosition(0);
            const int zadnji = mreža_->columnCount() - 1;
            const int desno = mreža_->columnViewportPosition(zadnji) + mreža_->columnWidth(zadnji);
            const int granica = lijevo + (desno - lijevo) * std::min(ispuna, 100) / 100;
            QRect dio = option.rect;
            dio.setRight(std::min(dio.right(), granica - 1));
            if (dio.width() > 0)
                painter->fillRect(dio, BojaIspune);
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    MrezaAzuriranja* mreža_;
};

// "#,##0": whole numbers with the locale's group separator; a text that is not a number stays as it is.
QString uFormatu(const QString& tekst)
{
    bool broj = false;
    tekst.trimmed().toDouble(&broj);
    return broj ? QLocale().toString(CijeliBroj(tekst)) : tekst;
}

QTableWidgetItem* ćelija(const QString& tekst, Qt::Alignment poravnanje)
{
    auto* item = new QTableWidgetItem(tekst);
    item->setTextAlignment(poravnanje);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

Qt::Alignment poravnanjeStupca(int stupac)
{
    if (stupac == 0)
        return Qt::AlignLeft | Qt::AlignVCenter;
    if (stupac <= 3)
        return Qt::AlignCenter;
    return Qt::AlignRight | Qt::AlignVCenter;
}

}  // namespace

MrezaAzuriranja::MrezaAzuriranja(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setColumnCount(6);
    setHorizontalHeaderLabels({QStringLiteral("Ime programa/komponente"), QStringLiteral("Ver_Gl"),
                               QStringLiteral("Ver_Pom"), QStringLiteral("Ver_Rev"),
                               QStringLiteral("VeličinaDownload"), QStringLiteral("StvarnaVeličina")});
    setItemDelegate(new DelegatIspune(this));
    setIconSize(QSize(16, 16));
}

QIcon MrezaAzuriranja::slika(int broj)
{
    return QIcon(QStringLiteral(":/slike/slika%1").arg(broj));
}

QString MrezaAzuriranja::opisStanja(int slika)
{
    switch (slika) {
        case 1:
            return QStringLiteral("preuzeto s interneta");
        case 4:
            return QStringLiteral("kopirano s mrežne lokacije");
        case 2:
            return QStringLiteral("raspakirano");
        case 5:
            return QStringLiteral("instalira se");
        case 3:
            return QStringLiteral("instalirano");
        default:
            return QStringLiteral("još nije obrađeno");
    }
}

void MrezaAzuriranja::označiStanje(int red, int slika)
{
    for (int c = 0; c < columnCount(); ++c)
        if (QTableWidgetItem* ćelija = item(red, c))
            ćelija->setData(Qt::AccessibleDescriptionRole, opisStanja(slika));
}

void MrezaAzuriranja::prikaži(const ProzorModel& model)
{
    const auto& redovi = model.redovi();
    clearContents();
    setRowCount(static_cast<int>(redovi.size()) + 1);

    QStringList brojevi{QString()};
    const QLocale locale;
    QFont podebljano = font();
    podebljano.setBold(true);
    const QString ukupno[6] = {QStringLiteral("UKUPNO: "),
                               QString(),
                               QString(),
                               QString(),
                               locale.toString(model.ukupnoDownload()),
                               locale.toString(model.ukupnoStvarno())};
    for (int c = 0; c < 6; ++c) {
        QTableWidgetItem* item = ćelija(ukupno[c], poravnanjeStupca(c));
        item->setFont(podebljano);
        item->setForeground(Qt::black);
        item->setBackground(BojaUkupno);
        setItem(RedUkupno, c, item);
    }

    for (int r = 0; r < redovi.size(); ++r) {
        const RedMreže& red = redovi[r];
        for (int c = 0; c < 6; ++c) {
            const QString& tekst = red.polja[static_cast<size_t>(c)];
            QTableWidgetItem* item = ćelija(c >= 4 ? uFormatu(tekst) : tekst, poravnanjeStupca(c));
            item->setData(Qt::UserRole, tekst);
            setItem(r + 1, c, item);
        }
        item(r + 1, 0)->setIcon(slika(red.slika));
        item(r + 1, 0)->setData(UlogaSlike, red.slika);
        item(r + 1, 0)->setData(UlogaIspune, red.ispuna);
        označiStanje(r + 1, red.slika);
        brojevi << QString::number(r + 1);
    }
    setVerticalHeaderLabels(brojevi);

    resizeColumnsToContents();
    // 3000 twips, whatever the screen's resolution.
    setColumnWidth(0, 3000 * logicalDpiX() / 1440);
}

void MrezaAzuriranja::osvježiRed(const ProzorModel& model, int red)
{
    if (red < 0 || red >= model.redovi().size() || red + 1 >= rowCount())
        return;
    QTableWidgetItem* prva = item(red + 1, 0);
    prva->setIcon(slika(model.redovi()[red].slika));
    prva->setData(UlogaSlike, model.redovi()[red].slika);
    prva->setData(UlogaIspune, model.redovi()[red].ispuna);
    označiStanje(red + 1, model.redovi()[red].slika);
    scrollToItem(prva);
    viewport()->update();
}
