#include "shell/Aplikacija.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void PostaviAplikaciju(QTranslator& prijevod)
{
    QApplication::setApplicationName(QStringLiteral("LumivexLiveUpdate20"));
    QApplication::setOrganizationName(QStringLiteral("Lumivex"));
    if (prijevod.load(QLocale(QLocale::Croatian, QLocale::Croatia), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&prijevod);
}

#ifdef Q_OS_WIN
// On Windows the settings and the registry are the user's own registry.
Aplikacija::Aplikacija(Sučelje sučelje)
    : prozori_(std::make_unique<Win32WindowFinder>()),
      o_{fs_,
         postavke_,
         sat_,
         računalo_,
         sučelje == Sučelje::Prozor ? static_cast<Dialogs&>(dijalozi_) : bezProzora_,
         procesi_,
         http_,
         *prozori_,
         registar_,
         model_,
         stanje_}
{
}
#else
Aplikacija::Aplikacija(Sučelje sučelje)
    : postavke_(IniSettingsStore::userFile(QStringLiteral("Lumivex.ini"))),
      prozori_(std::make_unique<X11WindowFinder>()),
      registar_(IniSettingsStore::userFile(QStringLiteral("Lumivex/registry.ini"))),
      o_{fs_,
         postavke_,
         sat_,
         računalo_,
         sučelje == Sučelje::Prozor ? static_cast<Dialogs&>(dijalozi_) : bezProzora_,
         procesi_,
         http_,
         *prozori_,
         registar_,
         model_,
         stanje_}
{
    http_.askCredentialsThrough(&dijalozi_);
}
#endif
