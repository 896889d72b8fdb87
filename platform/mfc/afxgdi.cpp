#include "platform/mfc/afxgdi.h"
#include "platform/mfc/afxdc.h"
#include "platform/mfc/afxstate.h"
#include "platform/mfc/afxapp.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    if (!hObject)
        return nullptr;
    auto& map = AfxGetThreadState().tempGdi;
    auto it = map.find(hObject);
    if (it != map.end())
        return it->second;
    CGdiObject* p;
    switch (::GetObjectType(hObject)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: p = new CPen; break;
    case OBJ_BRUSH: p = new CBrush; break;
    case OBJ_FONT: p = new CFont; break;
    case OBJ_BITMAP: p = new CBitmap; break;
    case OBJ_REGION: p = new CRgn; break;
    default: p = new CGdiObject; break;
    }
    p->m_hObject = hObject;
    map.emplace(hObject, p);
    return p;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    // Stock objects are never really deleted: DeleteObject on them is a no-op.
    return Attach(::GetStockObject(nIndex));
}

// ---- CBrush -----------------------------------------------------------------

CBrush::CBrush(CBitmap* pBitmap)
{
    (void)CreatePatternBrush(pBitmap); // a failure leaves the brush empty (GetSafeHandle null)
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return pBitmap ? Attach(::CreatePatternBrush(*pBitmap)) : FALSE;
}

BOOL CBrush::CreateSysColorBrush(int nIndex)
{
    // DeleteObject on a system-colour brush is ignored by the system, so
    // owning it like any other brush is harmless.
    return Attach(::GetSysColorBrush(nIndex));
}

// ---- CFont ------------------------------------------------------------------

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC)
{
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName)
        ::lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC)
{
    CClientDC screen(nullptr); // the screen's units when no DC is given
    HDC hDC = pDC ? pDC->m_hDC : screen.m_hDC;
    LOGFONTW lf = *lpLogFont;
    // lfHeight holds tenths of a point: turn it into device units of the DC.
    POINT pt{0, MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lf.lfHeight, 720)};
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg{0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    lf.lfHeight = -abs(pt.y - ptOrg.y);
    return CreateFontIndirect(&lf);
}

// ---- CBitmap ----------------------------------------------------------------

BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName)
{
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return pDC ? Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight)) : FALSE;
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE sz{0, 0};
    ::GetBitmapDimensionEx(*this, &sz);
    return CSize(sz.cx, sz.cy);
}
