#include "shell/Aplikacija.h"

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
}
