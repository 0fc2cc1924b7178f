#include "shell/MrezaAzuriranja.h"

#include "core/ProzorModel.h"

#include <QHeaderView>

MrezaAzuriranja::MrezaAzuriranja(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnCount(6);
    setHorizontalHeaderLabels({QStringLiteral("Ime programa/komponente"), QStringLiteral("Ver_Gl"),
                               QStringLiteral("Ver_Pom"), QStringLiteral("Ver_Rev"),
                               QStringLiteral("VeličinaDownload"), QStringLiteral("StvarnaVeličina")});
}

void MrezaAzuriranja::prikaži(const ProzorModel& model)
{
    const auto& redovi = model.redovi();
    setRowCount(static_cast<int>(redovi.size()));
    for (int r = 0; r < redovi.size(); ++r)
        for (int c = 0; c < 6; ++c)
            setItem(r, c, new QTableWidgetItem(redovi[r].polja[static_cast<size_t>(c)]));
}

void MrezaAzuriranja::osvježiRed(const ProzorModel&, int red)
{
    if (red >= 0 && red < rowCount())
        scrollToItem(item(red, 0));
}
