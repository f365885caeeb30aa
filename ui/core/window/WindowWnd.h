#pragma once
// Binds one native window to one object: class registration, creation, subclassing, modal loop.

#include <windows.h>

namespace ZvUI {

// No virtual destructor on purpose: it is never deleted through a CWindowWnd pointer; the
// skinned window base adds one. A window that owns itself frees itself from OnFinalMessage
// through DeleteWhenUnwound.
//
// Every Create ends in exactly one OnFinalMessage: when its window ends, or before a failed
// Create returns null (from the system's WM_NCDESTROY when the window ended during its own
// creation, otherwise from Create itself with a null handle). So an object that owns itself is
// gone once Create has returned null, and its caller must not touch or delete it; an object
// owned by someone else stays with that owner.
//
// An exception never leaves a handler for the system's frames: it is stopped at the window
// procedure, named in the debug log, and the message gets the answer of the previous procedure
// (creation messages are refused instead). The object is still freed as it would have been.
class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHandle() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Null when the class cannot be registered or the window cannot be created; the object has
    // had its final message then (see above).
    HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                HMENU menu = nullptr);
    HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, const RECT& rc,
                HMENU menu = nullptr);
    HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle);
    // Null when the procedure cannot be replaced; the object then stays unbound.
    HWND Subclass(HWND window);
    void Unsubclass();
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Returns the code of the posted WM_CLOSE that ended the loop, 0 when none was seen. The
    // owner stays disabled until the last modal loop over it has ended.
    UINT RunModal();
    void Close(UINT result = IDOK);
    void CentreOnOwner();
    void SetIcon(UINT resourceId);
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // -1 keeps the current client width or height.
    bool SetClientSize(int cx, int cy);

    virtual LPCWSTR GetWindowClassName() const = 0;
    // A system or module class to superclass, or null.
    virtual LPCWSTR GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The last call for this window; the handle is already cleared.
    virtual void OnFinalMessage(HWND window);

    // Called by Create; a class that exists already counts as registered.
    bool RegisterClass();
    bool RegisterSuperclass();

    static LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // For a window that owns itself, called from its OnFinalMessage: frees the object at once
    // when none of its message handlers is running, otherwise as soon as the outermost one has
    // returned. A window destroyed from inside one of its own handlers (a close answered in a
    // nested modal loop, a handler that ends its own control) is thus never freed under that
    // handler's stack.
    template <class Self>
    void DeleteWhenUnwound(Self* /*self*/)
    {
        ScheduleDelete([](CWindowWnd* window) { delete static_cast<Self*>(window); });
    }

    HWND m_hWnd = nullptr;
    WNDPROC m_oldWndProc = ::DefWindowProcW;
    bool m_bSubclassed = false;

private:
    using Deleter = void (*)(CWindowWnd*);
    void ScheduleDelete(Deleter deleter);
    // OnMessage with the handler count held; frees the object after the outermost handler when
    // its final message asked for that meanwhile.
    static LRESULT Dispatch(CWindowWnd* self, UINT msg, WPARAM wParam, LPARAM lParam);
    // The window has ended: unbinds it and gives the object its final message.
    static LRESULT EndWindow(CWindowWnd* self, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                             bool superclass);

    int m_nHandlerDepth = 0;
    Deleter m_pendingDelete = nullptr;
};

} // namespace ZvUI
