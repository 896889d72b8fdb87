#pragma once
// The interfaces of the audio views beside IDisplay (which the audio engine
// declares). ITimeLine and ITimeScroller add nothing: asking a view for one
// of them tells its holder which kind of view it is.
#include "platform/mfc/afxiface.h"
#include "audio/IDisplay.h"
#include "app/FragmentInfo.h"

class CTextTree;

// {8504D12B-0104-4EC8-B1DE-DBBE40F8DF1E}
RAVELIN_IID(ITimeLine, 0x8504D12B, 0x0104, 0x4EC8, 0xB1, 0xDE, 0xDB, 0xBE, 0x40, 0xF8, 0xDF, 0x1E)
// {C6307B76-5854-408E-937B-1A461E46FC60}
RAVELIN_IID(ITimeScroller, 0xC6307B76, 0x5854, 0x408E, 0x93, 0x7B, 0x1A, 0x46, 0x1E, 0x46, 0xFC, 0x60)
// {47529226-C6F3-4F30-901B-17568A41B70F}
RAVELIN_IID(IFragmentDisplay, 0x47529226, 0xC6F3, 0x4F30, 0x90, 0x1B, 0x17, 0x56, 0x8A, 0x41, 0xB7, 0x0F)

struct ITimeLine : public IDisplay
{};

struct ITimeScroller : public IDisplay
{};

// The fragments of one file and the operations on the active one. The
// operations on the active fragment do nothing while none is active.
struct IFragmentDisplay : public IDisplay
{
    virtual void SetActiveTempo(float tempo) = 0;
    // 0.0 when no fragment is active.
    virtual float GetActiveTempo() = 0;
    [[nodiscard]] virtual bool HasActive() = 0;
    virtual void AddFragment(LONGLONG t1, LONGLONG t2, LPCTSTR comment) = 0;
    // The tree positioned in the fragments' group. Values beyond their
    // limits are brought within them; false when a fragment's group was
    // left out (damaged, beyond the count, or starting past the file's end).
    [[nodiscard]] virtual bool Load(CTextTree* tree) = 0;
    // False when the tree refused a value (the saved file would lack it).
    [[nodiscard]] virtual bool Save(CTextTree* tree) = 0;
    virtual void SelectNext() = 0;
    virtual void SelectPrev() = 0;
    virtual void ToggleActiveLoop() = 0;
    // -1: none.
    virtual void SetActiveIndex(int index) = 0;
    // null: none.
    virtual void SetActive(SFragmentInfo* fragment) = 0;
    virtual void RemoveActive() = 0;
    virtual void RemoveAll() = 0;
    [[nodiscard]] virtual bool GetActive(SFragmentInfo& out) = 0;
    [[nodiscard]] virtual bool GetAt(int index, SFragmentInfo& out) = 0;
    virtual int GetCount() = 0;
    // -1 when none.
    virtual int GetActiveIndex() = 0;
    virtual void SetActiveComment(LPCTSTR text) = 0;
    virtual void SetActivePreDelay(int seconds) = 0;
    virtual void AdjustActiveTempo(float delta) = 0;
};
