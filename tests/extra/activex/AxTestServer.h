#pragma once
// In-process test control shared by the ActiveX tests: class ids and the record it keeps.

#include <windows.h>
#include <oaidl.h>

// Runs without a window of its own when the host allows it.
inline constexpr CLSID kCLSID_AxTestWindowless = {
    0x5b0c7a01, 0x6d2e, 0x4c11, {0x9a, 0x31, 0x7e, 0x55, 0x10, 0x2c, 0x40, 0x01}};
// Always creates a child window of the host's window.
inline constexpr CLSID kCLSID_AxTestWindowed = {
    0x5b0c7a02, 0x6d2e, 0x4c11, {0x9a, 0x31, 0x7e, 0x55, 0x10, 0x2c, 0x40, 0x02}};

// Counts like the media player object of 64-bit Wine: queries the windowless site once and
// releases it twice, declines windowless activation, never releases its in-place frame.
inline constexpr CLSID kCLSID_AxTestMediaLike = {
    0x5b0c7a03, 0x6d2e, 0x4c11, {0x9a, 0x31, 0x7e, 0x55, 0x10, 0x2c, 0x40, 0x03}};

// Windowless, and answers as a web browser whose document (one per process, outliving every
// object) keeps the UI handler a host gives it.
inline constexpr CLSID kCLSID_AxTestBrowserLike = {
    0x5b0c7a04, 0x6d2e, 0x4c11, {0x9a, 0x31, 0x7e, 0x55, 0x10, 0x2c, 0x40, 0x04}};

constexpr DISPID kDispCaption = 1;

// What the test control saw; one record per process, reset by the tests.
struct AxTestStats {
    LONG liveObjects;
    LONG initNewCalls;
    bool siteSetBeforeInitNew;
    bool windowless;
    HWND ownWindow;
    SIZEL extent;
    RECT objectRect;
    LONG draws;
    RECT lastDraw;
    LONG clicks;
    LONG mouseMessages;
    LONG wheels;
    LONG keyDowns;
    wchar_t chars[32];
    LONG charCount;
    LONG windowFocusGained;
    wchar_t caption[32];
    // Answer of QueryHitPoint inside the object's rectangle.
    DWORD hitAnswer;
    // When set, the object keeps its client site after the host lets it go.
    bool holdSite;
    HRESULT lateCallResult;
    LONG lateReleaseResult;
    // Frames handed out by GetWindowContext that were still alive at deactivation.
    LONG framesSeen;
    bool sameFrameEachTime;
    // The frame the media-like object kept: its late GetWindow answer.
    HRESULT lateFrameResult;
    // Calls the browser-like document made into the UI handler it held.
    LONG documentHandlerCalls;
};

using AxTestStatsFn = AxTestStats* (*)();
// Makes the late call on the held site (GetWindow), records it, then releases the site.
using AxTestReleaseHeldSiteFn = void (*)();
// Asks the frame a media-like object kept for its window, records the answer, then lets it go.
using AxTestCallHeldFrameFn = void (*)();
// The browser-like document asks its UI handler, if it still has one, for the host info, as a
// document that outlived its browser would; true when it had a handler.
using AxTestCallDocumentHandlerFn = bool (*)();
