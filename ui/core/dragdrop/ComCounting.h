#pragma once
// The IUnknown parts that the drag-and-drop objects share: one interface each, counted references.

#include <windows.h>
#include <ole2.h>

namespace ZvUI {

// Answers IUnknown and own with self (adding a reference); E_NOINTERFACE and null otherwise.
template <class Interface>
HRESULT QueryOwnInterface(Interface* self, REFIID own, REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != own)
        return E_NOINTERFACE;
    *object = self;
    self->AddRef();
    return S_OK;
}

// Drops one reference; the object is deleted when none is left.
template <class Object>
ULONG ReleaseAndDelete(Object* self, LONG& count)
{
    const LONG left = --count;
    if (left == 0)
        delete self;
    return static_cast<ULONG>(left);
}

} // namespace ZvUI
