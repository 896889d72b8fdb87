#include "platform/mfc/afxdc.h"
#include "platform/mfc/afxwnd.h"
#include "platform/mfc/afxstate.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

// Calls a point function of the DC that reports a point through its last
// argument (the old origin, the old or current position) and answers it.
template <class F, class... Args>
CPoint ReportedPoint(F function, HDC dc, Args... args)
{
    POINT pt{0, 0};
    function(dc, args..., &pt);
    return CPoint(pt.x, pt.y);
}

} // namespace

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    auto& map = AfxGetThreadState().tempDC;
    auto it = map.find(hDC);
    if (it != map.end())
        return it->second;
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = hDC;
    map.emplace(hDC, p);
    return p;
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC)
        return FALSE;
    if (m_hDC)
        ::DeleteDC(Detach());
    m_hDC = m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC->GetSafeHdc()));
}

BOOL CDC::CreateDC(LPCWSTR lpszDriverName, LPCWSTR lpszDeviceName, LPCWSTR lpszOutput, const void* lpInitData)
{
    return Attach(::CreateDCW(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODEW*>(lpInitData)));
}

CWnd* CDC::GetWindow() const
{
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

// ---- selection ----------------------------------------------------------------

CPen* CDC::SelectObject(CPen* pPen)
{
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->GetSafeHandle())));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->GetSafeHandle())));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->GetSafeHandle())));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->GetSafeHandle())));
}

int CDC::SelectObject(CRgn* pRgn)
{
    return static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, pRgn->GetSafeHandle())));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->GetSafeHandle()));
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

// ---- coordinates ------------------------------------------------------------

CPoint CDC::SetViewportOrg(int x, int y)
{
    return ReportedPoint(::SetViewportOrgEx, m_hDC, x, y);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    return ReportedPoint(::OffsetViewportOrgEx, m_hDC, nWidth, nHeight);
}

CPoint CDC::GetViewportOrg() const
{
    return ReportedPoint(::GetViewportOrgEx, m_hDC);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    return ReportedPoint(::SetWindowOrgEx, m_hDC, x, y);
}

CPoint CDC::GetWindowOrg() const
{
    return ReportedPoint(::GetWindowOrgEx, m_hDC);
}

CPoint CDC::MoveTo(int x, int y)
{
    return ReportedPoint(::MoveToEx, m_hDC, x, y);
}

CPoint CDC::GetCurrentPosition() const
{
    return ReportedPoint(::GetCurrentPositionEx, m_hDC);
}

// ---- fills --------------------------------------------------------------------

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    // An opaque empty text output fills with the background colour without a brush.
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT rc{x, y, x + cx, y + cy};
    FillSolidRect(&rc, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    // Top and left lines in the first colour, bottom and right in the second;
    // the bottom-left and top-right corner pixels belong to the second.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const
{
    SIZE sz{0, 0};
    if (lpszString && nCount > 0)
        ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &sz);
    return CSize(sz.cx, sz.cy);
}

// ---- scoped DCs ---------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    // A failed start leaves the context null, which GetSafeHdc shows.
    (void)Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (m_hDC) {
        Detach();
        ::EndPaint(m_hWnd, &m_ps);
    }
}

CClientDC::CClientDC(CWnd* pWnd) : CClientDC(pWnd->GetSafeHwnd())
{
}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd)
{
    (void)Attach(::GetDC(m_hWnd)); // none to be had: a null context, as GetSafeHdc shows
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    (void)Attach(::GetWindowDC(m_hWnd)); // none to be had: a null context, as GetSafeHdc shows
}

CWindowDC::~CWindowDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}
