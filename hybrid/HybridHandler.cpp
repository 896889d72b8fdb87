#include "hybrid/HybridHandler.h"
#include "hybrid/HybridCtrl.h"

CHybridHandler::CHybridHandler() : m_refs(1), m_control(nullptr)
{
}

CHybridHandler::~CHybridHandler()
{
}

STDMETHODIMP CHybridHandler::QueryInterface(REFIID riid, void** out)
{
    return AnswerQueryInterface(riid, out,
                                {{IID_IUnknown, static_cast<IHybridHandler*>(this)},
                                 {IID_IHybridHandler, static_cast<IHybridHandler*>(this)},
                                 {IID_ITimerCallback, static_cast<ITimerCallback*>(this)}});
}

STDMETHODIMP_(ULONG) CHybridHandler::AddRef()
{
    return m_refs.AddRef();
}
STDMETHODIMP_(ULONG) CHybridHandler::Release()
{
    return m_refs.Release(this);
}

LRESULT CHybridHandler::OnNotify(UINT, IHybridCell*, bool*)
{
    return 0;
}

void CHybridHandler::Attach(CHybridCtrl* control, IHybridCell* cell)
{
    m_control = control;
    m_cell = cell;
}

// A handler attached to the control itself holds no cell, yet must forget
// the control too: it may outlive it. Its timers go with the attachment, so
// that no timer calls a handler nobody holds any more.
void CHybridHandler::Detach()
{
    if (m_control)
        m_control->KillTimersOf(static_cast<IHybridHandler*>(this));
    m_cell = nullptr;
    m_control = nullptr;
}

void CHybridHandler::OnSize(int, int)
{
}
bool CHybridHandler::IsAttached()
{
    return m_cell != nullptr;
}
void CHybridHandler::Reserved(DWORD, DWORD)
{
}
void CHybridHandler::OnTimer(UINT_PTR)
{
}

CHybridCtrl* CHybridHandler::GetCellCtrl()
{
    return m_cell ? m_cell->GetCtrl() : nullptr;
}
