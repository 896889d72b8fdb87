#include "common/TextTree.h"

#include "common/AdvFile.h"
#include "common/Scramble.h"
#include "common/ScopedHandle.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cwchar>
#include <new>
#include <vector>

namespace {

// Project files are small; anything larger is not one of ours.
const ULONGLONG kMaxFileBytes = 64ull * 1024 * 1024;
const ULONGLONG kProgressFromBytes = 30721;
const UINT kLoadingFileText = 10083;

bool AllOf(const CString& text, LPCWSTR allowed)
{
    if (text.IsEmpty())
        return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (!wcschr(allowed, text[i]))
            return false;
    return true;
}

// An optional leading '-', then at least one character, all of `allowed`.
// `digits` receives the part after the sign.
bool SignedOf(const CString& text, LPCWSTR allowed, CString& digits, bool& negative)
{
    negative = !text.IsEmpty() && text[0] == L'-';
    digits = negative ? text.Mid(1) : text;
    return AllOf(digits, allowed);
}

// Decimal digits with an optional leading '-'; false when the number does
// not fit in 64 bits.
bool ParseInt64(const CString& text, LONGLONG& out)
{
    CString digits;
    bool negative = false;
    if (!SignedOf(text, L"0123456789", digits, negative))
        return false;
    const unsigned long long limit = negative ? 1ull + LLONG_MAX : LLONG_MAX;
    unsigned long long magnitude = 0;
    for (int i = 0; i < digits.GetLength(); ++i) {
        const unsigned digit = digits[i] - L'0';
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    out = negative ? static_cast<LONGLONG>(0 - magnitude) : static_cast<LONGLONG>(magnitude);
    return true;
}

// Digits with at most one '.' that counts (a second one ends the number, as
// the C run time's conversion would); independent of the locale.
double ParseDecimal(const CString& text)
{
    unsigned long long mantissa = 0;
    int fractionDigits = 0, extraIntegerDigits = 0;
    bool afterPoint = false;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if (c == L'.') {
            if (afterPoint)
                break;
            afterPoint = true;
            continue;
        }
        const unsigned digit = c - L'0';
        if (mantissa < 100000000000000000ull) {
            mantissa = mantissa * 10 + digit;
            if (afterPoint)
                ++fractionDigits;
        } else if (!afterPoint) {
            ++extraIntegerDigits; // beyond double precision anyway
        }
    }
    double value = static_cast<double>(mantissa);
    for (int i = 0; i < extraIntegerDigits; ++i)
        value *= 10;
    double scale = 1;
    for (int i = 0; i < fractionDigits; ++i)
        scale *= 10;
    return value / scale;
}

// A temporary file, removed at scope end unless given up (Detach).
using CTempFile = CScopedHandle<CString, &::DeleteFileW>;

} // namespace

SNode::SNode(CTextTree* owner_, bool isGroup_, LPCWSTR name_, LPCWSTR value_)
    : owner(owner_), name(name_), value(value_), isGroup(isGroup_)
{
}

CTextTree::CTextTree(LPCWSTR rootKey) : m_rootKey(rootKey), m_root(this, true, rootKey)
{
    m_openGroups.Add(&m_root);
}

bool CTextTree::BeginGroup(LPCWSTR name)
{
    SNode* current = GetCurrentGroup();
    if (!current)
        return false;
    SNode* group = new SNode(this, true, name);
    current->children.Add(group);
    m_openGroups.Add(group);
    return true;
}

bool CTextTree::AddLeaf(LPCWSTR name, const CString& value)
{
    SNode* current = GetCurrentGroup();
    if (!name || !*name || !current)
        return false;
    current->children.Add(new SNode(this, false, name, value));
    return true;
}

bool CTextTree::SetInt64(LPCWSTR name, LONGLONG value)
{
    CString text;
    text.Format(L"%I64d", value);
    return AddLeaf(name, text);
}

bool CTextTree::SetInt(LPCWSTR name, int value)
{
    CString text;
    text.Format(L"%d", value);
    return AddLeaf(name, text);
}

bool CTextTree::SetUInt(LPCWSTR name, UINT value)
{
    CString text;
    text.Format(L"%u", value);
    return AddLeaf(name, text);
}

bool CTextTree::SetFloat(LPCWSTR name, float value)
{
    // "%f" of an infinity or NaN is no number GetFloat could read back.
    if (!std::isfinite(value))
        return false;
    CString text;
    text.Format(L"%f", static_cast<double>(value));
    // Whatever the run time's locale says, the file holds a point.
    const lconv* conv = localeconv();
    if (conv && conv->decimal_point && conv->decimal_point[0] && conv->decimal_point[0] != '.' &&
        !(conv->decimal_point[0] & 0x80))
        text.Replace(static_cast<wchar_t>(conv->decimal_point[0]), L'.');
    text.Replace(L',', L'.');
    return AddLeaf(name, text);
}

bool CTextTree::SetString(LPCWSTR name, LPCWSTR text, int mode)
{
    if (!text)
        return false;
    return AddLeaf(name, StoredForm(text, mode));
}

bool CTextTree::EnterGroup(LPCWSTR name)
{
    SNode* child = FindChild(name);
    if (!child)
        return false;
    m_openGroups.Add(child);
    return true;
}

bool CTextTree::EndGroup()
{
    const INT_PTR n = m_openGroups.GetSize();
    if (n == 0)
        return false;
    m_openGroups.RemoveAt(n - 1);
    return true;
}

bool CTextTree::PushGroup(SNode* node)
{
    if (!node)
        return false;
    m_openGroups.Add(node);
    return true;
}

SNode* CTextTree::GetCurrentGroup() const
{
    const INT_PTR n = m_openGroups.GetSize();
    return n ? m_openGroups.GetAt(n - 1) : nullptr;
}

SNode* CTextTree::FindChild(LPCWSTR name) const
{
    const SNode* current = GetCurrentGroup();
    if (!current || !name)
        return nullptr;
    for (INT_PTR i = 0; i < current->children.GetSize(); ++i) {
        SNode* child = current->children.GetAt(i);
        if (!child)
            break;
        if (child->name == name)
            return child;
    }
    return nullptr;
}

void CTextTree::ListLeafNames(CStringArray& names) const
{
    const SNode* current = GetCurrentGroup();
    if (!current)
        return;
    for (INT_PTR i = 0; i < current->children.GetSize(); ++i) {
        const SNode* child = current->children.GetAt(i);
        if (child && !child->isGroup)
            names.Add(child->name);
    }
}

bool CTextTree::GetString(LPCWSTR name, CString& out, int mode) const
{
    const SNode* child = FindChild(name);
    if (!child)
        return false;
    if (mode == 0) {
        out = child->value;
        return true;
    }
    return UnscrambleString(child->value, out);
}

bool CTextTree::GetInt64(LPCWSTR name, LONGLONG& out) const
{
    const SNode* child = FindChild(name);
    LONGLONG value = 0;
    if (!child || !ParseInt64(child->value, value))
        return false;
    out = value;
    return true;
}

bool CTextTree::GetInt(LPCWSTR name, int& out) const
{
    const SNode* child = FindChild(name);
    if (!child || !AllOf(child->value, L"0123456789-"))
        return false;
    out = _wtoi(child->value);
    return true;
}

bool CTextTree::GetUInt(LPCWSTR name, UINT& out) const
{
    const SNode* child = FindChild(name);
    if (!child || !AllOf(child->value, L"0123456789-"))
        return false;
    // Wide enough for every "%u" text: an int conversion would stop at 2^31.
    out = static_cast<UINT>(_wcstoi64(child->value, nullptr, 10));
    return true;
}

bool CTextTree::GetFloat(LPCWSTR name, float& out) const
{
    const SNode* child = FindChild(name);
    CString digits;
    bool negative = false;
    if (!child || !SignedOf(child->value, L"0123456789.", digits, negative))
        return false;
    const double magnitude = ParseDecimal(digits);
    out = static_cast<float>(negative ? -magnitude : magnitude);
    return true;
}

bool CTextTree::SaveTextTree(LPCWSTR path) const
{
    if (!path || !*path)
        return false;
    // A read-only file is not ours to replace (a rename would not ask).
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    // One temporary name per target: a save killed before its replace leaves
    // at most this one file, and the next save takes it over.
    const CString tempName = CString(path) + L".tmp";
    SetFileAttributesW(tempName, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(tempName);
    CTempFile temp(tempName);
    {
        CAdvFile file;
        if (!file.Create(tempName) || !file.WriteBOM() || !WriteTextTreeNode(m_root, file, 0) ||
            !FlushFileBuffers(file.GetHandle()))
            return false;
    }
    if (!MoveFileExW(tempName, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temp.Detach();
    return true;
}

bool CTextTree::LoadTextTree(LPCWSTR path, ILoadProgress* progress)
{
    CAdvFile file;
    if (!path || !file.OpenRead(path, false))
        return false;
    const ULONGLONG length = file.GetSize();
    if (length > kMaxFileBytes)
        return false;
    std::vector<BYTE> block;
    try {
        block.resize(static_cast<size_t>(length) + 2);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Only a big file announces itself with Begin; a given receiver hears
    // the steps and the End of every load, so its End always comes.
    if (progress && length >= kProgressFromBytes)
        progress->Begin(kLoadingFileText, static_cast<LONGLONG>(length), 0);
    DWORD got = 0;
    if (length > 0 && (!file.Read(block.data(), static_cast<DWORD>(length), &got) || got != length)) {
        if (progress)
            progress->End(0);
        return false;
    }
    file.Close();

    bool complete = true;
    if (length >= 2 && block[0] == 0xFF && block[1] == 0xFE) {
        // An odd trailing byte is no code unit: parse the rest, then refuse.
        complete = (length % 2) == 0;
        const size_t units = static_cast<size_t>((length - 2) / 2);
        std::vector<wchar_t> wide(units + 1, 0);
        memcpy(wide.data(), block.data() + 2, units * sizeof(wchar_t));
        m_text = CString(wide.data(), static_cast<int>(units));
    } else if (length > 0) {
        const int n = static_cast<int>(length);
        const char* bytes = reinterpret_cast<const char*>(block.data());
        const int units = MultiByteToWideChar(CP_ACP, 0, bytes, n, nullptr, 0);
        std::vector<wchar_t> wide(units > 0 ? units : 0);
        if (units > 0)
            MultiByteToWideChar(CP_ACP, 0, bytes, n, wide.data(), units);
        m_text = units > 0 ? CString(wide.data(), units) : CString();
    } else {
        m_text.Empty();
    }
    // The written form never holds a zero unit: the text ends at the first
    // one, and a file holding one is damaged.
    const wchar_t* begin = m_text;
    const size_t units = wcslen(begin);
    if (units != static_cast<size_t>(m_text.GetLength()))
        complete = false;
    const bool parsed = Parse(begin, progress);
    if (progress)
        progress->End(0);
    return parsed && complete;
}

bool CTextTree::Parse(LPCWSTR text, ILoadProgress* progress)
{
    if (!text)
        return false;
    m_root.children.RemoveAll();
    // The open groups referred into the old tree: start again at the root.
    m_openGroups.RemoveAll();
    m_openGroups.Add(&m_root);
    return ParseTextTree(m_root, text, text + wcslen(text), progress);
}

namespace {

void AppendNode(const SNode& node, CString& out)
{
    if (!node.isGroup) {
        out += node.name + L":|" + node.value + L"|\r\n";
        return;
    }
    out += node.name + L"\r\n{\r\n";
    for (INT_PTR i = 0; i < node.children.GetSize(); ++i) {
        const SNode* child = node.children.GetAt(i);
        if (!child)
            break;
        AppendNode(*child, out);
    }
    out += L"}\r\n";
}

} // namespace

bool CTextTree::ToString(CString& out) const
{
    AppendNode(m_root, out);
    return true;
}

CTextTreeKeyContext::~CTextTreeKeyContext()
{
    if (m_opened && m_tree)
        (void)m_tree->EndGroup(); // the group opened by this context: always open
}

bool CTextTreeKeyContext::Create(LPCWSTR name)
{
    m_opened = m_tree && name && m_tree->BeginGroup(name);
    return m_opened;
}

bool CTextTreeKeyContext::Open(LPCWSTR name)
{
    m_opened = m_tree && name && m_tree->EnterGroup(name);
    return m_opened;
}
