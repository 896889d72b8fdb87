#pragma once
// The class library lets GetSafeHwnd, GetSafeHdc, GetSafeHandle and
// GetSafeHmenu be called through a null object pointer and answer null. A
// compiler may assume `this` is never null and drop such a test, so those
// members first pass `this` through AfxOpaquePtr, which hides its origin.
template <typename T>
inline T* AfxOpaquePtr(T* p)
{
    __asm__("" : "+r"(p));
    return p;
}
