#pragma once

#include <QString>

// The caption of every message box unless a procedure names another.
inline const QString NaslovPrograma = QStringLiteral("LumivexLiveUpdate20");
