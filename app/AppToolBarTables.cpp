#include "app/AppCentral.h"

const SxfToolBarItem* GetAppToolBarItems(int)
{
    return nullptr;
}
