#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class FileSystem;
class SettingsStore;

// Under Wine the suite lies in a prefix's drive_c, while the package puts the updater in its own
// folder; and the updater always works on the folder it lies in. So the package's launcher puts the
// updater's current build into the suite's folder and starts it there.
struct PokretanjeUPrefiksu {
    QString mapaPaketa;  // the suite's folder, ending in "/"
    QString program;     // the updater in that folder
    QString winDir;      // the prefix's C:\windows folder, where help files go to its Help folder
};

// The files of the updater that go into the suite's folder, by name.
inline const QStringList DatotekeAžurirača = {QStringLiteral("LumivexLiveUpdate20"),
                                              QStringLiteral("RegSvr32.exe")};

// The Wine prefix: `winePrefix` ($WINEPREFIX) or else `home` + "/.wine", without a trailing "/".
QString WinePrefiks(const QString& winePrefix, const QString& home);

// The suite's folder in `prefiks`: the choice saved for this prefix while its folder exists, or else
// the one `odaberiMapu` returns (given the folder to start from: the prefix's "drive_c/Lumivex V20/"
// when it exists, else its "drive_c/"), which is then saved. Puts the updater's files from `izvor`
// there, replacing ones that differ, and says how to start it. False when it cannot: `greška` is then
// a sentence for the user, or empty when the user cancelled the choice.
bool PripremiPokretanjeUPrefiksu(FileSystem& fs, SettingsStore& postavke, const QString& prefiks,
                                 const QString& izvor,
                                 const std::function<QString(const QString& početna)>& odaberiMapu,
                                 PokretanjeUPrefiksu& pokretanje, QString& greška);
