// lumivex-publish: makes the archives and the control file of a release, ready to be served under
// "/download/Verzija20/".
#include "platform/LocalFileSystem.h"
#include "platform/QtProcessRunner.h"
#include "publish/Objava.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

void ispiši(FILE* kamo, const QString& tekst)
{
    std::fputs(qPrintable(tekst + u'\n'), kamo);
}

const char* Upute =
    "Upotreba: lumivex-publish [--popis DATOTEKA] DIREKTORIJA_IZDANJA IZLAZNA_DIREKTORIJA\n"
    "\n"
    "Iz datoteka izdanja pravi arhive (.7z; chm i enc datoteke kopira pod imenom arhive) i kontrolnu\n"
    "datoteku Verzije.txt s izmjerenim veličinama, spremne za /download/Verzija20/.\n"
    "Popis (zadano: DIREKTORIJA_IZDANJA/izdanje.txt) ima po jedan red za svaku datoteku, redom kojim\n"
    "će stajati u Verzije.txt:   Ime;Ver_Gl;Ver_Pom;Ver_Rev   (redovi s # su komentari).\n";

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList argumenti = QCoreApplication::arguments().mid(1);
    Objava objava;
    if (argumenti.size() >= 2 && argumenti[0] == u"--popis") {
        objava.popis = QFileInfo(argumenti[1]).absoluteFilePath();
        argumenti = argumenti.mid(2);
    }
    if (argumenti.size() != 2 || argumenti[0].startsWith(u'-')) {
        std::fputs(Upute, argumenti.contains(QStringLiteral("--help")) ? stdout : stderr);
        return argumenti.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    objava.izdanje = QFileInfo(argumenti[0]).absoluteFilePath();
    objava.izlaz = QFileInfo(argumenti[1]).absoluteFilePath();
    if (objava.popis.isEmpty())
        objava.popis = objava.izdanje + QStringLiteral("/izdanje.txt");

    LocalFileSystem fs;
    QtProcessRunner procesi;
    QStringList poruke;
    const bool uspjeh = Objavi(fs, procesi, objava, poruke);
    for (const QString& p : poruke) ispiši(uspjeh ? stdout : stderr, p);
    if (!uspjeh)
        ispiši(stderr, QStringLiteral("Ništa nije objavljeno."));
    return uspjeh ? 0 : 1;
}
