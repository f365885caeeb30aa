#pragma once
// The text host a rich edit control gives to the windowless text services of Msftedit.dll.

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

#include <vector>

namespace ZvUI {

class CRichEditUI;

// What the rich edit hands to the host when it creates it.
struct TextHostCreateInfo {
    DWORD style = ES_MULTILINE;
    LPCWSTR text = nullptr;
};

class CTxtWinHost : public ITextHost {
public:
    // The owner's timer ids for the text services' own timers carry this bit, so that they
    // never meet the control's ids (its caret's among them).
    static constexpr UINT kTimerIdBit = 0x80000000u;

    // Null when the text services cannot be made; the caller then owns nothing.
    [[nodiscard]] static CTxtWinHost* CreateHost(CRichEditUI* owner, const TextHostCreateInfo& info);

    CTxtWinHost() = default;
    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;
    virtual ~CTxtWinHost();

    [[nodiscard]] bool Init(CRichEditUI* owner, const TextHostCreateInfo* info);
    ITextServices* GetTextServices() const { return m_pServices; }

    // --- IUnknown ---
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // --- ITextHost ---
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT bar, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rc, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                          UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT pt) override;
    WINBOOL TxClientToScreen(LPPOINT pt) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rc) override;
    HRESULT TxGetViewInset(LPRECT rc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* bars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* pos) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC himc) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

    // --- what the control changes ---
    void SetClientRect(const RECT& rc);
    RECT GetClientRect() const { return m_rcClient; }
    void SetColor(DWORD argb);
    void SetFont(HFONT font);
    void SetDisabledEffect(bool on);
    void SetParagraphAlignment(WORD alignment);
    void SetParagraphOffset(LONG offset);
    void SetExtent(SIZEL extent);
    void SetMaxLength(int length);
    int GetMaxLength() const { return m_nMaxLength; }
    wchar_t SetPasswordChar(wchar_t ch);
    void SetReadOnly(bool readOnly);
    void SetRichTextFlag(bool rich);
    void SetSaveSelection(bool save);
    LONG SetSelBarWidth(LONG width);
    void SetTransparent(bool transparent);
    void SetWordWrap(bool wrap);
    void SetAccelPos(LONG pos);
    void SetAllowBeep(bool allow);
    void SetDefaultCharFormat(const CHARFORMAT2W& format) { m_cf = format; }
    void SetDefaultParaFormat(const PARAFORMAT2& format) { m_pf = format; }

    bool OnTxInPlaceActivate(const RECT* rc);
    bool OnTxInPlaceDeactivate();
    void NeedFreshCaret() { m_bNeedFreshCaret = true; }
    // True when pt lies in rc (or the client rectangle) and the text services set the cursor.
    bool DoSetCursor(const RECT* rc, const POINT* pt);
    void GetControlRect(LPRECT rc) const { *rc = m_rcClient; }

    bool IsRich() const { return m_bRich; }
    bool IsWordWrap() const { return m_bWordWrap; }
    bool IsTransparent() const { return m_bTransparent; }
    // True while any of the text services' timers runs.
    bool IsTimerRunning() const { return !m_timers.empty(); }
    bool IsCaptured() const { return m_bCaptured; }
    bool IsCaretShown() const { return m_bShowCaret; }
    bool IsAllowBeep() const { return m_bAllowBeep; }
    bool IsReadOnly() const { return (m_dwStyle & ES_READONLY) != 0; }
    DWORD GetStyle() const { return m_dwStyle; }
    SIZE GetCaretSize() const { return SIZE{m_nCaretWidth, m_nCaretHeight}; }
    wchar_t GetPasswordChar() const { return m_chPassword; }
    const CHARFORMAT2W& GetCharFormat() const { return m_cf; }
    const PARAFORMAT2& GetParaFormat() const { return m_pf; }

private:
    bool InitDefaultCharFormat();
    void InitDefaultParaFormat();
    void BitsChanged(DWORD mask, DWORD bits);
    void ApplyMaxLength();

    CRichEditUI* m_pOwner = nullptr;
    ULONG m_cRefs = 0;
    ITextServices* m_pServices = nullptr;
    HMODULE m_hLibrary = nullptr;
    DWORD m_dwStyle = 0;
    bool m_bAutoWordSel = false;
    bool m_bWordWrap = false;
    bool m_bAllowBeep = false;
    bool m_bRich = false;
    bool m_bSaveSelection = false;
    bool m_bInPlaceActive = false;
    bool m_bTransparent = false;
    // The text services' timers that run (their own ids).
    std::vector<UINT> m_timers;
    bool m_bCaptured = false;
    bool m_bShowCaret = false;
    bool m_bNeedFreshCaret = false;
    INT m_nCaretWidth = 0;
    INT m_nCaretHeight = 0;
    INT m_nLastCaretWidth = 0;
    INT m_nLastCaretHeight = 0;
    LONG m_lSelBarWidth = 0;
    int m_nMaxLength = 0x7FFF;
    RECT m_rcClient = {0, 0, 0, 0};
    SIZEL m_sizelExtent = {0, 0};
    CHARFORMAT2W m_cf = {};
    PARAFORMAT2 m_pf = {};
    LONG m_laccelpos = -1;
    wchar_t m_chPassword = 0;
};

} // namespace ZvUI
