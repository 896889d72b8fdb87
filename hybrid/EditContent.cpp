#include "hybrid/EditContent.h"
#include "platform/mfc/afxmenu.h"
#include "common/DrawRoutines.h"
#include "common/KeyRoutines.h"
#include "common/OVRegKey.h"
#include "common/WindowRoutines.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/MenuCatcher.h"

namespace {

const UINT_PTR kNoTimer = static_cast<UINT_PTR>(-1);
const int kTextInset = 3;
CEditContent* g_menuEdit = nullptr;

// The system's caret blink period in milliseconds: the leading digits of
// "CursorBlinkRate" (500 when it can't be read, 0 when it has none).
int CaretBlinkPeriod()
{
    CString text(L"500");
    COVRegKey key;
    CString value;
    if (key.OpenRead(HKEY_CURRENT_USER, L"Control Panel\\Desktop") && key.GetString(L"CursorBlinkRate", value, false))
        text = value;
    int period = 0;
    for (int i = 0; i < text.GetLength() && text[i] >= L'0' && text[i] <= L'9' && period < 100000; ++i)
        period = period * 10 + (text[i] - L'0');
    return period;
}

} // namespace

void DrawEditFrame(CDC* dc, RECT rect, bool fill)
{
    if (fill)
        dc->FillSolidRect(&rect, ::GetSysColor(COLOR_WINDOW));
    dc->Draw3dRect(&rect, HYBRID_SHADOW, HYBRID_LIGHT);
    ::InflateRect(&rect, -1, -1);
    dc->Draw3dRect(&rect, RGB(0, 0, 0), RGB(0xC0, 0xC0, 0xC0));
}

CEditContent::CEditContent()
    : CEditBase(kTextInset), m_blinkTimer(kNoTimer), m_caretShown(false), m_width(0), m_active(false)
{
}

CEditContent::~CEditContent()
{
    if (g_menuEdit == this)
        g_menuEdit = nullptr;
}

CEditContent* CEditContent::GetMenuEdit()
{
    return g_menuEdit;
}

STDMETHODIMP CEditContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(
        riid, out, {Primary(IID_IHybridContent), Primary(IID_IStretchContent), Primary(IID_IHybridEdit), TimerPart()});
}

CFont* CEditContent::Font()
{
    IHybridStyle* style = GetStyle();
    return style ? style->GetFont() : nullptr;
}

int CEditContent::GetPreferredHeight(int)
{
    IHybridStyle* style = GetStyle();
    return (style ? style->GetTextHeight() : 0) + 8;
}

IStretchContent* CEditContent::SetLength(int length)
{
    m_width = length;
    return this;
}

void CEditContent::SetText(LPCWSTR text)
{
    if (!text || m_text == text)
        return;
    m_text = text;
    m_caret = m_text.GetLength();
    // A selection reaching beyond the new text would select nothing real.
    if (m_selStart > m_caret || m_selEnd > m_caret)
        ClearSelection();
    Invalidate();
}

void CEditContent::DoEditCommand(int number)
{
    const bool readOnly = IsReadOnly();
    switch (number) {
    case EDIT_CMD_CUT:
        Copy();
        if (!readOnly)
            DeleteSelection();
        break;
    case EDIT_CMD_COPY: Copy(); break;
    case EDIT_CMD_PASTE:
        if (!readOnly)
            Paste();
        break;
    case EDIT_CMD_DELETE:
        if (!readOnly)
            DeleteSelection();
        break;
    case EDIT_CMD_SELECTALL:
        m_selStart = 0;
        m_caret = m_selEnd = m_text.GetLength();
        break;
    default: break;
    }
    Invalidate();
}

bool CEditContent::IsEditCommandEnabled(int number)
{
    const bool readOnly = IsReadOnly();
    switch (number) {
    case EDIT_CMD_CUT:
    case EDIT_CMD_DELETE: return !readOnly && HasSelection();
    case EDIT_CMD_COPY: return HasSelection();
    case EDIT_CMD_PASTE: return !readOnly;
    case EDIT_CMD_SELECTALL: return !m_text.IsEmpty();
    default: return false;
    }
}

void CEditContent::OnActivate(bool active)
{
    if (active) {
        // A repeated activation keeps one timer: the running one goes first.
        StopBlinking();
        m_active = true;
        const int period = CaretBlinkPeriod();
        CHybridCtrl* control = GetCtrl();
        if (period > 0 && control)
            m_blinkTimer = control->SetTimerCallback(static_cast<UINT>(period), this);
        // A period of 0 (or no control) gives a steady caret, not a 0 ms timer.
        m_caretShown = false;
        OnTimer(m_blinkTimer);
        return;
    }
    if (!m_active)
        return;
    m_caretShown = true;
    StopBlinking();
    m_active = false;
    OnTimer(kNoTimer);
}

void CEditContent::StopBlinking()
{
    if (m_blinkTimer == kNoTimer)
        return;
    const UINT_PTR id = m_blinkTimer;
    m_blinkTimer = kNoTimer;
    if (CHybridCtrl* control = GetCtrl())
        control->KillTimerCallback(id);
}

void CEditContent::OnTimer(UINT_PTR)
{
    m_caretShown = !m_caretShown;
    Invalidate();
}

bool CEditContent::OnKeyDown(UINT virtualKey, UINT keyData)
{
    CIPtr<IHybridEdit> self(this); // a notification may detach the cell
    if (virtualKey == VK_RETURN) {
        NotifyCell(HN_EDIT_ENTER);
        return true;
    }
    if (!CEditBase::OnKeyDown(virtualKey, keyData, IsReadOnly()))
        return false;
    NotifyCell(HN_EDIT_CHANGED);
    EnsureCaretVisible(Font(), GetRect());
    m_caretShown = true;
    Invalidate();
    return true;
}

bool CEditContent::OnLButtonDown(const CPoint& point)
{
    CaptureMouse();
    const int pos = HitTest(point, GetRect(), Font());
    if (IsShiftDown()) {
        m_selStart = m_caret;
        m_selEnd = pos;
        m_caret = pos;
        Invalidate();
        return true;
    }
    const bool changed = HasSelection() || pos != m_caret;
    if (HasSelection())
        ClearSelection();
    m_caret = pos;
    if (changed)
        Invalidate();
    return true;
}

void CEditContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture())
        return;
    const CRect rect = GetRect();
    const int pos = HitTest(point, rect, Font());
    if (pos == m_caret)
        return;
    if (m_selStart == -1)
        m_selStart = m_caret;
    m_caret = m_selEnd = pos;
    Invalidate();
    EnsureCaretVisible(Font(), rect);
}

void CEditContent::OnLButtonUp(const CPoint&)
{
    if (HasMouseCapture())
        ReleaseMouse();
}

// Selects the word under the point; words are delimited by spaces only.
bool CEditContent::OnLButtonDblClk(const CPoint& point)
{
    const int length = m_text.GetLength();
    int pos = HitTest(point, GetRect(), Font());
    if (pos == length && pos > 0)
        --pos;
    int s = pos;
    while (s >= 1 && s < length) {
        if (m_text[s] == L' ') {
            ++s;
            break;
        }
        --s;
    }
    int e = pos;
    while (e >= 0 && e < length && m_text[e] != L' ')
        ++e;
    m_selStart = s;
    m_selEnd = e;
    if (s != e) {
        m_caret = e;
        Invalidate();
    }
    return true;
}

void CEditContent::PrepareMenu(CMenu* menu)
{
    if (!g_menuEdit || !menu)
        return;
    for (UINT id = ID_HYBRID_EDIT_CUT; id <= ID_HYBRID_EDIT_SELECTALL; ++id)
        if (!g_menuEdit->IsEditCommandEnabled(static_cast<int>(id - ID_HYBRID_EDIT_CUT)))
            ::EnableMenuItem(menu->GetSafeHmenu(), id, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
}

bool CEditContent::OnRButtonUp(const CPoint&)
{
    CHybridCtrl* control = GetCtrl();
    if (!control)
        return true;
    CIPtr<IHybridEdit> self(this);
    control->SetCursorFrozen(true);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    g_menuEdit = this;
    // The catcher deletes itself when its window goes (also with the
    // control); one whose window could not be made is deleted here.
    CMenuCatcher* catcher = new CMenuCatcher(this);
    HWND catcherWnd = nullptr;
    if (catcher->Create(IDD_HYBRID_MENU_CATCHER, control))
        catcherWnd = catcher->GetSafeHwnd();
    else
        delete catcher;
    if (catcherWnd)
        TrackPopupMenuAtCursor(0, catcher, IDM_HYBRID_EDIT, &CEditContent::PrepareMenu);
    g_menuEdit = nullptr;
    // Handled after the chosen command, which the menu has already queued.
    if (catcherWnd && ::IsWindow(catcherWnd))
        ::PostMessageW(catcherWnd, WM_MENUCATCHER_CLOSE, 0, 0);
    if (::IsWindow(control->GetSafeHwnd()))
        control->SetCursorFrozen(false);
    return true;
}

void CEditContent::Draw(CDC* dc, CRect rect)
{
    const HDC target = dc->GetSafeHdc();
    const CRect onEntry(rect);
    // Drawn off screen when a context and a bitmap can be had, straight onto
    // dc otherwise.
    CDC memory;
    CBitmap offscreen;
    const HBITMAP bitmap =
        memory.CreateCompatibleDC(dc) && offscreen.CreateCompatibleBitmap(dc, rect.Width(), rect.Height())
            ? static_cast<HBITMAP>(offscreen)
            : nullptr;
    CGdiObjectSelector selected(memory.GetSafeHdc(), bitmap);
    CDC* drawDC = bitmap ? &memory : dc;
    if (bitmap)
        rect.OffsetRect(-rect.left, -rect.top);

    const DWORD high = HighBits();
    const bool rowLook = (high & HEB_ROWLOOK) != 0;
    const bool focusCell = IsFocusCell();
    const bool highlighted = rowLook && IsSelected() && !focusCell;
    COLORREF textColour = highlighted ? GetSelTextColor() : GetTextColor();
    COLORREF back = ::GetSysColor(COLOR_WINDOW);
    if (highlighted)
        back = GetSelBkColor();
    else if (high & (HEB_READONLY | HEB_ROWLOOK))
        back = GetBkColor();
    drawDC->FillSolidRect(&rect, back);

    rect.DeflateRect(kTextInset, 0);
    if (!IsEnabled())
        textColour = HYBRID_SHADOW;
    const bool showSelection = m_active || g_menuEdit != nullptr;
    CEditBase::Draw(drawDC, Font(), rect, showSelection, textColour, GetSelTextColor(), GetSelBkColor(), m_caretShown);
    rect.InflateRect(kTextInset, 0);
    if (focusCell || !rowLook) {
        if (high & HEB_FLATFRAME)
            drawDC->Draw3dRect(&rect, HYBRID_SHADOW, HYBRID_SHADOW);
        else
            DrawEditFrame(drawDC, rect, false);
    }
    if (bitmap) {
        ::BitBlt(target, onEntry.left, onEntry.top, onEntry.Width(), onEntry.Height(), memory.GetSafeHdc(), 0, 0,
                 SRCCOPY);
        selected.Restore();
    }
}
