#include "shell/Aplikacija.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void PostaviImenaAplikacije()
{
    QCoreApplication::setApplicationName(QStringLiteral("LumivexLiveUpdate20"));
    QCoreApplication::setOrganizationName(QStringLiteral("Lumivex"));
}

void PostaviAplikaciju(QTranslator& prijevod)
{
    PostaviImenaAplikacije();
    if (prijevod.load(QLocale(QLocale::Croatian, QLocale::Croatia), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&prijevod);
}

#ifdef Q_OS_WIN
// On Windows the settings and the registry are the user's own registry.
SystemSettingsStore KorisničkePostavke() { return SystemSettingsStore(QStringLiteral("Lumivex")); }
SystemRegistry KorisničkiRegistar() { return SystemRegistry(); }
#else
SystemSettingsStore KorisničkePostavke()
{
    return SystemSettingsStore(IniSettingsStore::userFile(QStringLiteral("Lumivex.ini")));
}
SystemRegistry KorisničkiRegistar()
{
    return SystemRegistry(IniSettingsStore::userFile(QStringLiteral("Lumivex/registry.ini")));
}
#endif

Aplikacija::Aplikacija(Sučelje sučelje)
    : postavke_(KorisničkePostavke()),
      registar_(KorisničkiRegistar()),
      o_{fs_,
         postavke_,
         sat_,
         računalo_,
         sučelje == Sučelje::Prozor ? static_cast<Dialogs&>(dijalozi_) : bezProzora_,
         procesi_,
         http_,
         prozori_,
         registar_,
         model_,
         stanje_}
{
    // A run without a window has no one to ask, and no widgets to ask with.
    http_.askCredentialsThrough(&o_.dijalozi);
}
