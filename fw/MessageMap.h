// Static message maps: each window class lists, in one table read top to bottom, which member
// function handles which window message, command or command state step.
//
//   const CMessageMapBase* CBarDlg::GetMessageMap() const
//   {
//       static const CMessageMap<CBarDlg> map{{
//           OnMessage(WM_PAINT, &CBarDlg::OnPaint),
//           OnCommand(ID_ABOUT, &CBarDlg::OnAbout),
//           OnCommandRange(ID_FIRST, ID_LAST, &CBarDlg::OnChoose),
//           OnStateStep(ID_ABOUT, &CBarDlg::OnUpdateAbout),
//       }};
//       return &map;
//   }
//
// Message handlers take (WPARAM, LPARAM) and return the message's result; command handlers
// and state steps get the command id.
#pragma once

#include "fw/CmdUI.h"

#include <windows.h>

#include <initializer_list>
#include <vector>

class CWnd;

template <class T>
struct SMessageMapEntry {
    enum class Kind { Message, Command, StateStep };

    Kind kind;
    UINT nMessage;
    UINT nFirstID;
    UINT nLastID;
    LRESULT (T::*pfnMessage)(WPARAM, LPARAM);
    void (T::*pfnCommand)(UINT);
    void (T::*pfnStateStep)(CCmdUI&);

    bool Covers(UINT nID) const { return nFirstID <= nID && nID <= nLastID; }
};

template <class T>
SMessageMapEntry<T> OnMessage(UINT nMessage, LRESULT (T::*pfn)(WPARAM, LPARAM))
{
    return {SMessageMapEntry<T>::Kind::Message, nMessage, 0, 0, pfn, nullptr, nullptr};
}

template <class T>
SMessageMapEntry<T> OnCommandRange(UINT nFirstID, UINT nLastID, void (T::*pfn)(UINT))
{
    return {SMessageMapEntry<T>::Kind::Command, WM_COMMAND, nFirstID, nLastID, nullptr, pfn, nullptr};
}

template <class T>
SMessageMapEntry<T> OnCommand(UINT nID, void (T::*pfn)(UINT))
{
    return OnCommandRange(nID, nID, pfn);
}

template <class T>
SMessageMapEntry<T> OnStateStepRange(UINT nFirstID, UINT nLastID, void (T::*pfn)(CCmdUI&))
{
    return {SMessageMapEntry<T>::Kind::StateStep, WM_COMMAND, nFirstID, nLastID, nullptr, nullptr, pfn};
}

template <class T>
SMessageMapEntry<T> OnStateStep(UINT nID, void (T::*pfn)(CCmdUI&))
{
    return OnStateStepRange(nID, nID, pfn);
}

// What the window layer needs of a map, whatever class it belongs to.
class CMessageMapBase {
public:
    virtual ~CMessageMapBase() = default;
    virtual bool RouteMessage(CWnd& target, UINT nMessage, WPARAM wParam, LPARAM lParam,
                              LRESULT& lResult) const = 0;
    virtual bool RouteCommand(CWnd& target, UINT nID) const = 0;
    virtual bool RouteStateStep(CWnd& target, CCmdUI& state) const = 0;
};

template <class T>
class CMessageMap final : public CMessageMapBase {
public:
    CMessageMap(std::initializer_list<SMessageMapEntry<T>> entries) : m_entries(entries) {}

    bool RouteMessage(CWnd& target, UINT nMessage, WPARAM wParam, LPARAM lParam,
                      LRESULT& lResult) const override
    {
        for (const auto& entry : m_entries) {
            if (entry.kind == SMessageMapEntry<T>::Kind::Message && entry.nMessage == nMessage) {
                lResult = (static_cast<T&>(target).*entry.pfnMessage)(wParam, lParam);
                return true;
            }
        }
        return false;
    }

    bool RouteCommand(CWnd& target, UINT nID) const override
    {
        for (const auto& entry : m_entries) {
            if (entry.kind == SMessageMapEntry<T>::Kind::Command && entry.Covers(nID)) {
                (static_cast<T&>(target).*entry.pfnCommand)(nID);
                return true;
            }
        }
        return false;
    }

    bool RouteStateStep(CWnd& target, CCmdUI& state) const override
    {
        for (const auto& entry : m_entries) {
            if (entry.kind == SMessageMapEntry<T>::Kind::StateStep && entry.Covers(state.m_nID)) {
                (static_cast<T&>(target).*entry.pfnStateStep)(state);
                return true;
            }
        }
        return false;
    }

private:
    std::vector<SMessageMapEntry<T>> m_entries;
};
