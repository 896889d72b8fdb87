#include <gtest/gtest.h>
#include <set>
#include "platform/mfc/afx.h"

namespace {

// Runs f, which must throw a CInvalidArgException; catches it the way the
// system's code does (as CException*) and deletes it.
template <class F>
bool ThrowsInvalidArg(F f)
{
    try {
        f();
    } catch (CException* e) {
        const bool ok = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)) != FALSE;
        e->Delete();
        return ok;
    }
    return false;
}

TEST(Arrays, IndexOutsideTheArrayThrowsInvalidArgument)
{
    CPtrArray a;
    int x = 0;
    a.Add(&x);
    a.Add(nullptr);
    EXPECT_EQ(&x, a.GetAt(0));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetAt(2, &x); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.ElementAt(5) = nullptr; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a[2]; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(1, 2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetAtGrow(-1, nullptr); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.InsertAt(-1, static_cast<void*>(nullptr)); }));
    EXPECT_EQ(2, a.GetSize()); // nothing changed by the failed calls

    CDWordArray d;
    EXPECT_TRUE(ThrowsInvalidArg([&] { d.GetAt(0); }));
    CStringArray s;
    EXPECT_TRUE(ThrowsInvalidArg([&] { s.ElementAt(0); }));

    // Caught as its own type too.
    EXPECT_THROW(d[0], CInvalidArgException*);
}

TEST(Arrays, GrowInsertRemove)
{
    CDWordArray a;
    a.SetAtGrow(3, 7); // slots 0..2 are zero
    ASSERT_EQ(4, a.GetSize());
    EXPECT_EQ(0u, a[0]);
    EXPECT_EQ(7u, a[3]);
    a.InsertAt(1, 5, 2); // 0 5 5 0 0 7
    a.InsertAt(8, 9);    // past the end: 0 5 5 0 0 7 0 0 9
    ASSERT_EQ(9, a.GetSize());
    EXPECT_EQ(5u, a[2]);
    EXPECT_EQ(0u, a[6]);
    EXPECT_EQ(9u, a[8]);
    a.RemoveAt(0, 3); // 0 0 7 0 0 9
    EXPECT_EQ(6, a.GetSize());
    EXPECT_EQ(7u, a[2]);
    EXPECT_EQ(5, a.GetUpperBound());

    CDWordArray b;
    b.Add(1);
    b.Add(2);
    EXPECT_EQ(6, a.Append(b)); // index of the first appended element
    EXPECT_EQ(8, a.GetSize());
    a.Append(a); // appending itself doubles it
    EXPECT_EQ(16, a.GetSize());
    EXPECT_EQ(2u, a[15]);
    a.Copy(b);
    ASSERT_EQ(2, a.GetSize());
    EXPECT_EQ(1u, a.GetData()[0]);
    a.SetSize(0);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(nullptr, a.GetData());

    // SetAtGrow with an element of the array itself while it grows.
    CStringArray s;
    s.Add(L"first");
    s.SetAtGrow(100, s[0]);
    EXPECT_STREQ(L"first", s[100]);
    EXPECT_TRUE(s[50].IsEmpty());
}

struct SItem
{
    int id;
};

TEST(Arrays, TypedPointerArrayAndValueArray)
{
    SItem one{1}, two{2};
    CTypedPtrArray<CPtrArray, SItem*> a;
    EXPECT_EQ(0, a.Add(&one));
    EXPECT_EQ(1, a.Add(&two));
    EXPECT_EQ(2, a.GetAt(1)->id);
    a.ElementAt(0) = &two;
    EXPECT_EQ(&two, a[0]);
    a.InsertAt(0, &one);
    EXPECT_EQ(&one, a.GetData()[0]);
    EXPECT_TRUE(a.IsKindOf(RUNTIME_CLASS(CPtrArray)));

    CArray<CRect, const CRect&> rects;
    rects.Add(CRect(0, 0, 10, 20));
    rects[0].OffsetRect(5, 5);
    EXPECT_EQ(CRect(5, 5, 15, 25), rects.GetAt(0));
}

TEST(Maps, StringToString)
{
    CMapStringToString m;
    CString v;
    EXPECT_EQ(nullptr, m.GetStartPosition());
    m.SetAt(L"b", L"2");
    m[L"a"] = L"1";
    m[L"c"] = L"3";
    m.SetAt(L"b", L"two");
    EXPECT_EQ(3, m.GetCount());
    EXPECT_TRUE(m.Lookup(L"b", v));
    EXPECT_STREQ(L"two", v);
    EXPECT_FALSE(m.Lookup(L"B", v)); // keys are case-sensitive
    EXPECT_TRUE(m.RemoveKey(L"a"));
    EXPECT_FALSE(m.RemoveKey(L"a"));

    std::set<std::wstring> seen;
    CString key;
    for (POSITION pos = m.GetStartPosition(); pos;) {
        m.GetNextAssoc(pos, key, v);
        seen.insert(std::wstring(key) + L"=" + std::wstring(v));
    }
    EXPECT_EQ((std::set<std::wstring>{L"b=two", L"c=3"}), seen);
    m.RemoveAll();
    EXPECT_TRUE(m.IsEmpty());
}

class CBaseThing : public CObject
{
    DECLARE_DYNAMIC(CBaseThing)
};
IMPLEMENT_DYNAMIC(CBaseThing, CObject)

class CMadeThing : public CBaseThing
{
    DECLARE_DYNCREATE(CMadeThing)
};
IMPLEMENT_DYNCREATE(CMadeThing, CBaseThing)

TEST(RuntimeClass, KindOfAndCreation)
{
    CObject* made = RUNTIME_CLASS(CMadeThing)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CMadeThing)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CBaseThing)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_STREQ("CMadeThing", made->GetRuntimeClass()->m_lpszClassName);
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CBaseThing)->CreateObject());

    CInvalidArgException* e = new CInvalidArgException();
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();
}

TEST(Exceptions, MemoryExceptionIsCatchableAndDeletable)
{
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
        wchar_t text[64];
        EXPECT_TRUE(e->GetErrorMessage(text, 64));
        e->Delete();
    }
}

TEST(Geometry, RectMembers)
{
    CRect r(30, 40, 10, 20);
    EXPECT_TRUE(r.IsRectEmpty());
    r.NormalizeRect();
    EXPECT_EQ(CRect(10, 20, 30, 40), r);
    EXPECT_EQ(20, r.Width());
    EXPECT_EQ(CPoint(20, 30), r.CenterPoint());
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 40))); // right and bottom are outside
    r.TopLeft().x = 0;
    EXPECT_EQ(0, r.left);
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(1, 22, 27, 36), r);
    r.InflateRect(1, 1);
    EXPECT_EQ(CRect(0, 21, 28, 37), r);

    CRect i;
    EXPECT_FALSE(i.IntersectRect(CRect(0, 0, 5, 5), CRect(6, 6, 9, 9)));
    EXPECT_TRUE(i.IsRectNull());
    EXPECT_TRUE(i.IntersectRect(CRect(0, 0, 5, 5), CRect(3, 3, 9, 9)));
    EXPECT_EQ(CRect(3, 3, 5, 5), i);
    CRect u;
    u.UnionRect(CRect(0, 0, 5, 5), CRect(3, 3, 9, 9));
    EXPECT_EQ(CRect(0, 0, 9, 9), u);
    EXPECT_EQ(CSize(9, 9), u.Size());
    EXPECT_EQ(CSize(3, -4), CPoint(5, 1) - CPoint(2, 5));
    EXPECT_EQ(CPoint(-5, 7), CPoint(MAKELPARAM(-5, 7)));
}

} // namespace
