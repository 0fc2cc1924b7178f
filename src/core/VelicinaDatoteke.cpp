#include "core/VelicinaDatoteke.h"

#include "core/TekstKontrolneDatoteke.h"

bool IstaVeličina(qint64 veličina, const QString& polje)
{
    return static_cast<double>(veličina) == BrojčanaVrijednost(polje);
}

QString OpisVeličine(const QString& ime, qint64 veličina, const QString& polje)
{
    return QStringLiteral("Veličina presnimljene datoteke ") + ime + QStringLiteral(" je ") +
           QString::number(veličina) + QStringLiteral(", a veličina originalne datoteke je ") + polje;
}

QString GreškaProvjereVeličineArhive(const QString& arhiva)
{
    return QStringLiteral("Greška u provjeri veličine datoteke-dohvatu datoteke ") + arhiva +
           QStringLiteral(". Prekida se ažuriranje!");
}
