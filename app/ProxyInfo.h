#pragma once
// Proxy settings records kept under a registry key. Nothing in the program
// makes a network request of its own; the records exist for the settings
// they describe.
#include "platform/mfc/afx.h"

class COVRegKey;

struct SProxyInfo
{
    CString csAddr;
    int iPort = -1;

    SProxyInfo() = default;
    SProxyInfo(const SProxyInfo&) = default;
    SProxyInfo& operator=(const SProxyInfo&) = default;
    virtual ~SProxyInfo() = default;

    // An address and a port were given.
    [[nodiscard]] virtual bool IsValid() const { return !csAddr.IsEmpty() && iPort != -1; }
    // False, changing nothing, for a null address or a port outside 0..65535.
    [[nodiscard]] bool Set(LPCWSTR address, int port);
    // Reads or writes the record's values under root\subkey. A loaded port
    // outside 0..65535 is not taken: the record keeps its port.
    [[nodiscard]] bool Exchange(LPCWSTR subkey, HKEY root, bool load);
    // Address compared without regard to case, port equal.
    bool operator==(const SProxyInfo& other) const;
    bool operator!=(const SProxyInfo& other) const { return !(*this == other); }

protected:
    [[nodiscard]] virtual bool ExchangeMore(COVRegKey& key, bool load);
};

struct SHTTPProxyInfo : SProxyInfo
{
    int bUse = 0;

    [[nodiscard]] bool IsValid() const override { return SProxyInfo::IsValid() && bUse != 0; }
    // Also refuses an empty address.
    [[nodiscard]] bool Set(int use, LPCWSTR address, int port);

protected:
    [[nodiscard]] bool ExchangeMore(COVRegKey& key, bool load) override;
};

struct SFTPProxyInfo : SProxyInfo
{
    int eMode = 0;
    int bPasv = 0;
    CString csUserName;
    CString csPassword;

    // Mode 2 is the only mode that goes through a proxy.
    [[nodiscard]] bool IsValid() const override { return SProxyInfo::IsValid() && eMode == 2; }
    // False only when the proxy is in use (mode 2) and its address or port is
    // refused; otherwise the mode, passive flag and credentials are stored.
    [[nodiscard]] bool Set(LPCWSTR address, int port, int mode, int passive, LPCWSTR user, LPCWSTR password);

protected:
    [[nodiscard]] bool ExchangeMore(COVRegKey& key, bool load) override;
};
