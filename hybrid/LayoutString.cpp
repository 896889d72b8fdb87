#include "hybrid/LayoutString.h"
#include <cwchar>
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/HybridHeading.h"
#include "hybrid/IHeadingContent.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridDate.h"
#include "hybrid/IHybridEdit.h"
#include "hybrid/IHybridPicture.h"
#include "hybrid/IHybridProgress.h"
#include "hybrid/IHybridSeparator.h"
#include "hybrid/IHybridSlider.h"
#include "hybrid/IHybridText.h"
#include "hybrid/Style.h"

namespace {

const DWORD kPlacementBits = HCB_VPLACEMENT;

int IntArg(va_list* args)
{
    return va_arg(*args, int);
}
DWORD DWordArg(va_list* args)
{
    return va_arg(*args, DWORD);
}
template <class T>
T PtrArg(va_list* args)
{
    return static_cast<T>(va_arg(*args, void*));
}

bool IsCellLetter(WCHAR c)
{
    return c && std::wcschr(L"BCELPTUcdhpstx", c) != nullptr;
}

// Calls take(directive) for each "%" letter inside "( )" when the position
// is at "("; returns the position after the ")" (or at the NUL).
template <class F>
LPCWSTR ScanDirectives(LPCWSTR p, F take)
{
    if (*p != L'(')
        return p;
    ++p;
    while (*p && *p != L')') {
        if (*p++ != L'%')
            continue;
        if (!*p)
            break; // a "%" at the very end
        take(*p++);
    }
    return *p == L')' ? p + 1 : p;
}

// The values of one cell letter, at their defaults.
struct SCellArgs
{
    int column = -1;
    IHybridCell** before = nullptr;
    IHybridCell** existing = nullptr;
    LPCWSTR text = L"";
    UINT textId = 0;
    int stdStyle = 0;
    DWORD styleBits = 0;
    COLORREF bkColor = HYBRID_COLOR_UNSET;
    DWORD margins = 0;
    DWORD data = 0;
    int leftGap = 0, rightGap = 0;
    IHybridHandler* handler = nullptr;
    IHybridCell** cellOut = nullptr;
    void** resultOut = nullptr;
    IHybridContent* content = nullptr;
    DWORD picture[2] = {0, 0};
    HICON icon = nullptr;

    void Take(WCHAR directive, va_list* args)
    {
        switch (directive) {
        case L'n': column = IntArg(args); break;
        case L'b': before = PtrArg<IHybridCell**>(args); break;
        case L'p': existing = PtrArg<IHybridCell**>(args); break;
        case L't': text = PtrArg<LPCWSTR>(args); break;
        case L'T': textId = DWordArg(args); break;
        case L's': stdStyle = IntArg(args); break;
        case L'S': styleBits = DWordArg(args); break;
        case L'c': bkColor = DWordArg(args); break;
        case L'e': margins = DWordArg(args); break;
        case L'I': data = DWordArg(args); break;
        case L'L': leftGap = IntArg(args); break;
        case L'R': rightGap = IntArg(args); break;
        case L'H': handler = PtrArg<IHybridHandler*>(args); break;
        case L'C': cellOut = PtrArg<IHybridCell**>(args); break;
        case L'r': resultOut = PtrArg<void**>(args); break;
        case L'o': content = PtrArg<IHybridContent*>(args); break;
        case L'B':
            picture[0] = DWordArg(args);
            picture[1] = DWordArg(args);
            break;
        case L'i': icon = PtrArg<HICON>(args); break;
        case L'h': IntArg(args); break;
        default: break; // takes no argument
        }
    }
};

// The new child (or the cell %p names) with colour, margins, gaps, data
// and style bits applied to a new one.
bool MakeCell(IHybridSubContent* parent, const SCellArgs& a, CIPtr<IHybridCell>& cell)
{
    if (a.existing && *a.existing) {
        cell = *a.existing;
        return true;
    }
    if (!parent->InsertChild(a.column, &cell, a.before ? *a.before : nullptr) || !cell)
        return false;
    if (a.bkColor != HYBRID_COLOR_UNSET)
        cell->SetBkColor(a.bkColor, false);
    if (a.margins)
        cell->SetMargins(a.margins);
    if (a.leftGap || a.rightGap) {
        // Gaps belong to the children's list: made as the builder makes it.
        CIPtr<IHybridSubContent> own;
        if (!cell->GetSubContent(&own) || !own) {
            cell->SetSubContent(nullptr, 2);
            cell->GetSubContent(&own);
        }
        if (own)
            own->SetLeftGap(a.leftGap)->SetRightGap(a.rightGap);
    }
    cell->SetData(a.data);
    if (a.styleBits) {
        uint64_t bits = cell->GetStyleBits();
        if (a.styleBits & kPlacementBits)
            bits &= ~static_cast<uint64_t>(kPlacementBits);
        bits |= a.styleBits;
        cell->SetStyleBits(static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32));
    }
    return true;
}

// The id of the interface a letter's content answers as its %r result.
const IID* ResultInterface(WCHAR letter)
{
    switch (letter) {
    case L'B': return &IID_IHybridButton;
    case L'E': return &IID_IHybridEdit;
    case L'T': return &IID_IHybridText;
    case L'h': return &IID_IHeadingContent;
    case L'P': return &IID_IHybridPicture;
    case L'c': return &IID_IHybridCombo;
    case L'p': return &IID_IHybridProgress;
    case L'x': return &IID_IHybridCheckBox;
    case L'L': return &IID_IHybridSlider;
    case L'd': return &IID_IHybridDate;
    case L's': return &IID_IHybridSeparator;
    default: return nullptr; // t, U: no result
    }
}

// Applies the letter's content settings; `result` keeps the content's own
// interface (a reference held), or stays null when it does not answer.
void SetUpContent(CHybridCtrl* control, IHybridCell* cell, WCHAR letter, const SCellArgs& a, LPCWSTR text,
                  IUnknown** result)
{
    IHybridContent* content = cell->GetContentPtr();
    if (!content)
        return;
    IHybridStyle* style = a.stdStyle >= 1 && a.stdStyle <= 3 ? control->GetStdStyle(a.stdStyle) : nullptr;
    if (style)
        cell->SetStyle(style);
    const IID* iid = ResultInterface(letter);
    void* object = nullptr;
    if (!iid || FAILED(content->QueryInterface(*iid, &object)) || !object)
        return;
    *result = static_cast<IUnknown*>(object);
    if (!style && (letter == L'E' || letter == L'T' || letter == L'h' || letter == L'c' || letter == L'p'))
        cell->SetStyle(control->GetStdStyle(HCS_NORMAL));
    switch (letter) {
    case L'B': {
        IHybridButton* button = static_cast<IHybridButton*>(object);
        if (a.picture[0])
            button->SetImage(a.picture[0], a.picture[1]);
        if (text)
            button->SetText(text);
        break;
    }
    case L'E': static_cast<IHybridEdit*>(object)->SetText(text); break;
    case L'T': static_cast<IHybridText*>(object)->SetText(text); break;
    case L'h': static_cast<IHeadingContent*>(object)->SetText(text); break;
    case L'x': static_cast<IHybridCheckBox*>(object)->SetText(text); break;
    case L'P': {
        IHybridPicture* picture = static_cast<IHybridPicture*>(object);
        if (a.icon)
            picture->SetIcon(a.icon);
        else if (a.picture[0])
            picture->SetBitmap(static_cast<int>(a.picture[0]), a.picture[1]);
        break;
    }
    default: break;
    }
}

LPCWSTR SkipLevel(LPCWSTR p, va_list* args);

// One cell letter at p (after the letter); `count` is the number of items
// made so far at this level.
LPCWSTR ParseCell(CHybridCtrl* control, IHybridSubContent* parent, WCHAR letter, LPCWSTR p, va_list* args, int count)
{
    SCellArgs a;
    a.column = count;
    p = ScanDirectives(p, [&](WCHAR d) { a.Take(d, args); });
    CString loaded;
    LPCWSTR text = a.text;
    if (a.textId) {
        loaded.LoadString(a.textId);
        text = loaded;
    }

    CIPtr<IHybridCell> cell;
    if (MakeCell(parent, a, cell)) {
        if (a.handler)
            cell->SetHandler(a.handler);
        ReturnInterface(cell, a.cellOut);
        CIPtr<IUnknown> result;
        if (letter == L'C') {
            result = static_cast<IUnknown*>(cell.Get());
        } else if (letter == L'U') {
            if (a.content) {
                a.content->SetCell(cell);
                cell->SetContent(a.content);
                a.content->OnAttach();
            }
        } else {
            cell->CreateContent(letter, cell->GetStyleBits() | a.styleBits);
        }
        IUnknown* own = nullptr;
        if (letter != L'C') {
            SetUpContent(control, cell, letter, a, text, &own);
            result.Attach(own);
        }
        if (a.resultOut && result)
            *a.resultOut = CIPtr<IUnknown>(result).Detach(); // the caller's reference
    }
    if (*p != L'{')
        return p;
    // Children: into the cell's list (made when it has none). Without a
    // cell they are still read, so that the arguments stay in step.
    CIPtr<IHybridSubContent> sub;
    if (cell && (!cell->GetSubContent(&sub) || !sub)) {
        cell->SetSubContent(nullptr, 2);
        cell->GetSubContent(&sub);
    }
    p = sub ? ParseLayoutLevel(control, sub, p + 1, args) : SkipLevel(p + 1, args);
    return *p == L'}' ? p + 1 : p;
}

LPCWSTR ParseHeading(CHybridCtrl* control, LPCWSTR p, va_list* args)
{
    CDWordArrayEx widths;
    IHybridHeading** out = nullptr;
    p = ScanDirectives(p, [&](WCHAR d) {
        if (d == L'w')
            widths.Add(static_cast<DWORD>(IntArg(args)));
        else if (d == L'r')
            out = PtrArg<IHybridHeading**>(args);
    });
    CIPtr<IHybridHeading> model(new CHybridHeading(control));
    for (int i = 0; i < widths.GetSize(); ++i)
        model->InsertColumn(i, static_cast<int>(widths.GetAt(i)));
    ReturnInterface(model, out);
    return p;
}

LPCWSTR ParseStyle(CHybridCtrl* control, LPCWSTR p, va_list* args)
{
    HFONT font = nullptr;
    int weight = -1, percent = -1;
    COLORREF text = 0, back = control->GetBkColor();
    COLORREF selBack = ::GetSysColor(COLOR_HIGHLIGHT), selText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    IHybridStyle** out = nullptr;
    p = ScanDirectives(p, [&](WCHAR d) {
        switch (d) {
        case L'f': font = PtrArg<HFONT>(args); break;
        case L'b': weight = IntArg(args); break;
        case L's': percent = IntArg(args); break;
        case L'c': text = DWordArg(args); break;
        case L'B': back = DWordArg(args); break;
        case L'S': selBack = DWordArg(args); break;
        case L't': selText = DWordArg(args); break;
        case L'r': out = PtrArg<IHybridStyle**>(args); break;
        default: break;
        }
    });
    LOGFONTW logFont{};
    if (!font || !::GetObjectW(font, sizeof(logFont), &logFont))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    if (weight != -1)
        logFont.lfWeight = weight;
    if (percent != -1)
        logFont.lfHeight = logFont.lfHeight * percent / 100;
    CIPtr<IHybridStyle> style(new CStyle);
    style->SetFont(&logFont);
    style->SetTextColor(text);
    style->SetBkColor(back);
    style->SetSelBkColor(selBack);
    style->SetSelTextColor(selText);
    ReturnInterface(style, out);
    return p;
}

// Skips the items of a level nobody receives, taking their arguments.
LPCWSTR SkipLevel(LPCWSTR p, va_list* args)
{
    SCellArgs ignored;
    while (*p && *p != L'}') {
        if (*p == L'(') {
            p = ScanDirectives(p, [&](WCHAR d) { ignored.Take(d, args); });
        } else if (*p == L'{') {
            p = SkipLevel(p + 1, args);
            if (*p == L'}')
                ++p;
        } else {
            ++p;
        }
    }
    return p;
}

} // namespace

LPCWSTR ParseLayoutLevel(CHybridCtrl* control, IHybridSubContent* parent, LPCWSTR position, va_list* args)
{
    if (!position || !args || !parent || !control)
        return position;
    LPCWSTR p = position;
    int count = 0;
    while (*p && *p != L'}') {
        const WCHAR c = *p++;
        if (c == L'H') {
            p = ParseHeading(control, p, args);
        } else if (c == L'S') {
            p = ParseStyle(control, p, args);
        } else if (IsCellLetter(c)) {
            p = ParseCell(control, parent, c, p, args, count);
            ++count;
        }
    }
    return p;
}

void BuildFromLayoutStringV(CHybridCtrl* control, LPCWSTR format, va_list args)
{
    if (!control || !format)
        return;
    va_list copy;
    va_copy(copy, args);
    ParseLayoutLevel(control, control->GetRootSubContent(), format, &copy);
    va_end(copy);
}

void BuildFromLayoutString(CHybridCtrl* control, LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    BuildFromLayoutStringV(control, format, args);
    va_end(args);
}
