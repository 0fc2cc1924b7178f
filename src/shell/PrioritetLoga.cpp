#include "shell/PrioritetLoga.h"

namespace {

bool sadrži(const QString& tekst, std::initializer_list<QStringView> riječi)
{
    for (QStringView riječ : riječi)
        if (tekst.contains(riječ, Qt::CaseInsensitive))
            return true;
    return false;
}

}  // namespace

JournalPriority PrioritetRetkaLoga(const QString& tekst)
{
    // "greš" covers greška, grešci, greške and grešaka.
    if (sadrži(tekst,
               {u"greš", u"nije moguće", u"nije uspio", u"nisu uspješno", u"neuspješno", u"prekida se"}))
        return JournalPriority::Error;
    if (sadrži(tekst, {u"upozorenje", u"nije pokrenut", u"odustaje", u"postoje startovani", u"nije pronađen",
                       u"nije nađena", u"ne postoji", u"ne postoje"}))
        return JournalPriority::Warning;
    return JournalPriority::Info;
}
