#pragma once
// CHybridHandler: the base of the handlers. Keeps the control and the cell
// it is attached to and answers every notification as not handled. Born
// with one reference, its creator's.
#include "platform/mfc/afxwin.h"
#include "common/Interfaces.h"
#include "hybrid/IHybridHandler.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/ITimerCallback.h"

class CHybridHandler : public IHybridHandler, public ITimerCallback
{
public:
    CHybridHandler();
    CHybridHandler(const CHybridHandler&) = delete;
    CHybridHandler& operator=(const CHybridHandler&) = delete;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    LRESULT OnNotify(UINT code, IHybridCell* sender, bool* handled) override;
    void Attach(CHybridCtrl* control, IHybridCell* cell) override;
    void Detach() override;
    void OnSize(int width, int height) override;
    [[nodiscard]] bool IsAttached() override;
    void Reserved(DWORD a, DWORD b) override;

    void OnTimer(UINT_PTR id) override;

    virtual ~CHybridHandler();
    // The attached cell's control; null without a cell.
    CHybridCtrl* GetCellCtrl();

protected:
    CRefCount m_refs;
    CIPtr<IHybridCell> m_cell;
    CHybridCtrl* m_control;
};
