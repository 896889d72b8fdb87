#pragma once
// The picture content's own operations (type letter 'P'). Setters answer
// the object and change nothing for a value equal to the held one.
#include "hybrid/IHybridContent.h"

struct IHybridPicture : public IHybridContent
{
    // The handle stays the caller's.
    virtual IHybridPicture* SetBitmapHandle(HBITMAP bitmap) = 0;
    virtual IHybridPicture* SetBitmap(int bitmapId, COLORREF transparent) = 0;
    virtual IHybridPicture* SetSelectedBitmap(int bitmapId, COLORREF transparent) = 0;
    // The icon stays the caller's.
    virtual IHybridPicture* SetIcon(HICON icon) = 0;
    virtual void GetBitmap(int* bitmapId, COLORREF* transparent) = 0;
    virtual IHybridPicture* SetFile(LPCWSTR path) = 0;
};
