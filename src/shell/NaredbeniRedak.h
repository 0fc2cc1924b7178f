#pragma once

#include <QString>
#include <QStringList>

class HeadlessDialogs;
class InstanceLock;
class QTextStream;
struct Okruzenje;

// How the program runs: without arguments it is the window; the other modes need no display.
enum class Način { Prozor, Distribucija, Provjera, Instalacija, Pomoć };

// The exit statuses of the modes without a window.
namespace IzlazniStatus {
inline constexpr int Uspjeh = 0;              // done, or nothing new
inline constexpr int Neuspjeh = 1;            // the operation failed
inline constexpr int PogrešnaUpotreba = 2;    // wrong arguments
inline constexpr int InstalacijaZauzeta = 3;  // another updater holds the installation
inline constexpr int ProgramPokrenut = 4;     // --instalacija: a program of the suite runs; nothing changed
inline constexpr int ImaNovihVerzija = 10;    // --provjera: updates are waiting
}  // namespace IzlazniStatus

// The mode the arguments ask for (the first argument is the program's name). `greška` is empty,
// or the Croatian reason why the arguments are wrong: an unknown option, an argument that is no
// option, or more than one mode.
struct OdabraniNačin {
    Način način = Način::Prozor;
    QString greška;
};
OdabraniNačin PročitajNaredbeniRedak(const QStringList& argumenti);

// The usage shown by --pomoc: the modes and the exit statuses.
QString UputaZaUpotrebu();

// Runs one mode without a window, from the settings saved by the window, and returns its exit
// status. The installation is taken first (a second updater ends with 3); every log line also goes
// to standard error with its journald priority; --provjera writes the update list to `izlaz`, one
// record a line, as "name;major;minor;revision;archive size;size".
int PokreniBezProzora(Okruzenje& o, HeadlessDialogs& dijalozi, InstanceLock& brava, Način način,
                      QTextStream& izlaz);
