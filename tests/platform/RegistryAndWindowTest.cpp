// The Win32 services under the program: registry and windows with painting.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/TestSupport.h"

namespace {

const wchar_t* kScratchKey = L"Software\\Velmora\\Ravelin\\PlatformTest";

TEST(Registry, DwordAndStringReadBackEqual)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    DWORD value = 0xCAFE1234;
    const wchar_t text[] = L"Ravelin \u00e9\u00e8";
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, L"iValue", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, L"csValue", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text));
    RegCloseKey(key);

    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, KEY_READ, &key));
    DWORD got = 0, type = 0, size = sizeof got;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"iValue", nullptr, &type, reinterpret_cast<BYTE*>(&got), &size));
    EXPECT_EQ(REG_DWORD, type);
    EXPECT_EQ(value, got);
    wchar_t buf[64] = {};
    size = sizeof buf;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"csValue", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size));
    EXPECT_EQ(REG_SZ, type);
    EXPECT_STREQ(text, buf);
    RegCloseKey(key);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, kScratchKey));
}

struct PaintProbe
{
    int paints = 0;
};

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        auto* probe = reinterpret_cast<PaintProbe*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r = {10, 10, 30, 30};
        HBRUSH b = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
        FillRect(dc, &r, b);
        DeleteObject(b);
        EndPaint(hwnd, &ps);
        if (probe)
            ++probe->paints;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(Window, GetsPaintAndItsPixelReadsBack)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RavelinPaintProbe";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&wc);
    PaintProbe probe;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"probe", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probe));
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    testsupport::PumpMessages(200);
    EXPECT_GE(probe.paints, 1);

    HDC dc = GetDC(hwnd);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPixel(dc, 20, 20));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), GetPixel(dc, 50, 50));
    ReleaseDC(hwnd, dc);
    DestroyWindow(hwnd);
}

} // namespace
