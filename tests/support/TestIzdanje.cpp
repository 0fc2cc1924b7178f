#include "support/TestIzdanje.h"

#include "core/CitanjeMatrice.h"
#include "transfer/Raspakiravanje.h"

#include <QDir>
#include <QProcess>

QByteArray Spakiraj7z(const QString& radnaMapa, const QString& ime, const QByteArray& sadržaj) {
    QDir radna(radnaMapa);
    radna.removeRecursively();
    QDir().mkpath(radna.path());
    QFile datoteka(radna.filePath(ime));
    if (!datoteka.open(QIODevice::WriteOnly) || datoteka.write(sadržaj) != sadržaj.size())
        return {};
    datoteka.close();
    QProcess p;
    p.setWorkingDirectory(radna.path());
    p.start(QStringLiteral("7za"), {QStringLiteral("a"), QStringLiteral("-t7z"), QStringLiteral("-y"),
                                    QStringLiteral("arhiva.7z"), ime});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    QFile arhiva(radna.filePath(QStringLiteral("arhiva.7z")));
    return arhiva.open(QIODevice::ReadOnly) ? arhiva.readAll() : QByteArray();
}

QByteArray Sadržaj(qint64 duljina, char sjeme) {
    QByteArray b(duljina, Qt::Uninitialized);
    for (qint64 i = 0; i < duljina; ++i) b[i] = static_cast<char>((i * 31 + sjeme * 7 + (i >> 8)) & 0xff);
    return b;
}

Zapis& TestIzdanje::dodaj(const QString& ime, const QByteArray& sadržaj, const QString& unutra) {
    const QByteArray arhiva = SamoKopiranje(ime) ? sadržaj
                                                 : Spakiraj7z(t_.root(QStringLiteral("pakiranje")),
                                                              unutra.isEmpty() ? ime : unutra, sadržaj);
    t_.write(mapa_ + ImeArhive(ime), arhiva);
    Zapis& z = t_.stanje.NoveVerzije[red_++];
    z.polja = {ime,
               QStringLiteral("20"),
               QStringLiteral("2"),
               QStringLiteral("0"),
               QString::number(arhiva.size()),
               QString::number(sadržaj.size())};
    z.zastavica = 1;
    return z;
}

qint64 TestIzdanje::ukupno() const {
    qint64 zbroj = 0;
    for (const Zapis& z : t_.stanje.NoveVerzije.zapisi)
        if (!z.prazan() && z.zastavica == 1)
            zbroj += CijeliBroj(z.polja[4]);
    return zbroj;
}

void TestIzdanje::objavi() {
    QVector<RedMreže> redovi;
    QByteArray verzije;
    for (const Zapis& z : t_.stanje.NoveVerzije.zapisi) {
        if (z.prazan())
            continue;
        verzije +=
            (QStringList(z.polja.begin(), z.polja.end()).join(u';') + QStringLiteral(";\r\n")).toUtf8();
        if (z.zastavica != 1)
            continue;
        RedMreže red;
        red.polja = z.polja;
        redovi.push_back(red);
    }
    t_.stanje.UkupnoZaPrijenos = ukupno();
    t_.model.postaviMrežu(redovi, t_.stanje.UkupnoZaPrijenos, 0);
    t_.write(mapa_ + QStringLiteral("Verzije.txt"), verzije);
}
