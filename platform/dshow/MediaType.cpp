#include "platform/dshow/MediaType.h"

#include <cstring>

#include "platform/mfc/afxiface.h"

void FreeMediaType(AM_MEDIA_TYPE& mt)
{
    if (mt.pbFormat)
        CoTaskMemFree(mt.pbFormat);
    mt.pbFormat = nullptr;
    mt.cbFormat = 0;
    CIPtr<IUnknown> held;
    held.Attach(mt.pUnk); // let go of the type's reference
    mt.pUnk = nullptr;
}

void DeleteMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return;
    FreeMediaType(*mt);
    CoTaskMemFree(mt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src)
{
    if (!dst || !src)
        return E_POINTER;
    *dst = *src;
    dst->pbFormat = nullptr;
    dst->cbFormat = 0;
    if (src->cbFormat && src->pbFormat) {
        dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
        if (!dst->pbFormat) {
            dst->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
        dst->cbFormat = src->cbFormat;
    }
    dst->pUnk = nullptr;
    ReturnInterface(src->pUnk, &dst->pUnk);
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src)
{
    if (!src)
        return nullptr;
    auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt)
        return nullptr;
    if (FAILED(CopyMediaType(mt, src))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

CMediaType::CMediaType() : AM_MEDIA_TYPE()
{
    InitMediaType();
}

CMediaType::CMediaType(const GUID& major, const GUID& sub, const GUID& format) : CMediaType()
{
    majortype = major;
    subtype = sub;
    formattype = format;
}

// Copies and assignments cannot report: a copy that runs out of memory
// leaves the empty type (Set), which every type check refuses.
CMediaType::CMediaType(const AM_MEDIA_TYPE& other) : CMediaType()
{
    (void)Set(other);
}

CMediaType::CMediaType(const CMediaType& other) : CMediaType()
{
    (void)Set(other);
}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& other)
{
    (void)Set(other);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& other)
{
    (void)Set(other);
    return *this;
}

CMediaType::~CMediaType()
{
    FreeMediaType(*this);
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& other)
{
    if (&other == this)
        return S_OK;
    FreeMediaType(*this);
    HRESULT hr = CopyMediaType(this, &other);
    if (FAILED(hr))
        InitMediaType();
    return hr;
}

void CMediaType::InitMediaType()
{
    FreeMediaType(*this);
    majortype = GUID_NULL;
    subtype = GUID_NULL;
    formattype = GUID_NULL;
    bFixedSizeSamples = TRUE;
    bTemporalCompression = FALSE;
    lSampleSize = 1;
}

bool CMediaType::operator==(const CMediaType& other) const
{
    return majortype == other.majortype && subtype == other.subtype && formattype == other.formattype &&
           cbFormat == other.cbFormat && (cbFormat == 0 || memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

bool CMediaType::SetFormat(const void* format, ULONG length)
{
    if (pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
    if (!length)
        return true;
    pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!pbFormat)
        return false;
    if (format)
        memcpy(pbFormat, format, length);
    else
        memset(pbFormat, 0, length);
    cbFormat = length;
    return true;
}
