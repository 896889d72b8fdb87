#include "app/ProxyInfo.h"

#include "common/OVRegKey.h"
#include "common/TimeUtils.h"

namespace {

bool IsPort(int port)
{
    return port >= 0 && port <= 65535;
}

// Writes every value even when one fails, and says whether all were written.
bool Store(bool& ok, bool written)
{
    ok = ok && written;
    return ok;
}

} // namespace

bool SProxyInfo::Set(LPCWSTR address, int port)
{
    if (!address || !IsPort(port))
        return false;
    csAddr = address;
    iPort = port;
    return true;
}

bool SProxyInfo::Exchange(LPCWSTR subkey, HKEY root, bool load)
{
    COVRegKey key;
    if (!key.Open(root, subkey, load))
        return false;
    if (load) {
        int port = iPort;
        if (key.GetInt(L"iPort", port) && IsPort(port))
            iPort = port;
        (void)key.GetString(L"csAddr", csAddr, false); // missing: the default stays
        return ExchangeMore(key, true);
    }
    bool ok = true;
    Store(ok, key.SetInt(L"iPort", iPort));
    Store(ok, key.SetString(L"csAddr", csAddr, 0));
    return ExchangeMore(key, false) && ok;
}

bool SProxyInfo::ExchangeMore(COVRegKey&, bool)
{
    return true;
}

bool SProxyInfo::operator==(const SProxyInfo& other) const
{
    return CompareText(csAddr, other.csAddr) == 0 && iPort == other.iPort;
}

bool SHTTPProxyInfo::Set(int use, LPCWSTR address, int port)
{
    if (!address || !*address || !SProxyInfo::Set(address, port))
        return false;
    bUse = use;
    return true;
}

bool SHTTPProxyInfo::ExchangeMore(COVRegKey& key, bool load)
{
    if (load) {
        (void)key.GetInt(L"bUse", bUse); // missing: the default stays
        return true;
    }
    return key.SetInt(L"bUse", bUse);
}

bool SFTPProxyInfo::Set(LPCWSTR address, int port, int mode, int passive, LPCWSTR user, LPCWSTR password)
{
    if (!SProxyInfo::Set(address, port) && mode == 2)
        return false;
    eMode = mode;
    bPasv = passive;
    csUserName = user ? user : L"";
    csPassword = password ? password : L"";
    return true;
}

bool SFTPProxyInfo::ExchangeMore(COVRegKey& key, bool load)
{
    if (load) {
        // Each value that is missing keeps its default.
        (void)key.GetInt(L"eMode", eMode);
        (void)key.GetInt(L"bPasv", bPasv);
        (void)key.GetString(L"csUserName", csUserName, false);
        (void)key.GetString(L"csPassword", csPassword, false);
        return true;
    }
    bool ok = true;
    Store(ok, key.SetInt(L"eMode", eMode));
    Store(ok, key.SetInt(L"bPasv", bPasv));
    Store(ok, key.SetString(L"csUserName", csUserName, 0));
    Store(ok, key.SetString(L"csPassword", csPassword, 0));
    return ok;
}
