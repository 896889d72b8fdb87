#pragma once
// CEnumMediaTypes: IEnumMediaTypes over the types a pin offered (its
// GetMediaType list) when the enumerator was made. Next hands out copies
// allocated with CoTaskMemAlloc, which the caller frees.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include <vector>

#include "platform/dshow/MediaType.h"
#include "platform/dshow/Unknown.h"

class CBasePin;

class CEnumMediaTypes : public CUnknown, public IEnumMediaTypes
{
public:
    explicit CEnumMediaTypes(CBasePin* pin);

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    [[nodiscard]] STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    [[nodiscard]] STDMETHODIMP Skip(ULONG count) override;
    [[nodiscard]] STDMETHODIMP Reset() override;
    [[nodiscard]] STDMETHODIMP Clone(IEnumMediaTypes** copy) override;

private:
    CEnumMediaTypes(const std::vector<CMediaType>& types, size_t position);

    std::vector<CMediaType> m_types;
    size_t m_position = 0;
};
