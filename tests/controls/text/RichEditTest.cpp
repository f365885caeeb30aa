// Rich edit on the windowless text services, driven by real keyboard and mouse messages sent to
// the paint manager's window: typing, caret and selection, clipboard, undo, limits, Tab and
// Return, scrolling a long text, and the text operations' edge cases.
#include "richedit/RichEditUI.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <new>
#include <string>
#include <thread>

#include "TextInputTestSupport.h"
#include "control/ScrollBarUI.h"
#include "edit/EditUI.h"
#include "richedit/TxtWinHost.h"

using texttest::HostWindow;
using ZvUI::CRichEditUI;

// The largest single request since the last reset: a read that sizes its buffer from what the
// caller asked for, not from the text, shows here.
static std::atomic<std::size_t> g_largestAllocation{0};

void* operator new(std::size_t size)
{
    std::size_t seen = g_largestAllocation.load();
    while (size > seen && !g_largestAllocation.compare_exchange_weak(seen, size)) {
    }
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

class RichEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_host = std::make_unique<HostWindow>();
        HostWindow::SetModifiers(false, false);
    }
    void TearDown() override
    {
        HostWindow::SetModifiers(false, false);
        m_host.reset();
    }
    CRichEditUI* AddEdit(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes = {},
                         RECT rc = RECT{10, 10, 300, 120})
    {
        return m_host->Add(new CRichEditUI, rc, attributes);
    }
    void Focus(CRichEditUI* edit)
    {
        const RECT rc = edit->GetPos();
        m_host->Click(rc.left + 5, rc.top + 5);
        ASSERT_TRUE(edit->IsFocused());
    }
    void Key(UINT vk) { HostWindow::Key(m_host->Get(), vk); }
    void Type(const std::wstring& text) { HostWindow::Type(m_host->Get(), text); }
    void Chord(UINT vk, bool ctrl, bool shift = false)
    {
        HostWindow::SetModifiers(ctrl, shift);
        Key(vk);
        HostWindow::SetModifiers(false, false);
    }

    std::unique_ptr<HostWindow> m_host;
};

std::wstring Str(const ZvUI::CUIString& s)
{
    return s.GetData();
}

} // namespace

TEST_F(RichEdit, TypesLatinAndChineseAndReportsEachChange)
{
    CRichEditUI* edit = AddEdit();
    ASSERT_NE(edit->GetTextHost(), nullptr) << "the text services must load";
    Focus(edit);
    m_host->log.Clear();
    Type(L"Velmora ");
    // Composed characters from the input method.
    for (wchar_t ch : std::wstring(L"安装"))
        ::PostMessageW(m_host->Get(), WM_IME_CHAR, ch, 1);
    HostWindow::Pump();
    EXPECT_EQ(Str(edit->GetText()), L"Velmora 安装");
    EXPECT_EQ(m_host->log.Count(L"textchanged", edit), 10);
    EXPECT_EQ(edit->GetTextLength(), 10);
}

TEST_F(RichEdit, CaretSelectionClipboardAndUndo)
{
    CRichEditUI* edit = AddEdit({{L"multiline", L"false"}});
    Focus(edit);
    Type(L"hello world");
    Key(VK_HOME);
    long start = -1, end = -1;
    edit->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);
    // Shift+Right five times selects "hello".
    HostWindow::SetModifiers(false, true);
    for (int i = 0; i < 5; ++i)
        Key(VK_RIGHT);
    HostWindow::SetModifiers(false, false);
    EXPECT_EQ(Str(edit->GetSelText()), L"hello");

    Chord('C', true);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const std::wstring clip = data != nullptr ? static_cast<const wchar_t*>(::GlobalLock(data)) : L"";
    if (data != nullptr)
        ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(clip, L"hello");

    Key(VK_END);
    Chord('V', true);
    EXPECT_EQ(Str(edit->GetText()), L"hello worldhello");
    EXPECT_TRUE(edit->CanUndo());
    Chord('Z', true);
    EXPECT_EQ(Str(edit->GetText()), L"hello world");
}

TEST_F(RichEdit, LengthLimitAndReadOnly)
{
    CRichEditUI* limited = AddEdit({{L"maxchar", L"5"}}, RECT{10, 10, 200, 40});
    CRichEditUI* locked = AddEdit({{L"readonly", L"true"}}, RECT{10, 50, 200, 80});
    CRichEditUI* open = AddEdit({{L"readonly", L"TRUE"}}, RECT{10, 90, 200, 120});
    Focus(limited);
    Type(L"abcdefgh");
    EXPECT_EQ(Str(limited->GetText()), L"abcde");
    Focus(locked);
    Type(L"xyz");
    EXPECT_EQ(Str(locked->GetText()), L"");
    Focus(open);
    Type(L"xyz");
    EXPECT_EQ(Str(open->GetText()), L"xyz") << "only the exact string true makes it read-only";
}

TEST_F(RichEdit, PasswordModeMasksTheDrawing)
{
    // Narrow and wide letters draw alike once every character is the mask character.
    CRichEditUI* narrow = AddEdit({{L"password", L"true"}, {L"multiline", L"false"}}, RECT{10, 10, 200, 40});
    CRichEditUI* wide = AddEdit({{L"password", L"true"}, {L"multiline", L"false"}}, RECT{10, 60, 200, 90});
    CRichEditUI* plain = AddEdit({{L"multiline", L"false"}}, RECT{10, 110, 200, 140});
    narrow->SetText(L"iiii");
    wide->SetText(L"WWWW");
    plain->SetText(L"WWWW");
    EXPECT_EQ(Str(wide->GetText()), L"WWWW") << "the real text stays readable by the program";
    // Printed off screen: the window's system caret stays out of the pixels.
    const std::vector<COLORREF> pixels = m_host->Print();
    auto strip = [&](CRichEditUI* edit) {
        const RECT rc = edit->GetPos();
        std::wstring marks;
        for (int x = rc.left; x < rc.left + 110; ++x)
            for (int y = rc.top; y < rc.bottom; ++y)
                marks += pixels[static_cast<size_t>(y) * m_host->PrintWidth() + x] == RGB(255, 255, 255) ? L'.' : L'#';
        return marks;
    };
    const std::wstring a = strip(narrow);
    const std::wstring b = strip(wide);
    const std::wstring c = strip(plain);
    EXPECT_NE(a.find(L'#'), std::wstring::npos) << "something is drawn";
    EXPECT_EQ(a, b);
    EXPECT_NE(b, c);
}

TEST_F(RichEdit, TabStaysOrMovesFocusByWantTab)
{
    CRichEditUI* wants = AddEdit({}, RECT{10, 10, 200, 60});
    CRichEditUI* passes = AddEdit({{L"wanttab", L"false"}}, RECT{10, 70, 200, 120});
    auto* next = m_host->Add(new ZvUI::CEditUI, RECT{10, 130, 200, 160});
    Focus(wants);
    Key(VK_TAB);
    EXPECT_TRUE(wants->IsFocused());
    EXPECT_EQ(Str(wants->GetText()), L"\t");
    Focus(passes);
    Key(VK_TAB);
    EXPECT_FALSE(passes->IsFocused());
    EXPECT_EQ(m_host->pm.GetFocus(), next);
    EXPECT_EQ(Str(passes->GetText()), L"");
}

TEST_F(RichEdit, ReturnGoesToTheTextOrRaisesReturn)
{
    CRichEditUI* takes = AddEdit({}, RECT{10, 10, 200, 60});
    CRichEditUI* raises = AddEdit({{L"wantreturn", L"false"}}, RECT{10, 70, 200, 120});
    CRichEditUI* ctrlRaises = AddEdit({{L"wantctrlreturn", L"false"}}, RECT{10, 130, 200, 180});
    Focus(takes);
    m_host->log.Clear();
    Type(L"a");
    Key(VK_RETURN);
    EXPECT_EQ(takes->GetLineCount(), 2);
    EXPECT_EQ(m_host->log.Count(L"return"), 0);

    Focus(raises);
    m_host->log.Clear();
    Key(VK_RETURN);
    EXPECT_EQ(m_host->log.Count(L"return", raises), 1);
    EXPECT_EQ(Str(raises->GetText()), L"");

    Focus(ctrlRaises);
    m_host->log.Clear();
    Key(VK_RETURN);
    EXPECT_EQ(m_host->log.Count(L"return"), 0);
    Chord(VK_RETURN, true);
    EXPECT_EQ(m_host->log.Count(L"return", ctrlRaises), 1);
}

TEST_F(RichEdit, TenThousandLinesScrollByWheelAndBar)
{
    CRichEditUI* edit = AddEdit({{L"vscrollbar", L"true"}, {L"autovscroll", L"true"}}, RECT{10, 10, 300, 210});
    std::wstring text;
    for (int i = 0; i < 10000; ++i)
        text += L"line " + std::to_wstring(i) + L"\r";
    edit->SetText(text.c_str());
    HostWindow::Pump();
    EXPECT_EQ(edit->GetLineCount(), 10001);
    ZvUI::CScrollBarUI* bar = edit->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    edit->HomeUp();
    HostWindow::Pump();
    POINT second = edit->PosFromChar(static_cast<UINT>(edit->LineIndex(1)));
    POINT first = edit->PosFromChar(0);
    EXPECT_GT(second.y - first.y, 0);

    auto firstLine = [&] {
        LRESULT line = 0;
        edit->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &line);
        return static_cast<int>(line);
    };
    EXPECT_EQ(firstLine(), 0);
    // The wheel (screen coordinates) over the control scrolls through the line steps.
    POINT screen = {100, 100};
    ::ClientToScreen(m_host->Get(), &screen);
    ::SendMessageW(m_host->Get(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    for (int i = 0; i < 3; ++i)
        ::SendMessageW(m_host->Get(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    HostWindow::Pump();
    const int afterWheel = firstLine();
    EXPECT_GT(afterWheel, 0);
    EXPECT_GT(bar->GetScrollPos(), 0);

    // A press on the bar's track below the thumb pages down.
    const RECT track = bar->GetPos();
    m_host->Click((track.left + track.right) / 2, track.bottom - 30);
    EXPECT_GT(firstLine(), afterWheel);

    // The end of the bar is the end of the text.
    edit->SetScrollPos(SIZE{0, bar->GetScrollRange() - 10});
    HostWindow::Pump();
    EXPECT_GT(firstLine(), 9000);
    edit->HomeUp();
    EXPECT_EQ(firstLine(), 0);
    edit->EndDown();
    EXPECT_GT(firstLine(), 9000);
}

TEST_F(RichEdit, TextReadsAreBoundedAndTerminated)
{
    CRichEditUI* edit = AddEdit();
    edit->SetText(L"first line\rsecond");
    EXPECT_EQ(Str(edit->GetTextRange(6, -1)), L"line\rsecond") << "-1 is the end of the text";
    EXPECT_EQ(Str(edit->GetTextRange(6, 2)), L"") << "a range ending before its start";
    EXPECT_EQ(Str(edit->GetTextRange(0, 5)), L"first");
    EXPECT_EQ(Str(edit->GetLine(0, 5)), L"first");
    EXPECT_EQ(Str(edit->GetLine(1, 3)), L"sec");
    EXPECT_EQ(edit->LineIndex(1), 11);
    EXPECT_EQ(edit->LineFromChar(12), 1);

    // A face name longer than the face field is cut with its terminator kept.
    edit->SetFontFace(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn", 20, true, false, false);
    const CHARFORMAT2W& cf = edit->GetTextHost()->GetCharFormat();
    EXPECT_EQ(wcsnlen(cf.szFaceName, LF_FACESIZE), static_cast<size_t>(LF_FACESIZE - 1));
    EXPECT_NE(cf.dwEffects & CFE_BOLD, 0u);
}

TEST_F(RichEdit, WithoutServicesEveryOperationAnswersEmpty)
{
    // Never initialised: no manager, no text services.
    CRichEditUI edit;
    edit.SetText(L"kept");
    EXPECT_EQ(edit.GetTextHost(), nullptr);
    EXPECT_EQ(Str(edit.GetText()), L"");
    EXPECT_EQ(edit.GetTextLength(), 0);
    EXPECT_EQ(Str(edit.GetTextRange(0, -1)), L"");
    EXPECT_EQ(Str(edit.GetLine(0, 10)), L"");
    EXPECT_FALSE(edit.CanUndo());
    LRESULT result = 7;
    EXPECT_EQ(edit.TxSendMessage(WM_CHAR, L'a', 0, &result), S_FALSE);
    EXPECT_EQ(result, 7);
}

TEST_F(RichEdit, AttributesFollowTheirCaseRules)
{
    CRichEditUI* edit = AddEdit({{L"WantTab", L"false"},
                                 {L"align", L"left center"},
                                 {L"MaxChar", L"12"},
                                 {L"tipvaluealign", L"right"},
                                 {L"textcolor", L" #FF102030"}});
    EXPECT_TRUE(edit->IsWantTab()) << "wanttab is compared exactly";
    EXPECT_EQ(edit->GetWinStyle() & (ES_CENTER | ES_RIGHT), ES_CENTER);
    EXPECT_EQ(edit->GetLimitText(), 12);
    EXPECT_EQ(edit->GetTipValueAlign(), static_cast<UINT>(DT_SINGLELINE | DT_RIGHT));
    EXPECT_EQ(edit->GetTextColor(), 0xFF102030u);
    EXPECT_EQ(edit->GetTextHost()->GetCharFormat().crTextColor, RGB(0x10, 0x20, 0x30));
    edit->SetLimitText(0);
    EXPECT_EQ(edit->GetTextHost()->GetMaxLength(), 0x7FFF);
}

TEST_F(RichEdit, FocusKeepControlLeavesTheFocusedState)
{
    CRichEditUI* edit = AddEdit({}, RECT{10, 10, 200, 60});
    auto* keeper = m_host->Add(new ZvUI::CEditUI, RECT{10, 70, 200, 100});
    auto* other = m_host->Add(new ZvUI::CEditUI, RECT{10, 110, 200, 140});
    edit->AddFocusKeepControl(keeper);
    Focus(edit);
    m_host->pm.SetFocus(keeper);
    EXPECT_TRUE(edit->IsFocused());
    m_host->pm.SetFocus(edit);
    m_host->pm.SetFocus(other);
    EXPECT_FALSE(edit->IsFocused());
}

TEST_F(RichEdit, FontFollowsTheWindowsDpi)
{
    m_host->pm.AddFont(0, L"Tahoma", 12, false, false, false);
    CRichEditUI* edit = AddEdit({{L"font", L"0"}});
    const LONG before = edit->GetTextHost()->GetCharFormat().yHeight;
    m_host->pm.ApplyDpi(192);
    HostWindow::Pump();
    const LONG after = edit->GetTextHost()->GetCharFormat().yHeight;
    EXPECT_EQ(after, before * 2) << "the rebuilt font reaches the text host";
}

TEST_F(RichEdit, ContextMenuCommandsActOnlyWhileFocused)
{
    CRichEditUI* edit = AddEdit();
    edit->SetText(L"menu text");
    // The menu's answers come back to the window as WM_COMMAND: 106 selects all, 105 clears.
    ::SendMessageW(m_host->Get(), WM_COMMAND, 106, 0);
    EXPECT_EQ(Str(edit->GetSelText()), L"") << "not focused: ignored";
    Focus(edit);
    ::SendMessageW(m_host->Get(), WM_COMMAND, 106, 0);
    EXPECT_EQ(Str(edit->GetSelText()), L"menu text");
    ::SendMessageW(m_host->Get(), WM_COMMAND, 105, 0);
    EXPECT_EQ(Str(edit->GetText()), L"");
    ::SendMessageW(m_host->Get(), WM_COMMAND, 101, 0);
    EXPECT_EQ(Str(edit->GetText()), L"menu text") << "undo";
}

TEST_F(RichEdit, PlainTextTakesTheRescaledFontOnADpiChange)
{
    CRichEditUI* edit = AddEdit({{L"rich", L"false"}});
    ASSERT_NE(edit->GetTextHost(), nullptr);
    edit->SetText(L"Velmora 安装\rsecond line");
    edit->EmptyUndoBuffer();
    const auto heightOfText = [&] {
        edit->SetSelAll();
        CHARFORMAT2W format = {};
        format.cbSize = sizeof(format);
        edit->GetSelectionCharFormat(format);
        edit->SetSelNone();
        return format.yHeight;
    };
    const LONG before = heightOfText();
    m_host->log.Clear();
    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    EXPECT_EQ(heightOfText(), 2 * before) << "the text keeps the size of the old scale";
    EXPECT_EQ(m_host->log.Count(L"textchanged", edit), 0);
    EXPECT_FALSE(edit->CanUndo()) << "a DPI change is nothing to undo";
}

namespace {

// Fails the run when the steps it guards outlast their time: a window that lays itself out again
// from every paint never returns from that paint, where no check of the test could run.
class Watchdog {
public:
    explicit Watchdog(const char* what)
        : m_thread([this, what] {
              if (m_done.get_future().wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
                  std::fprintf(stderr, "FAILED: %s took more than 20 s\n", what);
                  std::fflush(stderr);
                  ::TerminateProcess(::GetCurrentProcess(), 3);
              }
          })
    {
    }
    ~Watchdog()
    {
        m_done.set_value();
        m_thread.join();
    }

private:
    std::promise<void> m_done;
    std::thread m_thread;
};

// Pumps until the window has neither messages nor anything left to paint; false when it is still
// busy when the time is up.
bool SettlesWithin(HWND hwnd, DWORD limitMs)
{
    const DWORD start = ::GetTickCount();
    int idleRounds = 0;
    while (::GetTickCount() - start < limitMs) {
        bool busy = false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            busy = true;
            if (ZvUI::CPaintManagerUI::PreTranslate(&msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        RECT dirty = {};
        if (busy || ::GetUpdateRect(hwnd, &dirty, FALSE))
            idleRounds = 0;
        else if (++idleRounds == 5)
            return true;
        ::Sleep(10);
    }
    return false;
}

CHARFORMAT2W FormatOf(CRichEditUI* edit, long start, long end)
{
    CHARRANGE saved = {};
    edit->GetSel(saved);
    edit->SetSel(start, end);
    CHARFORMAT2W format = {};
    edit->GetSelectionCharFormat(format);
    edit->SetSel(saved);
    return format;
}

} // namespace

TEST_F(RichEdit, SizeToTextSettlesAtDoubleDpi)
{
    // Odd text widths at 200 % used to come back one pixel apart after a trip through 96 dpi,
    // and every paint asked for another layout: the window never went idle.
    const Watchdog watchdog("a size-to-text rich edit at 200 %");
    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    for (LPCWSTR text : {L"a", L"abc", L"Velmora"}) {
        CRichEditUI* edit = AddEdit({{L"autotextsizeenable", L"true"}, {L"multiline", L"false"}},
                                    RECT{10, 10, 60, 40});
        edit->SetText(text);
        ::InvalidateRect(m_host->Get(), nullptr, FALSE);
        EXPECT_TRUE(SettlesWithin(m_host->Get(), 3000)) << "still laying out \"" << Str(text) << "\"";
        LONG width = 100000;
        LONG height = 0;
        SIZEL extent = {-1, -1};
        edit->GetTextHost()->GetTextServices()->TxGetNaturalSize(1, m_host->pm.GetWindowDC(), nullptr, nullptr,
                                                                TXTNS_FITTOCONTENT, &extent, &width, &height);
        EXPECT_GE(edit->GetWidth(), width) << "the field fits " << Str(text);
        EXPECT_LE(edit->GetWidth(), width + 1);
        m_host->root->Remove(edit);
        m_host->Settle();
    }
}

TEST_F(RichEdit, RichTextKeepsItsRunsThroughADpiChange)
{
    CRichEditUI* edit = AddEdit();
    ASSERT_TRUE(edit->IsRich());
    edit->SetText(L"Velmora text");
    // "Velmora" bold, red and 14 pt; " text" in the default format.
    edit->SetSel(0, 7);
    CHARFORMAT2W strong = {};
    strong.cbSize = sizeof(strong);
    strong.dwMask = CFM_BOLD | CFM_COLOR | CFM_SIZE;
    strong.dwEffects = CFE_BOLD;
    strong.crTextColor = RGB(200, 0, 0);
    strong.yHeight = 280;
    ASSERT_TRUE(edit->SetSelectionCharFormat(strong));
    edit->SetSel(2, 5);
    edit->EmptyUndoBuffer();
    const LONG plainBefore = FormatOf(edit, 8, 12).yHeight;
    m_host->log.Clear();

    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    const CHARFORMAT2W word = FormatOf(edit, 0, 7);
    EXPECT_NE(word.dwMask & CFM_SIZE, 0u) << "one size over the run";
    EXPECT_EQ(word.yHeight, 560);
    EXPECT_NE(word.dwEffects & CFE_BOLD, 0u);
    EXPECT_EQ(word.crTextColor, RGB(200, 0, 0));
    const CHARFORMAT2W rest = FormatOf(edit, 8, 12);
    EXPECT_EQ(rest.yHeight, 2 * plainBefore);
    EXPECT_EQ(rest.dwEffects & CFE_BOLD, 0u);
    EXPECT_EQ(rest.yHeight, edit->GetTextHost()->GetCharFormat().yHeight) << "as the host's default";
    long start = -1, end = -1;
    edit->GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 5);
    EXPECT_EQ(Str(edit->GetText()), L"Velmora text");
    EXPECT_EQ(m_host->log.Count(L"textchanged", edit), 0);
    EXPECT_FALSE(edit->CanUndo()) << "a DPI change is nothing to undo";

    // Back to 100 %: the sizes come back exactly.
    m_host->pm.ApplyDpi(96);
    m_host->Settle();
    EXPECT_EQ(FormatOf(edit, 0, 7).yHeight, 280);
    EXPECT_EQ(FormatOf(edit, 8, 12).yHeight, plainBefore);
}

TEST_F(RichEdit, TextRangeEndingPastTheTextIsCut)
{
    CRichEditUI* edit = AddEdit();
    edit->SetText(L"short");
    g_largestAllocation = 0;
    EXPECT_EQ(Str(edit->GetTextRange(0, LONG_MAX)), L"short");
    EXPECT_LT(g_largestAllocation.load(), 4096u) << "sized from the text, not from the range asked for";
    EXPECT_EQ(Str(edit->GetTextRange(2, 1000)), L"ort");
    EXPECT_EQ(Str(edit->GetTextRange(9, 12)), L"") << "a range past the end";
    EXPECT_EQ(Str(edit->GetTextRange(5, -1)), L"");
    edit->SetText(L"first\rsecond");
    g_largestAllocation = 0;
    EXPECT_EQ(Str(edit->GetLine(0, INT_MAX)), L"first\r");
    EXPECT_LT(g_largestAllocation.load(), 256u * 1024u);
}

TEST_F(RichEdit, MovedFieldKeepsItsTextPadding)
{
    CRichEditUI* edit = AddEdit({{L"textpadding", L"6,4,8,2"}}, RECT{10, 10, 200, 60});
    const RECT before = edit->GetTextHost()->GetClientRect();
    EXPECT_EQ(before.left, edit->GetPos().left + 6);
    edit->Move(SIZE{20, 10});
    const RECT moved = edit->GetTextHost()->GetClientRect();
    EXPECT_EQ(moved.right - moved.left, before.right - before.left) << "the padding stays off the text";
    EXPECT_EQ(moved.bottom - moved.top, before.bottom - before.top);
    m_host->Settle();
    const RECT after = edit->GetTextHost()->GetClientRect();
    EXPECT_EQ(after.left, before.left + 20);
    EXPECT_EQ(after.top, before.top + 10);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(RichEdit, UndoAfterADpiChangeTakesBackTheTypingNotTheScale)
{
    CRichEditUI* edit = AddEdit();
    Focus(edit);
    Type(L"abc");
    ASSERT_TRUE(edit->CanUndo());
    const LONG before = FormatOf(edit, 0, 3).yHeight;
    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    EXPECT_EQ(FormatOf(edit, 0, 3).yHeight, 2 * before);
    EXPECT_TRUE(edit->Undo());
    EXPECT_EQ(Str(edit->GetText()), L"") << "the typing goes";
    Type(L"d");
    EXPECT_EQ(FormatOf(edit, 0, 1).yHeight, 2 * before) << "the scale stays";
}

TEST_F(RichEdit, CaretTimerRunsOnlyWhileTheEditCanBeSeen)
{
    // The caret's timer is the edit's own id 20.
    const auto caretLive = [this](const CRichEditUI* edit) {
        for (int i = 0; i < m_host->pm.GetTimerCount(); ++i) {
            const ZvUI::UITimerInfo* info = m_host->pm.GetTimerInfo(i);
            if (info != nullptr && info->control == edit && info->callerId == 20 && !info->killed)
                return true;
        }
        return false;
    };
    CRichEditUI* edit = AddEdit();
    EXPECT_TRUE(caretLive(edit));
    m_host->root->SetVisible(false);
    EXPECT_FALSE(caretLive(edit)) << "hidden with its container";
    m_host->root->SetVisible(true);
    EXPECT_TRUE(caretLive(edit));
    edit->SetVisible(false);
    EXPECT_FALSE(caretLive(edit));
    edit->SetVisible(true);
    Focus(edit);
    EXPECT_TRUE(caretLive(edit));
}

TEST_F(RichEdit, ARedoWaitingThroughADpiChangeStillComesBack)
{
    CRichEditUI* edit = AddEdit();
    Focus(edit);
    Type(L"abc");
    ASSERT_TRUE(edit->Undo());
    ASSERT_EQ(Str(edit->GetText()), L"");
    ASSERT_TRUE(edit->CanRedo());
    m_host->pm.ApplyDpi(192);
    m_host->Settle();
    EXPECT_TRUE(edit->CanRedo());
    EXPECT_TRUE(edit->Redo());
    EXPECT_EQ(Str(edit->GetText()), L"abc");
}
