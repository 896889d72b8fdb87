#include "hybrid/TaggedText.h"
#include <vector>
#include "common/ResLoader.h"
#include "common/VersionInfo.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/TextContent.h"

namespace {

struct STag
{
    LPCWSTR open;
    LPCWSTR close;
    int style; // standard style pushed; 0: none
    DWORD low, high;
};

// In the order the parser tries them.
const STag kTags[] = {
    {L"<ds>", L"</ds>", HCS_LARGE, 0, 0},
    {L"<b>", L"</b>", HCS_BOLD, 0, 0},
    {L"<a>", L"</a>", 0, 0, HTB_LINK | HTB_OPEN},
};

class CTaggedTextParser
{
public:
    CTaggedTextParser(CHybridCtrl* control, const CString& text) : m_builder(control), m_text(text) {}

    void Run()
    {
        const int length = m_text.GetLength();
        int i = 0;
        for (;;) {
            if (i < length && TryTag(i))
                continue;
            const WCHAR ch = i < length ? m_text[i] : 0;
            if (ch != 0 && ch != L'\n' && ch != L'\r') {
                m_pending += ch;
                ++i;
                continue;
            }
            AddCell(m_pending);
            if (ch == 0)
                return;
            int feeds = 0;
            while (i < length && (m_text[i] == L'\n' || m_text[i] == L'\r')) {
                if (m_text[i] == L'\n')
                    ++feeds;
                ++i;
            }
            for (int blank = 1; blank < feeds; ++blank)
                m_builder.SetText(L" ").AddText();
            m_pending.Empty();
        }
    }

private:
    // A known opening or closing tag at i: handled, i moved past it.
    bool TryTag(int& i)
    {
        for (const STag& tag : kTags) {
            if (StartsAt(i, tag.open)) {
                Flush();
                if (tag.style)
                    m_styles.push_back(tag.style);
                m_low |= tag.low;
                m_high |= tag.high;
                i += static_cast<int>(wcslen(tag.open));
                return true;
            }
            if (StartsAt(i, tag.close)) {
                Flush();
                // A closing tag without its opening one only ends its bits.
                if (tag.style && !m_styles.empty())
                    m_styles.pop_back();
                m_low &= ~tag.low;
                m_high &= ~tag.high;
                i += static_cast<int>(wcslen(tag.close));
                return true;
            }
        }
        return false;
    }

    bool StartsAt(int i, LPCWSTR s) const
    {
        const int n = static_cast<int>(wcslen(s));
        return m_text.GetLength() - i >= n && wcsncmp(static_cast<LPCWSTR>(m_text) + i, s, n) == 0;
    }

    void Flush()
    {
        if (m_pending.IsEmpty())
            return;
        AddCell(m_pending);
        m_pending.Empty();
    }

    void AddCell(const CString& text)
    {
        m_builder.SetText(text)
            .SetStdStyle(m_styles.empty() ? HCS_NORMAL : m_styles.back())
            .SetStyleBits(m_low, m_high)
            .AddText();
    }

    CCellBuilder m_builder;
    CString m_text;
    CString m_pending;
    std::vector<int> m_styles;
    DWORD m_low = 0;
    DWORD m_high = HTB_MULTILINE;
};

} // namespace

void AddTaggedText(CHybridCtrl* control, LPCWSTR text)
{
    if (!control)
        return;
    CString source(text ? text : L"");
    source.Replace(L"%PRODUCTNAME", CVersionInfo().GetProductName());
    CTaggedTextParser(control, source).Run();
}

void AddTaggedTextResource(CHybridCtrl* control, UINT resourceId)
{
    AddTaggedText(control, LoadTextResource(resourceId));
}
