#include "platform/QtHttpTransfer.h"

HttpTransfer::Result QtHttpTransfer::get(const QString&, const StateHandler&, const DataHandler&)
{
    Result result;
    result.error = QStringLiteral("Prijenos sa interneta još nije dostupan.");
    return result;
}
