#pragma once
// Shared pieces of the Hybrid tests: a simple content with a preferred size
// and a colour that records what reaches it, a real parent window that
// records the control's notifications, and a message pump that runs the
// class library's pre-translation like the application loop does.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <vector>
#include "hybrid/ContentBase.h"
#include "hybrid/HybridCell.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/HybridHandler.h"
#include "tests/support/DibCanvas.h"

namespace hybridtest {

// Windowless test content: fills its rectangle with one colour.
class CBoxContent : public CContentBase<IHybridContent>
{
public:
    CBoxContent(int width, int height, COLORREF colour = RGB(0, 128, 255))
        : m_width(width), m_height(height), m_colour(colour)
    {
        ++s_alive;
    }
    ~CBoxContent() override { --s_alive; }

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        return AnswerQuery(riid, out, {Primary(IID_IHybridContent)});
    }
    WCHAR GetType() override { return L'X'; }
    bool CanFocus() override { return m_focusable; }
    void Draw(CDC* dc, CRect rect) override
    {
        dc->FillSolidRect(&rect, m_colour);
        ++m_draws;
    }
    int GetPreferredWidth() override { return m_width; }
    int GetPreferredHeight(int) override { return m_height; }
    LRESULT OnChildNotify(UINT code, IHybridCell*, bool* handled) override
    {
        m_notified.push_back(code);
        if (code == m_stopCode) {
            *handled = true;
            return m_answer;
        }
        return 0;
    }
    bool OnKeyDown(UINT key, UINT) override
    {
        m_keys.push_back(key);
        return key == m_consumeKey;
    }
    bool OnLButtonDown(const CPoint&) override
    {
        ++m_presses;
        return m_consumePress;
    }
    void OnTimer(UINT_PTR id) override { m_timerIds.push_back(id); }
    void SetColour(COLORREF colour) { m_colour = colour; }

    using CContentBase::CaptureMouse;
    using CContentBase::GetSelBkColor;
    using CContentBase::HasMouseCapture;
    using CContentBase::IsFocusCell;
    using CContentBase::NotifyCell;
    using CContentBase::ReleaseMouse;

    int m_width, m_height;
    COLORREF m_colour;
    bool m_focusable = false;
    bool m_consumePress = false;
    UINT m_consumeKey = 0;
    UINT m_stopCode = 0xFFFF;
    LRESULT m_answer = 0;
    int m_draws = 0;
    int m_presses = 0;
    std::vector<UINT> m_notified;
    std::vector<UINT> m_keys;
    std::vector<UINT_PTR> m_timerIds;
    static int s_alive;
};

// Handler that records the codes it sees and may stop one.
class CRecordingHandler : public CHybridHandler
{
public:
    LRESULT OnNotify(UINT code, IHybridCell* sender, bool* handled) override
    {
        m_codes.push_back(code);
        m_senders.push_back(sender);
        if (code == m_stopCode) {
            *handled = true;
            return m_answer;
        }
        return 0;
    }
    UINT m_stopCode = 0xFFFF;
    LRESULT m_answer = 0;
    std::vector<UINT> m_codes;
    std::vector<IHybridCell*> m_senders;
};

// A canvas (filled with RGB(1, 2, 3)) drawn on through the class library.
class CCanvas : public testsupport::CDibCanvas
{
public:
    CCanvas(int width, int height) : CDibCanvas(width, height)
    {
        EXPECT_TRUE(m_dc.Attach(Hdc()));
        Fill(RGB(1, 2, 3));
    }
    ~CCanvas() { m_dc.Detach(); }
    CDC* dc() { return &m_dc; }

private:
    CDC m_dc;
};

// Colour of a client pixel of a window as the screen shows it.
COLORREF ScreenPixel(HWND wnd, int x, int y);

// Column `index` of a row with a column sub-content; null when there is none.
CIPtr<IHybridCell> ColumnOf(IHybridCell* row, int index);
// The text of a text content's cell, or "<none>".
CString TextOf(IHybridCell* cell);

struct SNotification
{
    UINT code;
    IHybridCell* sender;
};

// A top-level window that hosts one control and records its notifications.
class CTestHost
{
public:
    CTestHost(int width = 300, int height = 200, DWORD ctrlStyle = 0);
    ~CTestHost();
    CTestHost(const CTestHost&) = delete;
    CTestHost& operator=(const CTestHost&) = delete;

    HWND Parent() const { return m_parent; }
    CHybridCtrl& Ctrl() { return *m_ctrl; }
    // Resizes the control and runs the posted relayout.
    void Resize(int width, int height);
    // Runs the message loop (with pre-translation) for ms milliseconds.
    void Pump(DWORD ms = 30);
    // Runs it until `done` holds (true) or timeoutMs have passed (false):
    // for what comes on a timer, which a busy machine may hold back.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
    // Adds a child to `parent` (the root when null) with a box content.
    CIPtr<IHybridCell> AddBox(IHybridCell* parent, int width, int height, COLORREF colour = RGB(0, 128, 255),
                              DWORD low = 0, int column = 0, CBoxContent** content = nullptr);
    CIPtr<IHybridCell> AddContainer(IHybridCell* parent, int kind, IHybridHeading* model = nullptr, DWORD low = 0,
                                    int column = 0);
    // Mouse messages posted to the control at client point (x, y).
    void Click(int x, int y, UINT keys = 0);
    void Post(UINT message, WPARAM wParam, LPARAM lParam);
    // Cell rectangle in client coordinates.
    static CRect RectOf(IHybridCell* cell);
    std::vector<SNotification> TakeNotifications();
    std::vector<UINT> Codes() const;
    // The codes raised by contents (19 to 35), without the control's own.
    std::vector<UINT> ContentCodes() const;
    bool Saw(UINT code) const;
    // Moves the real pointer to client point p (contents ask the cursor
    // position) and posts the move with `keys`.
    void MoveTo(CPoint p, WPARAM keys = 0);
    std::vector<WPARAM> m_itemPresses;
    std::vector<SNotification> m_notifications;
    LRESULT m_answer17 = 1;
    LRESULT m_answer38 = 1;

    static LRESULT CALLBACK ParentProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_parent;
    CHybridCtrl* m_ctrl;
};

inline CPoint Centre(IHybridCell* cell)
{
    return CTestHost::RectOf(cell).CenterPoint();
}

} // namespace hybridtest
