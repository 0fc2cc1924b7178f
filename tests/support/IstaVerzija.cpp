#include "support/IstaVerzija.h"

#include "support/HttpServer.h"
#include "support/TestOkruzenje.h"

void ObjaviIstuVerziju(TestOkruzenje& t, HttpServer& server)
{
    const QByteArray control = "A.exe;20;1;0;1;1;\r\n";
    t.write(QStringLiteral("Verzije.txt"), control);
    t.write(QStringLiteral("A.exe"), "a");
    t.write(server.folder() + QStringLiteral("/Verzije.txt"), control);
    t.postavke.write(QStringLiteral("Settings"), QStringLiteral("PrimarniServer"), server.url(QString()));
}
