#pragma once
// CMediaType: an AM_MEDIA_TYPE that owns its format block and its pUnk.
// Format blocks are always allocated with CoTaskMemAlloc, so a type handed to
// the filter graph (CreateMediaType, CopyMediaType) can be freed by it.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

class CMediaType : public AM_MEDIA_TYPE
{
public:
    // Empty: every GUID is GUID_NULL, no format block.
    CMediaType();
    explicit CMediaType(const GUID& major, const GUID& sub = GUID_NULL, const GUID& format = GUID_NULL);
    // Copies; when the format block cannot be allocated the copy stays empty.
    CMediaType(const AM_MEDIA_TYPE& other);
    CMediaType(const CMediaType& other);
    CMediaType& operator=(const AM_MEDIA_TYPE& other);
    CMediaType& operator=(const CMediaType& other);
    ~CMediaType();

    // Copies `other`; E_OUTOFMEMORY (and an empty type) when the format block
    // cannot be allocated.
    [[nodiscard]] HRESULT Set(const AM_MEDIA_TYPE& other);
    // Back to empty, freeing the format block.
    void InitMediaType();

    // Same major type, subtype, format type and format bytes.
    bool operator==(const CMediaType& other) const;
    bool operator!=(const CMediaType& other) const { return !(*this == other); }
    // A type whose major type is set.
    [[nodiscard]] bool IsValid() const { return majortype != GUID_NULL; }

    // Replaces the format block by a copy of `length` bytes; false on
    // allocation failure (the type then has no format block).
    [[nodiscard]] bool SetFormat(const void* format, ULONG length);
    const BYTE* Format() const { return pbFormat; }
    ULONG FormatLength() const { return cbFormat; }
};

// Frees the format block and pUnk of `mt` (not `mt` itself).
void FreeMediaType(AM_MEDIA_TYPE& mt);
// Frees a type made by CreateMediaType (or handed out by a pin): block and all.
void DeleteMediaType(AM_MEDIA_TYPE* mt);
// Deep copy into `dst` (whose old contents are not freed); E_OUTOFMEMORY leaves
// `dst` without a format block.
[[nodiscard]] HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);
// A new CoTaskMemAlloc'ed deep copy, or null.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);
