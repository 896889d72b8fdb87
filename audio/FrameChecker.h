#pragma once
// CFrameChecker ("FrameChecker"): an in-place filter that passes every sample
// through unchanged. The DirectShow reader puts it in its graph, where the
// graph may place it on the decoding path.
#include "platform/dshow/TransInPlaceFilter.h"

class CFrameChecker : public CTransInPlaceFilter
{
public:
    CFrameChecker();

    [[nodiscard]] HRESULT CheckInputType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT Transform(IMediaSample* sample) override;
    using CTransInPlaceFilter::Transform;

    // A type both pins insist on when it is valid; it is never set.
    const CMediaType& OwnType() const { return m_ownType; }

protected:
    // The input pin "Input" and the output pin "Output".
    CTransformInputPin* NewInputPin() override;
    CTransformOutputPin* NewOutputPin() override;

private:
    CMediaType m_ownType;
};

class CNullInPlaceInputPin : public CTransInPlaceInputPin
{
public:
    explicit CNullInPlaceInputPin(CFrameChecker* filter);
    [[nodiscard]] STDMETHODIMP QueryId(LPWSTR* id) override;
    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;

private:
    CFrameChecker* m_checker;
};

class CNullInPlaceOutputPin : public CTransInPlaceOutputPin
{
public:
    explicit CNullInPlaceOutputPin(CFrameChecker* filter);
    [[nodiscard]] STDMETHODIMP QueryId(LPWSTR* id) override;
    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;

private:
    CFrameChecker* m_checker;
};
