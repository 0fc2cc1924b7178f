#include "core/ProgresBar.h"

#include "core/Okruzenje.h"
#include "platform/Clock.h"

#include <QLocale>
#include <cstdlib>

namespace {

// The pattern "#.00": no leading zero (half a second is ",50"), the locale's decimal separator and
// two decimals, with no grouping of thousands.
QString UzorakSDvijeDecimale(qint64 milisekundi)
{
    const qint64 stotinke = (std::abs(milisekundi) + 5) / 10;
    const qint64 cijeli = stotinke / 100;
    const qint64 decimale = stotinke % 100;
    QString tekst = milisekundi < 0 && stotinke > 0 ? QStringLiteral("-") : QString();
    if (cijeli > 0)
        tekst += QString::number(cijeli);
    return tekst + QLocale().decimalPoint() + QStringLiteral("%1").arg(decimale, 2, 10, QLatin1Char('0'));
}

}  // namespace

void PostaviProgresBar(Okruzenje& o, qint64 minimum, qint64 maksimum)
{
    o.model.postaviProgBarRaspon(minimum, maksimum);
    o.model.postaviProgBarVrijednost(0);
    o.model.prikažiProgBar(true);
}

void tmrPrijenos_Tick(Okruzenje& o)
{
    // Both ends are full dates and times, so a transfer past midnight shows its true length.
    const qint64 proteklo = o.stanje.PočetakPrijenosa.msecsTo(o.sat.now());
    o.model.postaviLblVrijemePrijenosa(QStringLiteral("Vrijeme prijenosa: ") +
                                       UzorakSDvijeDecimale(proteklo) + QStringLiteral(" s"));
}
