// The package's launcher: runs the updater for the suite of a Wine prefix ($WINEPREFIX, or ~/.wine).
#include "platform/LocalFileSystem.h"
#include "platform/QtProcessRunner.h"
#include "shell/Aplikacija.h"
#include "shell/PokretanjeUPrefiksu.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator prijevod;
    PostaviAplikaciju(prijevod);

    LocalFileSystem fs;
    SystemSettingsStore postavke = KorisničkePostavke();
    const QString prefiks = WinePrefiks(qEnvironmentVariable("WINEPREFIX"), QDir::homePath());

    PokretanjeUPrefiksu pokretanje;
    QString greška;
    const auto odaberi = [](const QString& početna) {
        return QFileDialog::getExistingDirectory(
            nullptr, QStringLiteral("Odaberite mapu Lumivex programa V20 u Wine-u"), početna);
    };
    // The launcher lies beside the packaged updater, whose files it puts into the suite's folder.
    if (!PripremiPokretanjeUPrefiksu(fs, postavke, prefiks, QCoreApplication::applicationDirPath(), odaberi,
                                     pokretanje, greška)) {
        if (!greška.isEmpty())
            QMessageBox::critical(nullptr, QStringLiteral("LumivexLiveUpdate20"), greška);
        return 1;
    }

    // The updater and its registration tool inherit both: help files go to the prefix's Help folder,
    // and Wine works in the prefix the suite lies in.
    qputenv("WINEPREFIX", prefiks.toLocal8Bit());
    qputenv("WinDir", pokretanje.winDir.toLocal8Bit());
    QtProcessRunner procesi;
    const ProcessRunner::Result r = procesi.startDetached(pokretanje.program, {});
    if (!r.started) {
        QMessageBox::critical(nullptr, QStringLiteral("LumivexLiveUpdate20"),
                              QStringLiteral("Program za ažuriranje se ne može pokrenuti: ") +
                                  pokretanje.program + QStringLiteral(" - ") + r.error);
        return 1;
    }
    return 0;
}
