#include "common/MiniSkin.h"
#include "common/DrawRoutines.h"
#include <cstdio>

namespace {

bool IsNameChar(wchar_t ch)
{
    return ch < 128 && isalnum(static_cast<int>(ch));
}

} // namespace

CMiniSkin::CMiniSkin() : m_commands(true)
{
}

CMiniSkin::CMiniSkin(UINT bitmapId, COLORREF key, UINT commandId) : m_commands(true)
{
    Init(bitmapId, key, commandId);
}

CMiniSkin::~CMiniSkin() = default;

CMiniSkin::SCmd* CMiniSkin::ParseCommand(LPCWSTR text)
{
    if (text == nullptr)
        return nullptr;
    const wchar_t* p = text;
    while (*p != 0 && IsNameChar(*p))
        ++p;
    if (*p == 0) // the string ends inside the name
        return nullptr;
    CString name(text, static_cast<int>(p - text));
    if (name != L"SimpleMosaic")
        return nullptr;
    SSimpleMosaic* mosaic = new SSimpleMosaic;
    int read =
        swscanf(p, L"{%d,%d,%d,%d,%d,%d}", &mosaic->l, &mosaic->c, &mosaic->r, &mosaic->t, &mosaic->m, &mosaic->b);
    if (read != 6) {
        delete mosaic;
        return nullptr;
    }
    return mosaic;
}

void CMiniSkin::Init(UINT bitmapId, COLORREF key, UINT commandId)
{
    m_bitmapId = bitmapId;
    m_key = key;
    m_commands.RemoveAll();
    m_commandText.Empty();
    m_bitmap.DeleteObject();
    if (!m_bitmap.LoadBitmap(bitmapId))
        return;
    // Skin commands are resource data, never translated.
    if (!m_commandText.LoadString(commandId))
        return;
    if (SCmd* command = ParseCommand(m_commandText))
        m_commands.Add(command);
}

void CMiniSkin::Draw(CDC* dc, const RECT& rect)
{
    if (dc == nullptr)
        return;
    for (INT_PTR i = 0; i < m_commands.GetSize(); ++i) {
        SCmd* command = m_commands.GetAt(i);
        if (command == nullptr)
            break;
        command->Draw(dc, rect, &m_bitmap, m_key);
    }
}

void CMiniSkin::Draw(CDC* dc, const RECT* rect)
{
    if (rect != nullptr)
        Draw(dc, *rect);
}

CSize CMiniSkin::GetMinSize() const
{
    CSize size(0, 0);
    for (INT_PTR i = 0; i < m_commands.GetSize(); ++i) {
        const SCmd* command = m_commands.GetAt(i);
        if (command == nullptr)
            continue;
        CSize s = command->GetSize();
        size.cx = s.cx > size.cx ? s.cx : size.cx;
        size.cy = s.cy > size.cy ? s.cy : size.cy;
    }
    return size;
}

void CMiniSkin::SSimpleMosaic::Draw(CDC* dc, const RECT& rect, CBitmap* skin, COLORREF key)
{
    if (dc == nullptr || skin == nullptr || skin->GetSafeHandle() == nullptr)
        return;
    CRect target(rect);
    if (c == 0) {
        int spare = target.Width() - l - r;
        target.left += spare / 2;
        target.right -= spare - spare / 2;
    }
    int W = target.Width();
    int H = target.Height();
    if (W <= 0 || H <= 0)
        return;
    BITMAP info = {};
    if (!skin->GetBitmap(&info))
        return;
    int bw = info.bmWidth;
    int bh = info.bmHeight;

    CClientDC screen(nullptr);
    CDC compose;
    CDC source;
    CBitmap canvas;
    if (!compose.CreateCompatibleDC(&screen) || !source.CreateCompatibleDC(&screen) ||
        !canvas.CreateCompatibleBitmap(&screen, W, H))
        return;
    CGdiObjectSelector canvasSel(compose.GetSafeHdc(), canvas.GetSafeHandle());
    CGdiObjectSelector skinSel(source.GetSafeHdc(), skin->GetSafeHandle());
    // Shrunk pieces drop rows and columns instead of mixing their colours.
    compose.SetStretchBltMode(COLORONCOLOR);

    const int midW = W - l - r;
    const int midH = H - t - b;
    struct SPiece
    {
        int x, y, w, h, sx, sy, sw, sh;
    } pieces[9] = {
        {0, 0, l, t, 0, 0, l, t},
        {l, 0, midW, t, l, 0, c, t},
        {W - r, 0, r, t, bw - r, 0, r, t},
        {0, t, l, midH, 0, t, l, m},
        {l, t, midW, midH, l, t, c, m},
        {W - r, t, r, midH, bw - r, t, r, m},
        {0, H - b, l, b, 0, bh - b, l, b},
        {l, H - b, midW, b, l, bh - b, c, b},
        {W - r, H - b, r, b, bw - r, bh - b, r, b},
    };
    for (const SPiece& p : pieces)
        compose.StretchBlt(p.x, p.y, p.w, p.h, &source, p.sx, p.sy, p.sw, p.sh, SRCCOPY);

    TransparentBlitColourKey(dc->GetSafeHdc(), target.left, target.top, W, H, compose.GetSafeHdc(), 0, 0, key);
}
