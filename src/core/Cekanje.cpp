#include "core/Cekanje.h"

#include "core/Okruzenje.h"
#include "platform/Clock.h"

#include <QDateTime>
#include <algorithm>

void Čekaj(Okruzenje& o, int sekundi)
{
    if (sekundi <= 0)
        return;
    // A full date and time, so that a wait across midnight ends on time.
    const QDateTime kraj = o.sat.now().addSecs(sekundi);
    // Short pauses in the event loop keep the window responsive without spending processor time.
    constexpr qint64 najdužaPauza = 100;
    for (qint64 preostalo = o.sat.now().msecsTo(kraj); preostalo > 0; preostalo = o.sat.now().msecsTo(kraj))
        o.sat.pause(static_cast<int>(std::min(preostalo, najdužaPauza)));
}
