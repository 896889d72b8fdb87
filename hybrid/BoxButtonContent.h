#pragma once
// CBoxButtonContent<I>: what the check box and the radio button share: a
// 13 x 13 box followed by one line of text, the pushed look while the left
// button is held over the content, and the press itself: a left click
// released over the content, or Space, calls OnPress.
#include "hybrid/ContentBase.h"
#include "hybrid/ContentDrawing.h"

template <class I>
class CBoxButtonContent : public CContentBase<I>
{
public:
    WCHAR GetType() override { return L'x'; }
    [[nodiscard]] bool CanFocus() override { return true; }

    bool OnLButtonDown(const CPoint&) override
    {
        this->CaptureMouse();
        m_pushed = true;
        this->Invalidate();
        return true;
    }
    void OnMouseMove(const CPoint& point) override
    {
        if (!this->HasMouseCapture())
            return;
        const bool inside = this->GetRect().PtInRect(point) != FALSE;
        if (inside != m_pushed) {
            m_pushed = inside;
            this->Invalidate();
        }
    }
    void OnLButtonUp(const CPoint&) override
    {
        if (!this->HasMouseCapture())
            return;
        this->ReleaseMouse();
        const bool press = m_pushed;
        m_pushed = false;
        if (press)
            OnPress();
        this->Invalidate();
    }
    bool OnKeyDown(UINT virtualKey, UINT) override
    {
        if (virtualKey != VK_SPACE)
            return false;
        OnPress();
        return true;
    }
    int GetPreferredHeight(int) override
    {
        IHybridStyle* style = this->GetStyle();
        return style ? style->GetTextHeight() : 0;
    }
    void SetText(LPCWSTR text) override
    {
        if (m_text == (text ? text : L""))
            return;
        m_text = text;
        this->Invalidate();
    }

protected:
    static const int kBox = 13;

    virtual void OnPress() = 0;
    // The box's place in rect: at the left, centred vertically.
    static CRect BoxRect(const CRect& rect)
    {
        const int top = CentredTop(rect, kBox);
        return CRect(rect.left, top, rect.left + kBox, top + kBox);
    }
    // The text right of the box.
    void DrawLabel(HDC hdc, CRect rect)
    {
        rect.left += 16;
        DrawBoxLabel(hdc, this->GetStyle(), rect, m_text, this->IsEnabled(), this->GetStateTextColor(),
                     this->IsFocusCell());
    }

    CString m_text;
    bool m_pushed = false;
};
