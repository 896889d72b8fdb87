#pragma once
// Reads the string values of a module's version resource (language 0x0409,
// code page 1200: block "040904B0"). A module without a version resource, or
// with it in another block, answers empty strings.
#include "platform/mfc/afx.h"
#include <vector>

class CVersionInfo
{
public:
    // The running program's own file.
    CVersionInfo();
    explicit CVersionInfo(LPCWSTR modulePath);
    virtual ~CVersionInfo();
    CVersionInfo(const CVersionInfo&) = delete;
    CVersionInfo& operator=(const CVersionInfo&) = delete;

    CString GetProductName() const;
    // Blanks removed and commas turned into points: "1, 0, 0, 5" -> "1.0.0.5".
    CString GetProductVersion() const;
    CString GetCompanyName() const;
    CString GetLegalCopyright() const;
    CString GetComments() const;
    CString GetFileDescription() const;
    CString GetInternalName() const;
    CString GetLegalTrademarks() const;
    CString GetPrivateBuild() const;
    CString GetSpecialBuild() const;

    // The value of one key of the block; empty when missing.
    CString GetValue(LPCWSTR key) const;

private:
    void Read();

    CString m_modulePath;
    std::vector<BYTE> m_block; // empty without a version block
};
