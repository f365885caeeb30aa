#pragma once
// Windowless rich-text (or plain-text) edit field on the system's text services.

#include <windows.h>
#include <richedit.h>

#include "layout/ContainerUI.h"
#include "utils/UIArray.h"

namespace ZvUI {

class CTxtWinHost;

class CRichEditUI : public CContainerUI, public IMessageFilterUI {
public:
    CRichEditUI();
    ~CRichEditUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    CUIString GetText() const override;
    void SetText(LPCWSTR text) override;
    void SetPos(RECT rc, bool invalidate = true) override;
    void Move(SIZE offset, bool invalidate = true) override;
    void SetEnabled(bool enable = true) override;
    void DoInit() override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void DoEvent(UIControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE EstimateSize(SIZE available) override;
    bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
    void PaintStatusImage(HDC hDC) override;
    void SetScrollPos(SIZE pos, bool notify = true) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // The one road to the text services; S_FALSE without them.
    virtual HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
    virtual bool OnTxViewChanged(bool update);
    virtual void OnTxNotify(DWORD code, void* data);

    // --- flags and appearance ---
    bool IsWantTab() const { return m_bWantTab; }
    void SetWantTab(bool want) { m_bWantTab = want; }
    bool IsWantReturn() const { return m_bWantReturn; }
    void SetWantReturn(bool want) { m_bWantReturn = want; }
    bool IsWantCtrlReturn() const { return m_bWantCtrlReturn; }
    void SetWantCtrlReturn(bool want) { m_bWantCtrlReturn = want; }
    bool IsTransparent() const { return m_bTransparent; }
    void SetTransparent(bool transparent);
    bool IsRich() const { return m_bRich; }
    void SetRich(bool rich);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly);
    bool IsWordWrap() const { return m_bWordWrap; }
    void SetWordWrap(bool wrap);
    bool IsMultiLine() const { return (m_lTwhStyle & ES_MULTILINE) != 0; }
    void SetMultiLine(bool multiLine);
    // -1 is the manager's default font.
    int GetFont() const { return m_iFont; }
    void SetFont(int index);
    // Builds a font of that face (size in pixels), hands it to the text services and frees it.
    void SetFontFace(LPCWSTR face, int size, bool bold, bool underline, bool italic);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color);
    int GetLimitText() const { return m_iLimitText; }
    void SetLimitText(int chars);
    LONG GetWinStyle() const { return m_lTwhStyle; }
    // Scaled by the manager's DPI.
    RECT GetTextPadding() const;
    void SetTextPadding(int left, int top, int right, int bottom);
    const CUIString& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCWSTR descriptor);
    const CUIString& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCWSTR descriptor);
    const CUIString& GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCWSTR descriptor);
    const CUIString& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCWSTR descriptor);
    const CUIString& GetTipValue() const { return m_sTipValue; }
    void SetTipValue(LPCWSTR text);
    DWORD GetTipValueColor() const { return m_dwTipValueColor; }
    void SetTipValueColor(DWORD color);
    UINT GetTipValueAlign() const { return m_uTipValueAlign; }
    void SetTipValueAlign(UINT align);
    // A kill-focus whose new focus is one of these leaves the control focused.
    void AddFocusKeepControl(CControlUI* control);
    CTxtWinHost* GetTextHost() const { return m_pTwh; }
    UINT GetButtonState() const { return m_uButtonState; }

    // --- text operations (0, false or empty without text services) ---
    int GetTextLength(DWORD flags = GTL_DEFAULT) const;
    bool GetModify() const;
    void SetModify(bool modified = true) const;
    void GetSel(CHARRANGE& range) const;
    void GetSel(long& start, long& end) const;
    int SetSel(CHARRANGE& range);
    int SetSel(long start, long end);
    int SetSelAll();
    int SetSelNone();
    void ReplaceSel(LPCWSTR text, bool canUndo);
    CUIString GetSelText() const;
    // end -1 is the end of the text; a range ending before its start gives the empty text.
    CUIString GetTextRange(long start, long end) const;
    WORD GetSelectionType() const;
    int InsertText(long position, LPCWSTR text, bool canUndo = false);
    int AppendText(LPCWSTR text, bool canUndo = false);
    void HideSelection(bool hide = true, bool changeStyle = false);
    void ScrollCaret();
    bool GetZoom(int& numerator, int& denominator) const;
    bool SetZoom(int numerator, int denominator);
    bool SetZoomOff();
    bool GetAutoURLDetect() const;
    bool SetAutoURLDetect(bool autoDetect = true);
    DWORD GetEventMask() const;
    DWORD SetEventMask(DWORD mask);
    bool SetLinkAndDropEventMask();
    DWORD GetDefaultCharFormat(CHARFORMAT2W& format) const;
    bool SetDefaultCharFormat(CHARFORMAT2W& format);
    DWORD GetSelectionCharFormat(CHARFORMAT2W& format) const;
    bool SetSelectionCharFormat(CHARFORMAT2W& format);
    bool SetWordCharFormat(CHARFORMAT2W& format);
    DWORD GetParaFormat(PARAFORMAT2& format) const;
    bool SetParaFormat(PARAFORMAT2& format);
    bool CanUndo();
    bool CanRedo();
    bool CanPaste();
    bool Undo();
    bool Redo();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void EmptyUndoBuffer();
    UINT SetUndoLimit(UINT limit);
    int GetLineCount() const;
    // At most maxChars characters of the line, always terminated.
    CUIString GetLine(int line, int maxChars) const;
    int LineIndex(int line = -1) const;
    int LineLength(int line = -1) const;
    long LineFromChar(long ch) const;
    bool LineScroll(int lines, int chars = 0);
    POINT GetCharPos(long ch) const;
    POINT PosFromChar(UINT ch) const;
    int CharFromPos(POINT pt) const;
    long StreamIn(int format, EDITSTREAM& stream);
    long StreamOut(int format, EDITSTREAM& stream);

protected:
    // Sends one scroll code as WM_VSCROLL or WM_HSCROLL.
    void SendScroll(UINT msg, WORD code);
    void ShowContextMenu(POINT screenPt);
    // The item rectangle less the inset and the room of the visible bars.
    RECT GetTextArea() const;
    // The text area less the text padding: where the text services draw.
    RECT GetTextRect() const;

    CTxtWinHost* m_pTwh = nullptr;
    bool m_bVScrollBarFixing = false;
    bool m_bWantTab = true;
    bool m_bWantReturn = true;
    bool m_bWantCtrlReturn = true;
    bool m_bTransparent = true;
    bool m_bRich = true;
    bool m_bReadOnly = false;
    bool m_bWordWrap = false;
    DWORD m_dwTextColor = 0;
    int m_iFont = -1;
    int m_iLimitText = 0x7FFF;
    LONG m_lTwhStyle = ES_MULTILINE;
    bool m_bDrawCaret = true;
    bool m_bInited = false;
    // The DPI scale, in percent, at which the text's sizes were set.
    int m_iTextScale = 0;
    RECT m_rcTextPadding = {0, 0, 0, 0};
    UINT m_uButtonState = 0;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    CUIString m_sTipValue;
    DWORD m_dwTipValueColor = 0xFFBAC0C5;
    UINT m_uTipValueAlign = DT_SINGLELINE | DT_LEFT;
    CUIPtrArray m_aFocusKeep;
};

} // namespace ZvUI
