#include "xf/xfToolBarItem.h"
#include <cwchar>
#include "common/LocalizedString.h"

LPCWSTR SxfToolBarItem::GetToolTipText()
{
    if (!bToolTipLoaded) {
        bToolTipLoaded = 1;
        CLocalizedString text; // in the current language, as the prompt
        if (text.LoadString(nID) && !text.IsEmpty()) {
            const int lineBreak = text.Find(L'\n');
            if (lineBreak >= 0) {
                const CString tip = lineBreak + 1 < text.GetLength() ? text.Mid(lineBreak + 1) : text;
                const size_t n = static_cast<size_t>(tip.GetLength()) + 1;
                pszToolTip = new wchar_t[n];
                wmemcpy(pszToolTip, tip, n);
            }
        }
    }
    return pszToolTip;
}

CxfItemCopy::CxfItemCopy(const SxfToolBarItem* item) : m_item()
{
    if (item)
        m_item = *item;
    m_item.pszToolTip = nullptr;
    m_item.bToolTipLoaded = 0;
}

CxfItemCopy::~CxfItemCopy()
{
    delete[] m_item.pszToolTip;
}
