#include "core/Putanje.h"

bool JeApsolutnaMapa(const QString& mapa)
{
    return mapa.startsWith(u'/') ||
           (mapa.size() >= 3 && mapa[0].isLetter() && mapa[1] == u':' && mapa[2] == u'/');
}

QString SaKosomCrtom(const QString& mapa)
{
    return mapa.endsWith(u'/') ? mapa : mapa + u'/';
}

QString BezKoseCrte(QString mapa)
{
    while (mapa.size() > 1 && mapa.endsWith(u'/')) mapa.chop(1);
    return mapa;
}
