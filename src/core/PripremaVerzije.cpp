#include "core/PripremaVerzije.h"

#include "core/Okruzenje.h"

bool PripremiVerzijaTXT(Okruzenje& o)
{
    o.model.omogućiCmdDownloadAndUpdate(false);
    return false;
}
