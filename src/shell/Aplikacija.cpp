#include "shell/Aplikacija.h"

Aplikacija::Aplikacija()
    : postavke_(IniSettingsStore::userFile(QStringLiteral("Lumivex.ini"))),
      prozori_(std::make_unique<X11WindowFinder>()),
      registar_(IniSettingsStore::userFile(QStringLiteral("Lumivex/registry.ini"))),
      o_{fs_, postavke_, sat_, računalo_, dijalozi_, procesi_, http_, *prozori_, registar_, model_, stanje_}
{
    http_.askCredentialsThrough(&dijalozi_);
}
