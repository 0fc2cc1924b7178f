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

Aplikacija::Aplikacija()
    : postavke_(IniSettingsStore::userFile(QStringLiteral("Lumivex.ini"))),
      prozori_(std::make_unique<X11WindowFinder>()),
      registar_(IniSettingsStore::userFile(QStringLiteral("Lumivex/registry.ini"))),
      o_{fs_, postavke_, sat_, računalo_, dijalozi_, procesi_, http_, *prozori_, registar_, model_, stanje_}
{
}
