#include <gtest/gtest.h>
#include "common/Interfaces.h"
#include "common/PtrArrays.h"

namespace {

struct IFirst : public IUnknown
{
    virtual int First() = 0;
};
struct ISecond : public IUnknown
{
    virtual int Second() = 0;
};
// {0F8B5A52-7C1E-4B0C-9D0A-3E6F1C2B4A01}
inline constexpr IID IID_IFirst = {0x0F8B5A52, 0x7C1E, 0x4B0C, {0x9D, 0x0A, 0x3E, 0x6F, 0x1C, 0x2B, 0x4A, 0x01}};
// {0F8B5A52-7C1E-4B0C-9D0A-3E6F1C2B4A02}
inline constexpr IID IID_ISecond = {0x0F8B5A52, 0x7C1E, 0x4B0C, {0x9D, 0x0A, 0x3E, 0x6F, 0x1C, 0x2B, 0x4A, 0x02}};
// {0F8B5A52-7C1E-4B0C-9D0A-3E6F1C2B4A03}: an id nobody implements
inline constexpr IID IID_INobody = {0x0F8B5A52, 0x7C1E, 0x4B0C, {0x9D, 0x0A, 0x3E, 0x6F, 0x1C, 0x2B, 0x4A, 0x03}};

// A test object with two interfaces; *destroyed is set by its destructor.
class CTwoFaces : public IFirst, public ISecond
{
public:
    CTwoFaces(bool* destroyed, LONG initialRefs = 0) : m_refs(initialRefs), m_destroyed(destroyed) {}
    virtual ~CTwoFaces()
    {
        if (m_destroyed)
            *m_destroyed = true;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return AnswerQueryInterface(riid, ppv,
                                    {{IID_IUnknown, static_cast<IFirst*>(this)},
                                     {IID_IFirst, static_cast<IFirst*>(this)},
                                     {IID_ISecond, static_cast<ISecond*>(this)}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_refs.Release(this); }
    int First() override { return 1; }
    int Second() override { return 2; }

    LONG Count() const { return m_refs.Get(); }

private:
    CRefCount m_refs;
    bool* m_destroyed;
};

TEST(QueryInterface, AnswersTheMatchingSubObjectAndHandsOutAReference)
{
    bool destroyed = false;
    CTwoFaces* obj = new CTwoFaces(&destroyed);
    CIPtr<IFirst> first(obj);
    EXPECT_EQ(1, obj->Count());

    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(S_OK, obj->QueryInterface(IID_ISecond, &out));
    EXPECT_EQ(static_cast<ISecond*>(obj), out);
    EXPECT_NE(static_cast<void*>(static_cast<IFirst*>(obj)), out); // a different sub-object
    EXPECT_EQ(2, obj->Count());
    EXPECT_EQ(2, static_cast<ISecond*>(out)->Second());
    static_cast<ISecond*>(out)->Release();

    out = nullptr;
    EXPECT_EQ(S_OK, obj->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<void*>(static_cast<IUnknown*>(static_cast<IFirst*>(obj))), out);
    static_cast<IUnknown*>(out)->Release();

    out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(E_NOINTERFACE, obj->QueryInterface(IID_INobody, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_INVALIDARG, obj->QueryInterface(IID_IFirst, nullptr));
    EXPECT_EQ(1, obj->Count());

    // The smart pointer's query and COM identity across the two faces.
    CIPtr<ISecond> second;
    EXPECT_EQ(S_OK, second.QueryFrom(first, IID_ISecond));
    EXPECT_EQ(2, obj->Count());
    EXPECT_TRUE(IsSameObject(first, second));
    bool otherDestroyed = false;
    CIPtr<IFirst> other(new CTwoFaces(&otherDestroyed));
    EXPECT_FALSE(IsSameObject(first, other));

    // Handing an interface out adds a reference; nothing is handed out
    // from a null pointer or into a null slot.
    IFirst* out1 = nullptr;
    EXPECT_TRUE(ReturnInterface(other, &out1));
    EXPECT_EQ(other.Get(), out1);
    EXPECT_EQ(2, static_cast<CTwoFaces*>(out1)->Count());
    out1->Release();
    IFirst* untouched = reinterpret_cast<IFirst*>(0x1234);
    EXPECT_FALSE(ReturnInterface(static_cast<IFirst*>(nullptr), &untouched));
    EXPECT_EQ(reinterpret_cast<IFirst*>(0x1234), untouched);
    EXPECT_FALSE(ReturnInterface(other, static_cast<IFirst**>(nullptr)));
    EXPECT_EQ(1, static_cast<CTwoFaces*>(other.Get())->Count());

    first = nullptr;
    EXPECT_FALSE(destroyed);
    second.Release();
    EXPECT_TRUE(destroyed); // the last reference deleted it
}

TEST(SmartPointer, CopyMoveAssignAndOutParameter)
{
    bool destroyed = false;
    CTwoFaces* obj = new CTwoFaces(&destroyed, 1); // starts with the creator's reference
    {
        CIPtr<IFirst> a;
        a.Attach(obj); // takes the creator's reference over
        EXPECT_EQ(1, obj->Count());
        CIPtr<IFirst> b(a);
        EXPECT_EQ(2, obj->Count());
        CIPtr<IFirst> c(std::move(b));
        EXPECT_EQ(2, obj->Count());
        EXPECT_EQ(nullptr, b.Get());
        c = a.Get(); // assigning the pointer it already holds
        EXPECT_EQ(2, obj->Count());
        c = c;
        EXPECT_EQ(2, obj->Count());
        CIPtr<IFirst> d;
        d = std::move(c); // move assignment hands the reference over
        EXPECT_EQ(2, obj->Count());
        EXPECT_EQ(nullptr, c.Get());
        c = std::move(d);
        // As an out-parameter: the old reference is let go first.
        EXPECT_EQ(S_OK, obj->QueryInterface(IID_IFirst, reinterpret_cast<void**>(&c)));
        EXPECT_EQ(2, obj->Count());
        IFirst* raw = c.Detach();
        EXPECT_EQ(2, obj->Count());
        raw->Release();
        EXPECT_EQ(1, obj->Count());
    }
    EXPECT_TRUE(destroyed);
}

TEST(InterfaceArray, NullIsRefusedAndTheSameObjectTwiceHoldsTwoReferences)
{
    bool destroyed = false;
    CTwoFaces* obj = new CTwoFaces(&destroyed);
    CIArray<IFirst> arr;
    EXPECT_EQ(-1, arr.Add(nullptr));
    EXPECT_EQ(0, arr.GetSize());
    EXPECT_EQ(0, arr.Add(obj));
    EXPECT_EQ(1, arr.Add(obj));
    EXPECT_EQ(2, obj->Count());
    arr.RemoveAt(0);
    EXPECT_EQ(1, obj->Count());
    EXPECT_FALSE(destroyed);
    arr.Add(obj);
    arr.RemoveAll();
    EXPECT_TRUE(destroyed);
}

TEST(InterfaceArray, SetAtSetAtGrowAndSetSizeReleaseExactlyWhatTheyReplaceOrDrop)
{
    bool aGone = false, bGone = false;
    CTwoFaces* a = new CTwoFaces(&aGone);
    CTwoFaces* b = new CTwoFaces(&bGone);
    CIArray<IFirst> arr;
    arr.Add(a);          // the array holds the only reference
    arr.SetAt(0, a);     // the held pointer again: kept alive
    arr.SetAtGrow(0, a); // inside: replaces itself
    EXPECT_FALSE(aGone);
    EXPECT_EQ(1, a->Count());
    arr.SetAtGrow(arr.GetSize() + 2, b); // grows by three slots: a null null b
    ASSERT_EQ(4, arr.GetSize());
    EXPECT_EQ(nullptr, arr[1]);
    EXPECT_EQ(nullptr, arr[2]);
    EXPECT_EQ(b, static_cast<CTwoFaces*>(arr[3]));
    EXPECT_FALSE(arr.IsValidIndex(4));
    EXPECT_THROW(arr.SetAt(4, nullptr), CInvalidArgException*);
    arr.Add(a);
    arr.SetSize(7); // a null null b a null null
    EXPECT_EQ(2, a->Count());
    arr.SetSize(1); // drops b, the second a and the nulls
    EXPECT_TRUE(bGone);
    EXPECT_EQ(1, a->Count());
    EXPECT_THROW(arr.SetSize(-2), CInvalidArgException*);

    bool otherGone = false;
    CTwoFaces* other = new CTwoFaces(&otherGone);
    arr.SetAt(0, other); // the replaced element is released
    EXPECT_TRUE(aGone);
    EXPECT_EQ(1, other->Count());
    arr.SetAt(0, nullptr);
    EXPECT_TRUE(otherGone);
}

TEST(InterfaceArray, InsertAppendAndCopyKeepReferencesRight)
{
    bool aGone = false, bGone = false;
    CTwoFaces* a = new CTwoFaces(&aGone);
    CTwoFaces* b = new CTwoFaces(&bGone);
    {
        CIArray<IFirst> one, two;
        one.Add(a);
        one.InsertAt(0, b, 2); // b b a
        one.InsertAt(5, a);    // b b a null null a
        ASSERT_EQ(6, one.GetSize());
        EXPECT_EQ(nullptr, one[3]);
        EXPECT_EQ(2, a->Count());
        EXPECT_EQ(2, b->Count());
        two.Add(a);
        EXPECT_EQ(1, two.Append(one)); // a b b a null null a
        EXPECT_EQ(5, a->Count());
        EXPECT_EQ(4, b->Count());
        one.Copy(two); // one's old references go, two's come
        EXPECT_EQ(6, a->Count());
        EXPECT_EQ(4, b->Count());
        two.RemoveAll();
        one.RemoveAt(1, 2);
        EXPECT_TRUE(bGone);
        EXPECT_EQ(3, a->Count());
    }
    EXPECT_TRUE(aGone);
}

TEST(InterfaceArray, FindUsesComIdentity)
{
    bool destroyed = false;
    CTwoFaces* obj = new CTwoFaces(&destroyed);
    CIArray<IUnknown> arr;
    arr.SetAtGrow(1, static_cast<IFirst*>(obj)); // slot 0 stays null
    EXPECT_EQ(1, arr.Find(static_cast<ISecond*>(obj)));
    EXPECT_EQ(1, obj->Count()); // the identity queries were released
    bool otherDestroyed = false;
    CIPtr<IFirst> other(new CTwoFaces(&otherDestroyed));
    EXPECT_EQ(-1, arr.Find(other));
    EXPECT_EQ(-1, arr.Find(nullptr));
    arr.RemoveAll();
    EXPECT_TRUE(destroyed);
}

} // namespace
