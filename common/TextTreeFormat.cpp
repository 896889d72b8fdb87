// The text-tree grammar: escaping, writing and parsing.
#include "common/TextTree.h"

#include "common/AdvFile.h"

namespace {

// Nodes deeper below the root, names and values longer than these are
// refused, by the reader and the writer alike: no file this program writes
// comes near them, and hostile files must stay bounded.
const int kMaxDepth = 200;
const int kMaxNameLength = 1024;
const int kMaxValueLength = 1 << 20;

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// A value the written form can hold: its escaped form within the limit, and
// no zero unit (the text of a file ends at the first one).
bool IsWritableValue(const CString& value)
{
    int escaped = value.GetLength();
    for (int i = 0; i < value.GetLength(); ++i) {
        const wchar_t c = value[i];
        if (c == 0)
            return false;
        if (c == L'{' || c == L'}' || c == L'|' || c == L'$')
            escaped += 2;
    }
    return escaped < kMaxValueLength;
}

bool IsValidName(const CString& name)
{
    if (name.IsEmpty() || name.GetLength() > kMaxNameLength)
        return false;
    for (int i = 0; i < name.GetLength(); ++i)
        if (!TextTreeFormat::IsNameChar(name[i]))
            return false;
    return true;
}

enum EParseState { PS_BETWEEN, PS_NAME, PS_VALUE };

enum EParseResult {
    PR_CLOSED,    // the group's closing brace was read
    PR_END,       // the text ended inside the group
    PR_MALFORMED, // a value without key, a group without name, too deep,
                  // a second root, a value that could not be written back
};

struct SParser
{
    const wchar_t* p;
    const wchar_t* end;
    const CString& rootKey;
    ILoadProgress* progress;
    bool rootOpened = false;
    bool nodesBeforeRoot = false;

    // Appends to `node`, which sits `depth` levels below the root.
    void Append(SNode* node, int depth, SNode* child)
    {
        if (depth == 0 && !rootOpened)
            nodesBeforeRoot = true;
        node->children.Add(child);
    }

    EParseResult ParseGroup(SNode* node, int depth)
    {
        EParseState state = PS_BETWEEN;
        CString name, key, value;
        while (p < end) {
            const wchar_t c = *p++;
            if (progress)
                progress->Step(1, 0);
            switch (state) {
            case PS_BETWEEN:
                if (TextTreeFormat::IsNameChar(c)) {
                    // A new name; one that has ended but not been used
                    // (the line before a brace) is replaced.
                    name = c;
                    state = PS_NAME;
                } else if (c == L'|') {
                    state = PS_VALUE;
                }
                break;
            case PS_NAME:
                if (TextTreeFormat::IsNameChar(c)) {
                    if (name.GetLength() >= kMaxNameLength)
                        return PR_MALFORMED;
                    name += c;
                } else if (c == L' ') {
                    // spaces inside a name are dropped
                } else {
                    if (c == L':') {
                        key = name;
                        name.Empty();
                    }
                    state = PS_BETWEEN;
                }
                break;
            case PS_VALUE:
                if (c == L'|') {
                    if (key.IsEmpty() || depth + 1 > kMaxDepth)
                        return PR_MALFORMED;
                    const CString text = TextTreeFormat::Unescape(value);
                    if (!IsWritableValue(text))
                        return PR_MALFORMED; // "$00" would cut the value short
                    Append(node, depth, new SNode(node->owner, false, key, text));
                    key.Empty();
                    value.Empty();
                    state = PS_BETWEEN;
                } else {
                    if (value.GetLength() >= kMaxValueLength)
                        return PR_MALFORMED;
                    value += c;
                }
                break;
            }
            if (c == L'}')
                return PR_CLOSED;
            if (c == L'{') {
                if (name.IsEmpty())
                    return PR_MALFORMED;
                if (name == rootKey) {
                    // The file's first group is the root: go on in this node.
                    // Anywhere else the root's name has no meaning the writer
                    // could give back.
                    if (depth != 0 || rootOpened)
                        return PR_MALFORMED;
                    rootOpened = true;
                    node->name = rootKey;
                } else {
                    if (depth + 1 > kMaxDepth)
                        return PR_MALFORMED;
                    SNode* child = new SNode(node->owner, true, name);
                    Append(node, depth, child);
                    const EParseResult inner = ParseGroup(child, depth + 1);
                    if (inner != PR_CLOSED)
                        return inner;
                }
                key.Empty();
                name.Empty();
            }
        }
        return PR_END; // a name or value cut off by the end is dropped
    }
};

} // namespace

bool TextTreeFormat::IsNameChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
}

CString TextTreeFormat::Escape(const CString& value)
{
    CString out;
    for (int i = 0; i < value.GetLength(); ++i) {
        const wchar_t c = value[i];
        if (c == L'{' || c == L'}' || c == L'|' || c == L'$')
            out.AppendFormat(L"$%02x", static_cast<unsigned>(c));
        else
            out += c;
    }
    return out;
}

CString TextTreeFormat::Unescape(const CString& value)
{
    CString out;
    const int n = value.GetLength();
    for (int i = 0; i < n; ++i) {
        const wchar_t c = value[i];
        if (c != L'$' || i + 2 >= n) {
            // Not an escape, or too close to the end to be one: kept as is.
            out += c;
            continue;
        }
        const int hi = HexValue(value[i + 1]);
        const int lo = HexValue(value[i + 2]);
        if (hi < 0)
            out += L'$';
        else
            out += static_cast<wchar_t>(lo < 0 ? hi : hi * 16 + lo);
        i += 2;
    }
    return out;
}

bool WriteTextTreeNode(const SNode& node, CAdvFile& file, int depth)
{
    // Refuse to write what the parser would not read back. A group below
    // the root named like the root would be read as the root itself.
    if (!IsValidName(node.name) || depth > kMaxDepth)
        return false;
    if (node.isGroup && depth > 0 && node.owner && node.name == node.owner->GetRootKey())
        return false;
    if (!node.isGroup) {
        // Nodes appended under an entered leaf have no written form; leaving
        // them out would lose them silently.
        if (node.children.GetSize() > 0)
            return false;
        return IsWritableValue(node.value) && file.WriteText(node.name) && file.WriteText(L":|") &&
               file.WriteText(TextTreeFormat::Escape(node.value)) && file.WriteText(L"|\r\n");
    }
    if (!(file.WriteText(node.name) && file.WriteText(L"\r\n{\r\n")))
        return false;
    for (INT_PTR i = 0; i < node.children.GetSize(); ++i) {
        const SNode* child = node.children.GetAt(i);
        if (!child)
            break;
        if (!WriteTextTreeNode(*child, file, depth + 1))
            return false;
    }
    return file.WriteText(L"}\r\n");
}

bool ParseTextTree(SNode& root, const wchar_t* begin, const wchar_t* end, ILoadProgress* progress)
{
    if (!root.owner || !begin || end < begin)
        return false;
    SParser parser{begin, end, root.owner->GetRootKey(), progress};
    if (parser.ParseGroup(&root, 0) != PR_CLOSED || !parser.rootOpened)
        return false;
    // The document ends with its root: anything but blanks after it is a
    // damaged file, and what it holds would be lost by the next save.
    for (; parser.p < end; ++parser.p) {
        if (progress)
            progress->Step(1, 0);
        const wchar_t c = *parser.p;
        if (c != L' ' && c != L'\t' && c != L'\r' && c != L'\n')
            return false;
    }
    return !parser.nodesBeforeRoot;
}
