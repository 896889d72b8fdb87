#pragma once
// The text tree: a hierarchical key/value document and its file format.
// A group holds child nodes, a leaf one text value. Files are UTF-16LE with
// the FF FE mark (files without it are read in the ANSI code page):
//     Root\r\n{\r\nkey:|value|\r\ngroup\r\n{\r\n}\r\n}\r\n
// Values escape "{}|$" as "$7b", "$7d", "$7c", "$24". Names are letters,
// digits and "_".
#include "platform/mfc/afx.h"
#include "common/PtrArrays.h"

class CTextTree;
class CAdvFile;

struct SNode
{
    SNode(CTextTree* owner, bool isGroup, LPCWSTR name, LPCWSTR value = nullptr);
    virtual ~SNode() = default;
    SNode(const SNode&) = delete;
    SNode& operator=(const SNode&) = delete;

    CTextTree* owner;
    CGCPtrArray<SNode> children{true}; // deletes the subtree
    CString name;
    CString value; // leaves only
    bool isGroup;
};

// Receiver of load progress. LoadTextTree calls Begin for big files only,
// Step (1) per character parsed and End once at the end of every load
// (whether or not Begin came).
class ILoadProgress
{
public:
    virtual void Begin(UINT stringId, LONGLONG total, DWORD flags) = 0;
    virtual void Step(LONGLONG amount, DWORD flags) = 0;
    virtual void End(DWORD flags) = 0;

protected:
    ~ILoadProgress() = default;
};

class CTextTree
{
public:
    explicit CTextTree(LPCWSTR rootKey);
    virtual ~CTextTree() = default;
    CTextTree(const CTextTree&) = delete;
    CTextTree& operator=(const CTextTree&) = delete;

    // Building: each appends to the current group; false with no current
    // group. Leaf setters refuse a null or empty name.
    [[nodiscard]] bool BeginGroup(LPCWSTR name);
    [[nodiscard]] bool SetInt64(LPCWSTR name, LONGLONG value);
    [[nodiscard]] bool SetInt(LPCWSTR name, int value);
    [[nodiscard]] bool SetUInt(LPCWSTR name, UINT value);
    // "%f", always with '.'; false for an infinity or NaN.
    [[nodiscard]] bool SetFloat(LPCWSTR name, float value);
    // mode 0 stores the text, 1 its scrambled form, anything else "".
    [[nodiscard]] bool SetString(LPCWSTR name, LPCWSTR text, int mode = 0);

    // Navigating the stack of open groups.
    [[nodiscard]] bool EnterGroup(LPCWSTR name);
    [[nodiscard]] bool EndGroup();
    [[nodiscard]] bool PushGroup(SNode* node);
    SNode* GetCurrentGroup() const;
    SNode* FindChild(LPCWSTR name) const;
    void ListLeafNames(CStringArray& names) const;

    // Getters: false (output untouched) for a missing child or a value of
    // the wrong form.
    [[nodiscard]] bool GetString(LPCWSTR name, CString& out, int mode = 0) const;
    [[nodiscard]] bool GetInt64(LPCWSTR name, LONGLONG& out) const; // digits, leading '-'
    [[nodiscard]] bool GetInt(LPCWSTR name, int& out) const;        // digits and '-'
    [[nodiscard]] bool GetUInt(LPCWSTR name, UINT& out) const;      // digits and '-'
    [[nodiscard]] bool GetFloat(LPCWSTR name, float& out) const;    // digits, '.', leading '-'

    // Writes the document to the temporary file `path` + ".tmp" (a stale
    // one is replaced) and replaces `path` with it in one step; on any
    // failure the old file stays as it was and the result is false.
    [[nodiscard]] bool SaveTextTree(LPCWSTR path) const;
    // Reads and parses a file. False for a missing, unreadable or oversized
    // file and for text that is not exactly one complete, well-formed root
    // group (blanks aside): what could be parsed before the fault stays in
    // the tree. Everything that loads as true can be saved back.
    [[nodiscard]] bool LoadTextTree(LPCWSTR path, ILoadProgress* progress = nullptr);
    // Replaces the root's children by the parsed text (see LoadTextTree).
    // A given receiver gets Step (1) per character read: its Begin and End
    // are the caller's.
    [[nodiscard]] bool Parse(LPCWSTR text, ILoadProgress* progress = nullptr);
    // Appends the written form without escaping.
    [[nodiscard]] bool ToString(CString& out) const;

    SNode& GetRoot() { return m_root; }
    const CString& GetRootKey() const { return m_rootKey; }
    const CString& GetText() const { return m_text; }

private:
    [[nodiscard]] bool AddLeaf(LPCWSTR name, const CString& value);

    CString m_rootKey;
    SNode m_root;
    CovPtrArray<SNode> m_openGroups; // refers into the tree
    CString m_text;
};

// Scope guard: opens or enters a group and ends it when it goes.
class CTextTreeKeyContext
{
public:
    explicit CTextTreeKeyContext(CTextTree* tree) : m_tree(tree) {}
    virtual ~CTextTreeKeyContext();
    CTextTreeKeyContext(const CTextTreeKeyContext&) = delete;
    CTextTreeKeyContext& operator=(const CTextTreeKeyContext&) = delete;

    [[nodiscard]] bool Create(LPCWSTR name);
    [[nodiscard]] bool Open(LPCWSTR name);
    [[nodiscard]] bool IsOpened() const { return m_opened; }

private:
    CTextTree* m_tree;
    bool m_opened = false;
};

// The text-tree grammar, shared by the document and its tests.
namespace TextTreeFormat {
[[nodiscard]] bool IsNameChar(wchar_t c);
// "{}|$" as "$xx"; every other character unchanged.
CString Escape(const CString& value);
CString Unescape(const CString& value);
} // namespace TextTreeFormat

// The reading grammar's state machine: appends what [begin, end) holds to
// `root`, whose owner's root key names the file's first group. True only
// for exactly one complete, well-formed root group (blanks aside); what was
// parsed before a fault stays. A given receiver gets Step (1) per character.
[[nodiscard]] bool ParseTextTree(SNode& root, const wchar_t* begin, const wchar_t* end, ILoadProgress* progress);
// Writes `node` (which sits `depth` levels below the root) and its subtree
// in the written form; false on the first failed write or on a node that
// could not be read back.
[[nodiscard]] bool WriteTextTreeNode(const SNode& node, CAdvFile& file, int depth);
