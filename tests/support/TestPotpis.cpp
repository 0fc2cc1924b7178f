#include "support/TestPotpis.h"

#include <QDir>
#include <QFile>
#include <QProcess>

bool Minisign(const QStringList& argumenti, const QByteArray& ulaz, QString* izlaz)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("minisign"), argumenti);
    if (!p.waitForStarted(30000))
        return false;
    p.write(ulaz);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000))
        return false;
    if (izlaz)
        *izlaz = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool TestKljuč::napravi(const QString& mapa)
{
    QDir().mkpath(mapa);
    javni = mapa + QStringLiteral("/minisign.pub");
    tajni = mapa + QStringLiteral("/minisign.key");
    QFile::remove(javni);
    QFile::remove(tajni);
    return Minisign({QStringLiteral("-G"), QStringLiteral("-W"), QStringLiteral("-p"), javni,
                     QStringLiteral("-s"), tajni});
}

QByteArray TestKljuč::datotekaJavnog() const
{
    QFile f(javni);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray TestKljuč::red() const
{
    const QList<QByteArray> redovi = datotekaJavnog().split('\n');
    return redovi.size() > 1 ? redovi[1].trimmed() : QByteArray();
}

bool PotpišiMinisignom(const TestKljuč& ključ, const QString& datoteka, const QString& komentar, bool legacy)
{
    QStringList argumenti{QStringLiteral("-S"), QStringLiteral("-s"), ključ.tajni, QStringLiteral("-m"),
                          datoteka};
    if (legacy)
        argumenti << QStringLiteral("-l");
    if (!komentar.isEmpty())
        argumenti << QStringLiteral("-t") << komentar;
    return Minisign(argumenti);
}
