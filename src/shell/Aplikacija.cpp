#include "shell/Aplikacija.h"

#ifdef Q_OS_WIN
// On Windows the settings and the registry are the user's own registry.
Aplikacija::Aplikacija()
    : prozori_(std::make_unique<Win32WindowFinder>()), o_{fs_,       postavke_, sat_,   računalo_,
                                                          dijalozi_, procesi_,  http_,  *prozori_,
                                                          registar_, model_,    stanje_}
{
}
#else
Aplikacija::Aplikacija()
    : postavke_(IniSettingsStore::userFile(QStringLiteral("Lumivex.ini"))),
      prozori_(std::make_unique<X11WindowFinder>()),
      registar_(IniSettingsStore::userFile(QStringLiteral("Lumivex/registry.ini"))),
      o_{fs_, postavke_, sat_, računalo_, dijalozi_, procesi_, http_, *prozori_, registar_, model_, stanje_}
{
    http_.askCredentialsThrough(&dijalozi_);
}
#endif
