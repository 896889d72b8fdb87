#include "app/AppObjects.h"
#include "app/AppCentral.h"
#include "app/RVApp.h"

namespace {
// Constructed in this order by the run-time start-up, before the entry point.
CAppCentral theCentral;
CRVApp theApp;
} // namespace

CAppCentral& TheCentral()
{
    return theCentral;
}

CRVApp& TheApp()
{
    return theApp;
}
