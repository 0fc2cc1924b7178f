#include "support/TestIzdanje.h"

#include "core/TekstKontrolneDatoteke.h"
#include "core/VrstaDatoteke.h"
#include "publish/Objava.h"

#include <QDir>
#include <QProcess>

QByteArray Spakiraj7z(const QString& radnaMapa, const QString& ime, const QByteArray& sadržaj)
{
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

QByteArray Sadržaj(qint64 duljina, char sjeme)
{
    QByteArray b(duljina, Qt::Uninitialized);
    for (qint64 i = 0; i < duljina; ++i) b[i] = static_cast<char>((i * 31 + sjeme * 7 + (i >> 8)) & 0xff);
    return b;
}

Zapis& TestIzdanje::dodaj(const QString& ime, const QByteArray& sadržaj, const QString& unutra)
{
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

qint64 TestIzdanje::ukupno() const
{
    qint64 zbroj = 0;
    for (const Zapis& z : t_.stanje.NoveVerzije.zapisi)
        if (!z.prazan() && z.zastavica == 1)
            zbroj += CijeliBroj(z.polja[4]);
    return zbroj;
}

void TestIzdanje::objavi()
{
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

QMap<QString, QByteArray> ObjaviStarijojInstalaciji(TestOkruzenje& t, const QString& izlaz)
{
    const QString izdanje = t.root(QStringLiteral("izdanje"));
    const QMap<QString, QByteArray> datoteke{{QStringLiteral("Program.exe"), Sadržaj(1500000, 'p')},
                                             {QStringLiteral("Lib.dll"), Sadržaj(40000, 'l')},
                                             {QStringLiteral("Pomoc.chm"), Sadržaj(3000, 'h')}};
    for (auto i = datoteke.begin(); i != datoteke.end(); ++i) t.write(izdanje + u'/' + i.key(), i.value());
    t.write(izdanje + QStringLiteral("/popis.txt"),
            "Program.exe;20;2;0\r\nLib.dll;20;1;0\r\nPomoc.chm;20;1;5\r\n");
    QStringList poruke;
    if (!Objavi(t.realFs, t.procesi, {izdanje, izdanje + QStringLiteral("/popis.txt"), izlaz}, poruke))
        return {};

    QStringList instalirano;
    for (const QString& red : QString::fromUtf8(t.read(izlaz + QStringLiteral("/Verzije.txt")))
                                  .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList polja = red.split(u';');
        if (polja[0] != QStringLiteral("Lib.dll"))
            polja[2] = QStringLiteral("0");
        instalirano << polja.join(u';');
    }
    t.write(QStringLiteral("Verzije.txt"),
            (instalirano.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    t.write(QStringLiteral("Lib.dll"), datoteke[QStringLiteral("Lib.dll")]);
    return datoteke;
}
