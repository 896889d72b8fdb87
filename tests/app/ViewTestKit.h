#pragma once
// Shared pieces of the view tests: a plain top-level window holding one
// Hybrid control, the views put into cells of it, real mouse messages at
// control points (the real pointer is moved there too: the control asks
// the view for its cursor at the pointer's place), and a record of what the
// views post to the window.
#include <windows.h>
#include <string>
#include <vector>
#include "hybrid/ContentBase.h"
#include "hybrid/HybridCtrl.h"
#include "audio/IAudioReader.h"
#include "audio/IDisplay.h"
#include "app/ITimeContainer.h"

namespace viewtest {

struct SPosted
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class CViewHost
{
public:
    CViewHost(int width = 600, int height = 200);
    ~CViewHost();
    CViewHost(const CViewHost&) = delete;
    CViewHost& operator=(const CViewHost&) = delete;

    CHybridCtrl& Ctrl() { return *m_ctrl; }
    HWND Window() const { return m_frame; }
    // Appends a cell holding `content` below the cells added before.
    CIPtr<IHybridCell> Add(IHybridContent* content, DWORD styleBits = 0);
    // Lays the control out and paints it.
    void Settle(DWORD ms = 40);
    void Pump(DWORD ms = 30);

    // Mouse at control client points; keys are MK_* flags.
    void Hover(int x, int y);
    void Press(int x, int y, UINT keys = 0);
    void Drag(int x, int y, UINT keys = 0);
    void Release(int x, int y, UINT keys = 0);
    void DoubleClick(int x, int y);
    void RightClick(int x, int y);
    void Key(UINT virtualKey);

    // What the views posted to the host since the last call, in order.
    std::vector<SPosted> TakePosted();
    // How many of `message` were posted (after handling what is queued).
    int Count(UINT message);
    std::vector<SPosted> m_posted;

    // The colour of a client pixel of the control as shown on the screen.
    COLORREF Pixel(int x, int y);

private:
    static LRESULT CALLBACK FrameProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Post(UINT message, WPARAM wParam, int x, int y);

    HWND m_frame;
    CHybridCtrl* m_ctrl;
    POINT m_pointer;
};

// A view that only records what the time model tells it.
class CCountingDisplay : public CContentBase<IDisplay>
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IDisplay)});
    }
    void Invalidate() override { Record('I'); }
    void SetReader(IAudioReader*) override {}
    void OnPlayCursorChanged() override { Record('C'); }
    void OnPlayPositionChanged() override { Record('P'); }
    void OnSelectionChanged() override { Record('S'); }
    LONG Refs() const { return m_refs.Get(); }

    std::string m_calls;
    std::vector<int>* m_log = nullptr; // shared log of several displays
    int m_id = 0;

private:
    void Record(char c)
    {
        m_calls += c;
        if (m_log)
            m_log->push_back(m_id);
    }
};

// A silent 8 kHz mono WAV file of the given length in the scratch folder.
std::wstring SilentWav(int milliseconds);
// A time model on a reader of `path`; scale and position set.
CIPtr<ITimeContainer> MakeModel(const std::wstring& path, LONGLONG scale = 500, LONGLONG position = 0);
// A time model on a silent file of the given length.
CIPtr<ITimeContainer> MakeModel(int milliseconds, LONGLONG scale = 500, LONGLONG position = 0);

} // namespace viewtest
