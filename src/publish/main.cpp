// lumivex-publish: makes the archives and the control file of a release, ready to be served under
// "/download/Verzija20/".
#include "platform/LocalFileSystem.h"
#include "platform/QtProcessRunner.h"
#include "publish/Objava.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <termios.h>
#include <unistd.h>
#include <cstdio>

namespace {

void ispiši(FILE* kamo, const QString& tekst)
{
    std::fputs(qPrintable(tekst + u'\n'), kamo);
}

const char* Upute =
    "Upotreba: lumivex-publish [--popis DATOTEKA] [--kljuc TAJNI_KLJUC [--vrijedi DANA]]\n"
    "                          DIREKTORIJA_IZDANJA IZLAZNA_DIREKTORIJA\n"
    "\n"
    "Iz datoteka izdanja pravi arhive (.7z; chm i enc datoteke kopira pod imenom arhive) i kontrolnu\n"
    "datoteku Verzije.txt s izmjerenim veličinama, spremne za /download/Verzija20/.\n"
    "Popis (zadano: DIREKTORIJA_IZDANJA/izdanje.txt) ima po jedan red za svaku datoteku, redom kojim\n"
    "će stajati u Verzije.txt:   Ime;Ver_Gl;Ver_Pom;Ver_Rev   (redovi s # su komentari).\n"
    "Svaki zapis nosi SHA-256 sažetak svoje arhive. S --kljuc (minisign tajni ključ, napravljen s\n"
    "minisign -G) Verzije.txt se potpisuje u Verzije.txt.minisig; lozinka ključa čita se sa\n"
    "standardnog ulaza ili terminala. S --vrijedi izdanje nakon toliko dana više nije prihvaćeno.\n";

// The key's password: from the terminal without echo, or the first line of standard input.
QByteArray lozinka()
{
    const bool terminal = ::isatty(STDIN_FILENO);
    termios staro{};
    if (terminal) {
        std::fputs("Lozinka ključa: ", stderr);
        ::tcgetattr(STDIN_FILENO, &staro);
        termios bezJeke = staro;
        bezJeke.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &bezJeke);
    }
    QFile ulaz;
    QByteArray red;
    if (ulaz.open(stdin, QIODevice::ReadOnly))
        red = ulaz.readLine(1024);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &staro);
        std::fputs("\n", stderr);
    }
    while (red.endsWith('\n') || red.endsWith('\r')) red.chop(1);
    return red;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList argumenti = QCoreApplication::arguments().mid(1);
    Objava objava;
    QString ključ;
    int dana = 0;
    // An unknown option or a bad value stays in the arguments, which then show the usage.
    for (bool uredu = true; uredu && argumenti.size() >= 2 && argumenti[0].startsWith(u"--");) {
        const QString& vrijednost = argumenti[1];
        if (argumenti[0] == u"--popis")
            objava.popis = QFileInfo(vrijednost).absoluteFilePath();
        else if (argumenti[0] == u"--kljuc")
            ključ = vrijednost;
        else if (argumenti[0] == u"--vrijedi") {
            bool broj = false;
            dana = vrijednost.toInt(&broj);
            uredu = broj && dana > 0;
        } else
            uredu = false;
        if (uredu)
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
    if (!ključ.isEmpty()) {
        QByteArray tekst;
        if (const FsResult r = fs.readFile(ključ, tekst); !r) {
            ispiši(stderr, QStringLiteral("Tajni ključ %1 nije moguće pročitati: %2").arg(ključ, r.error));
            return 1;
        }
        TajniKljuč tajni;
        QString greška;
        if (!PročitajTajniKljuč(tekst, KljučTražiLozinku(tekst) ? lozinka() : QByteArray(), tajni, greška)) {
            ispiši(stderr, QStringLiteral("Tajni ključ %1 nije moguće upotrijebiti: %2").arg(ključ, greška));
            return 1;
        }
        objava.ključ = tajni;
        objava.vrijeme = QDateTime::currentSecsSinceEpoch();
        if (dana > 0)
            objava.istek = objava.vrijeme + qint64(dana) * 24 * 3600;
    }
    QStringList poruke;
    const bool uspjeh = Objavi(fs, procesi, objava, poruke);
    for (const QString& p : poruke) ispiši(uspjeh ? stdout : stderr, p);
    if (!uspjeh)
        ispiši(stderr, QStringLiteral("Ništa nije objavljeno."));
    return uspjeh ? 0 : 1;
}
