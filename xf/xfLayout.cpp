#include "xf/xfLayout.h"
#include <cstdarg>
#include <cwchar>
#include "xf/xfCentral.h"
#include "xf/xfControlBar.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"
#include "xf/xfPane.h"
#include "xf/xfToolBar.h"

namespace {

// Lists nested deeper than this end the whole parse: layouts are small, and
// the text must not be able to exhaust the stack.
const int kMaxDepth = 64;

CString& FormatTemplate(CString& out, const wchar_t* text, va_list args)
{
    out.Empty();
    if (!text)
        return out;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        const wchar_t c = *++p;
        if (!c)
            break; // a final "%" is dropped
        if (c == L'i') {
            CString number;
            number.Format(L"%d", va_arg(args, int));
            out += number;
        } else if (c == L's') {
            if (const wchar_t* s = va_arg(args, const wchar_t*))
                out += s;
        }
    }
    return out;
}

bool IsKeyChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

bool IsElementLetter(wchar_t c)
{
    return c != 0 && wcschr(L"CFMPRST", c) != nullptr;
}

const wchar_t* ReadRun(const wchar_t* p, CString& run)
{
    const wchar_t* start = p;
    while (IsKeyChar(*p))
        ++p;
    run = CString(start, static_cast<int>(p - start));
    return p;
}

// Receives the parameters of one block; false stops the block (and the
// list that holds the element) at the parameter's terminator.
class CParamSink
{
public:
    virtual ~CParamSink() = default;
    virtual bool Take(const CString& key, const CString& value) = 0;
};

class CObjectSink : public CParamSink
{
public:
    explicit CObjectSink(CxfObject* target) : m_target(target) {}
    bool Take(const CString& key, const CString& value) override
    {
        if (m_target)
            m_target->AddParam(key, value);
        return true;
    }

private:
    CxfObject* m_target;
};

// The pane element: its first parameter must be "id"; the factory makes
// the pane, which takes every parameter from then on.
class CPaneSink : public CParamSink
{
public:
    explicit CPaneSink(CxfFrame* parent) : m_parent(parent) {}
    bool Take(const CString& key, const CString& value) override
    {
        if (!m_pane) {
            if (!m_parent || key.CompareNoCase(L"id") != 0)
                return false;
            const int number = _wtoi(value);
            CxfPane* pane = CxfCentral::Get().CreatePane(number, m_parent);
            if (!pane)
                return false;
            if (!pane->m_hWnd) {
                delete pane; // a pane without a window would never be freed
                return false;
            }
            pane->SetId(number);
            pane->ShowWindow(SW_SHOW);
            m_parent->SetPane(pane);
            m_pane = pane;
        }
        m_pane->AddParam(key, value);
        return true;
    }
    bool Made() const { return m_pane != nullptr; }

private:
    CxfFrame* m_parent;
    CxfPane* m_pane = nullptr;
};

// After "(": reads the block. Answers the position after it; *stopped is set
// when the sink refused a parameter (the position is then its terminator).
const wchar_t* ParseParams(const wchar_t* p, CParamSink& sink, bool* stopped)
{
    *stopped = false;
    for (;;) {
        CString key, value;
        p = ReadRun(p, key);
        if (key.IsEmpty()) {
            const wchar_t c = *p;
            if (!c)
                return p;
            ++p;
            if (c == L')')
                return p;
            continue;
        }
        if (*p == L'=')
            p = ReadRun(p + 1, value);
        if (!sink.Take(key, value)) {
            *stopped = true;
            return p;
        }
        if (!*p)
            return p;
        if (*p++ == L')')
            return p;
    }
}

const wchar_t* ParseList(CxfFrame* parent, const wchar_t* p, CxfFrame** lastFrame, int depth);

// An element's optional parameter block (for paramTarget) and child list
// (built into childTarget); a null target reads and drops its part.
const wchar_t* ParseBody(CxfObject* paramTarget, CxfFrame* childTarget, const wchar_t* p, int depth)
{
    if (*p == L'(') {
        CObjectSink sink(paramTarget);
        bool stopped = false;
        p = ParseParams(p + 1, sink, &stopped);
    }
    if (*p == L'{')
        p = ParseList(childTarget, p + 1, nullptr, depth + 1);
    return p;
}

template <class T>
T* MakeFrame(CxfFrame* parent)
{
    if (!parent)
        return nullptr;
    T* frame = new T;
    if (!frame->Create(parent)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

// A bar whose window is made after its parameters (toolbar, status bar).
template <class T>
const wchar_t* ParseLateBar(CxfFrame* parent, const wchar_t* p, int depth, bool statusBar)
{
    T* bar = parent ? new T : nullptr;
    if (bar && statusBar)
        bar->AddParam(L"bottom", L"");
    if (*p == L'(') {
        CObjectSink sink(bar);
        bool stopped = false;
        p = ParseParams(p + 1, sink, &stopped);
    }
    if (bar) {
        if (bar->Create(parent)) {
            parent->AddControlBar(bar);
        } else {
            delete bar;
            bar = nullptr;
        }
    }
    if (*p == L'{')
        p = ParseList(bar, p + 1, nullptr, depth + 1);
    return p;
}

const wchar_t* ParseList(CxfFrame* parent, const wchar_t* p, CxfFrame** lastFrame, int depth)
{
    if (depth > kMaxDepth)
        return p + wcslen(p);
    for (;;) {
        const wchar_t letter = *p;
        if (!letter)
            return p;
        ++p;
        if (!IsElementLetter(letter))
            return p; // "}" or any other character ends the list, consumed
        switch (letter) {
        case L'F':
        case L'M': {
            CxfFrame* frame = letter == L'F' ? MakeFrame<CxfFrame>(parent) : MakeFrame<CxfMDIClient>(parent);
            if (frame)
                parent->AddChildFrame(frame);
            p = ParseBody(frame, frame, p, depth);
            if (frame && letter == L'F' && lastFrame)
                *lastFrame = frame;
            break;
        }
        case L'C': {
            CxfControlBar* bar = MakeFrame<CxfControlBar>(parent);
            if (bar)
                parent->AddControlBar(bar);
            p = ParseBody(bar, bar, p, depth);
            break;
        }
        case L'R': p = ParseBody(parent, parent, p, depth); break;
        case L'S': p = ParseLateBar<CxfStatusBar>(parent, p, depth, true); break;
        case L'T': p = ParseLateBar<CxfToolBar>(parent, p, depth, false); break;
        case L'P': {
            if (*p != L'(')
                return p; // a pane without parameters ends the list
            CPaneSink sink(parent);
            bool stopped = false;
            p = ParseParams(p + 1, sink, &stopped);
            if (stopped || !sink.Made())
                return p;
            // A child list after a pane belongs to nothing: read and dropped.
            if (*p == L'{')
                p = ParseList(nullptr, p + 1, nullptr, depth + 1);
            break;
        }
        }
    }
}

} // namespace

CString& FormatLayoutString(CString& out, const wchar_t* layoutTemplate, ...)
{
    va_list args;
    va_start(args, layoutTemplate);
    FormatTemplate(out, layoutTemplate, args);
    va_end(args);
    return out;
}

CString& FormatLayoutString(CString& out, const char* layoutTemplate, ...)
{
    const CString wide = layoutTemplate ? CString(layoutTemplate) : CString();
    va_list args;
    va_start(args, layoutTemplate);
    FormatTemplate(out, layoutTemplate ? static_cast<LPCWSTR>(wide) : nullptr, args);
    va_end(args);
    return out;
}

const wchar_t* ParseLayout(CxfFrame* parent, const wchar_t* layout, CxfFrame** lastFrame)
{
    if (!parent || !layout)
        return layout;
    return ParseList(parent, layout, lastFrame, 0);
}
