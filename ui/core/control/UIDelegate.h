#pragma once
// Delegates binding free functions or member functions to event sources, and the list that fires them.

#include <windows.h>

#include <cstring>

#include "utils/UIArray.h"

namespace ZvUI {

class CDelegateBase {
public:
    CDelegateBase(void* object, void* fn) : m_pObject(object), m_pFn(fn) {}
    CDelegateBase(const CDelegateBase& src) = default;
    CDelegateBase& operator=(const CDelegateBase&) = delete;
    virtual ~CDelegateBase() = default;

    // A new heap copy of the same dynamic type; the caller owns it.
    [[nodiscard]] virtual CDelegateBase* Copy() const = 0;
    // False means: stop here and skip the default handling.
    virtual bool Invoke(void* param) = 0;

    bool Equals(const CDelegateBase& rhs) const
    {
        return m_pObject == rhs.m_pObject && m_pFn == rhs.m_pFn;
    }
    void* GetObject() const { return m_pObject; }
    void* GetFn() const { return m_pFn; }

private:
    void* m_pObject = nullptr;
    void* m_pFn = nullptr;
};

class CDelegateStatic : public CDelegateBase {
public:
    using Fn = bool (*)(void*);

    explicit CDelegateStatic(Fn fn) : CDelegateBase(nullptr, reinterpret_cast<void*>(fn)) {}

    [[nodiscard]] CDelegateBase* Copy() const override { return new CDelegateStatic(*this); }
    bool Invoke(void* param) override
    {
        Fn fn = reinterpret_cast<Fn>(GetFn());
        return fn(param);
    }
};

// O is the object's type, T the class that declares the member function (O or a base of O).
template <class O, class T>
class CDelegate : public CDelegateBase {
public:
    using Fn = bool (T::*)(void*);

    CDelegate(O* object, Fn fn) : CDelegateBase(object, IdentityOf(fn)), m_pObject(object), m_pFn(fn) {}

    [[nodiscard]] CDelegateBase* Copy() const override { return new CDelegate(*this); }
    bool Invoke(void* param) override
    {
        T* target = m_pObject;
        return (target->*m_pFn)(param);
    }

private:
    // A member-function pointer is no data pointer; its leading word (the code address,
    // or the vtable slot for a virtual function) identifies it for Equals.
    static void* IdentityOf(Fn fn)
    {
        void* id = nullptr;
        static_assert(sizeof(Fn) >= sizeof(void*), "member pointer smaller than a data pointer");
        std::memcpy(&id, &fn, sizeof(id));
        return id;
    }

    O* m_pObject = nullptr;
    Fn m_pFn = nullptr;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* object, bool (T::*fn)(void*))
{
    return CDelegate<O, T>(object, fn);
}

inline CDelegateStatic MakeDelegate(bool (*fn)(void*))
{
    return CDelegateStatic(fn);
}

// Ordered, owning list of delegate copies; callers keep what they pass in.
class CDelegateList {
public:
    CDelegateList() = default;
    CDelegateList(const CDelegateList&) = delete;
    CDelegateList& operator=(const CDelegateList&) = delete;
    ~CDelegateList();

    // An equal delegate already in the list is not added twice.
    void Add(const CDelegateBase& d);
    void Add(CDelegateStatic::Fn fn);
    // Removes the first equal delegate; nothing when none matches.
    void Remove(const CDelegateBase& d);
    void Remove(CDelegateStatic::Fn fn);
    // Runs in list order; false as soon as one returns false. Delegates added during
    // the walk run in the same walk.
    bool Invoke(void* param);
    bool HasDelegates() const { return !m_aDelegates.IsEmpty(); }
    void Clear();

private:
    CUIPtrArray m_aDelegates;
};

} // namespace ZvUI
