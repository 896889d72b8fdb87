#pragma once
// CEnumPins: IEnumPins over the pins a filter had when the enumerator was made.
// The enumerator holds a reference to each pin (and so to the filter).
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include <vector>

#include "platform/dshow/Unknown.h"

class CBaseFilter;

class CEnumPins : public CUnknown, public IEnumPins
{
public:
    explicit CEnumPins(CBaseFilter* filter);
    ~CEnumPins() override = default;

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    [[nodiscard]] STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
    [[nodiscard]] STDMETHODIMP Skip(ULONG count) override;
    [[nodiscard]] STDMETHODIMP Reset() override;
    [[nodiscard]] STDMETHODIMP Clone(IEnumPins** copy) override;

private:
    CEnumPins(const std::vector<CIPtr<IPin>>& pins, size_t position);

    std::vector<CIPtr<IPin>> m_pins;
    size_t m_position = 0;
};
