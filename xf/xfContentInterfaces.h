#pragma once
// Interfaces of the framework's toolbar contents, with their ids.
#include "hybrid/IStretchContent.h"
#include "platform/mfc/afxiface.h"

// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F501}
RAVELIN_IID(IxfHasID, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x01)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F502}
RAVELIN_IID(IxfToolBarLabel, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x02)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F503}
RAVELIN_IID(IxfTab, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x03)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F504}
RAVELIN_IID(IxfTabEntry, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x04)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F505}
RAVELIN_IID(IxfFrameListContent, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x05)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F506}
RAVELIN_IID(IxfFrameListEntry, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x06)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F507}
RAVELIN_IID(IxfCaptionBack, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x07)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F508}
RAVELIN_IID(IxfHorMenuElement, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x08)
// {4C7A1E20-6B3D-4F51-8E2A-9D0B7C31F509}
RAVELIN_IID(IxfRootMenuElement, 0x4C7A1E20, 0x6B3D, 0x4F51, 0x8E, 0x2A, 0x9D, 0x0B, 0x7C, 0x31, 0xF5, 0x09)

#undef RAVELIN_XF_IID

class CxfController;

// A content bound to a command id.
struct IxfHasID : public IUnknown
{
    virtual UINT GetID() = 0;
};

// Adds nothing to the content interface.
struct IxfEmptyInterface : public IHybridContent
{};

struct IxfToolBarLabel : public IStretchContent
{
    virtual void SetText(LPCWSTR text) = 0;
    virtual LPCWSTR GetText() = 0;
    virtual void SetImage(UINT bitmapId, COLORREF mask) = 0;
    virtual void SetUnderline(bool underline) = 0;
};

// A strip of tabs in one toolbar cell.
struct IxfTab : public IStretchContent
{
    virtual int GetTabCount() = 0;
    virtual void RemoveAllTabs() = 0;
    virtual void AddTab(LPCWSTR text, UINT bitmapId, COLORREF mask, DWORD data) = 0;
    virtual void AddTab(LPCWSTR text, DWORD data) = 0;
    virtual DWORD GetTabData(int index) = 0;
    virtual void SetActiveTab(int index) = 0;
    virtual int GetActiveTab() = 0;
};

struct IxfTabEntry : public IHybridContent
{
    virtual void SetText(LPCWSTR text) = 0;
};

// The tab strip of an MDI area: one tab per document frame, keyed by the
// frame's controller.
struct IxfFrameListContent : public IStretchContent
{
    virtual void AddEntry(CxfController* controller) = 0;
    virtual void RemoveEntry(CxfController* controller) = 0;
    virtual void RemoveAll() = 0;
    virtual void UpdateTitles() = 0;
    virtual CxfController* GetActiveController() = 0;
    virtual int GetActiveIndex() = 0;
    virtual void SetActiveIndex(int index) = 0;
    virtual void Activate(CxfController* controller) = 0;
    virtual void ActivateNext() = 0;
    virtual void ActivatePrevious() = 0;
};

struct IxfFrameListEntry : public IHybridContent
{
    virtual void SetTitle(LPCWSTR text) = 0;
    virtual void SetImage(UINT bitmapId, COLORREF mask) = 0;
};

struct IxfCaptionBack : public IHybridContent
{
    virtual void SetActive(bool active) = 0;
    [[nodiscard]] virtual bool IsActive() = 0;
};

// One top-level entry of a menu band, as the keyboard menu mode drives it.
struct IxfHorMenuElement : public IHybridContent
{
    virtual void SetHot(bool hot) = 0;
    virtual void OpenMenu(bool open, bool selectFirst) = 0;
    [[nodiscard]] virtual bool IsMenuOpen() = 0;
    [[nodiscard]] virtual bool MatchesMnemonic(WCHAR ch) = 0;
};

// What opened a chain of popup menus (a band element, a toolbar button):
// the screen rectangle a popup is placed against.
struct IxfRootMenuElement : public IUnknown
{
    virtual void GetAnchorRect(RECT* out) = 0;
};
