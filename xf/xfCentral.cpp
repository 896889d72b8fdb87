#include "xf/xfCentral.h"

namespace {
// The factory the framework calls: the last one constructed (one per
// program); user-interface thread only.
CxfCentral* g_pCentral = nullptr;
} // namespace

CxfCentral::CxfCentral()
{
    g_pCentral = this;
}

CxfCentral::~CxfCentral()
{
    if (g_pCentral == this)
        g_pCentral = nullptr;
}

CxfController* CxfCentral::CreateController(int)
{
    return nullptr;
}

CxfPane* CxfCentral::CreatePane(int, CxfFrame*)
{
    return nullptr;
}

bool CxfCentral::CreateContent(UINT, IHybridContent** out)
{
    if (out)
        *out = nullptr;
    return false;
}

const SxfToolBarItem* CxfCentral::GetToolBarItems(int)
{
    return nullptr;
}

CString CxfCentral::GetLayout(int)
{
    return CString();
}

bool CxfCentral::IsBroadcastCommand(UINT)
{
    return false;
}

CxfCentral& CxfCentral::Get()
{
    if (!g_pCentral) {
        static CxfCentral base;
        g_pCentral = &base;
    }
    return *g_pCentral;
}
