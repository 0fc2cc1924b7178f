#pragma once

#include <QString>

// True for a folder that names its own place ("/srv/x/" or "D:/x/"): a relative one would resolve
// against whatever folder the program was started in, and the file system's root is no one's choice.
bool JeApsolutnaMapa(const QString& mapa);

// The folder's path ending in exactly the one "/" that it has or gets.
QString SaKosomCrtom(const QString& mapa);

// The folder's path without its trailing "/"s; the root "/" stays itself.
QString BezKoseCrte(QString mapa);
