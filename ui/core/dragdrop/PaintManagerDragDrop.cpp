// The paint manager's side of OLE drag and drop: registration, the drop handler, the drag start.
#include "manager/PaintManagerUI.h"

#include "dragdrop/DataObject.h"
#include "dragdrop/DragSourceHelper.h"
#include "dragdrop/DropSource.h"
#include "render/UIImageLimits.h"
#include "render/UIRender.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace ZvUI {

namespace {

FORMATETC MakeFormat(CLIPFORMAT format, DWORD tymed)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, tymed};
}

// Gives the window a new image; the one it held before is deleted. A window that does not keep
// the image (it does not answer STM_GETIMAGE with it) leaves it to us, and it is deleted too.
void SetWindowImage(HWND window, HBITMAP bitmap)
{
    const auto old = reinterpret_cast<HBITMAP>(
        ::SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (old != nullptr && old != bitmap)
        ::DeleteObject(old);
    const auto kept = reinterpret_cast<HBITMAP>(::SendMessageW(window, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (kept != bitmap)
        ::DeleteObject(bitmap);
}

struct ScreenDc {
    HWND window;
    HDC dc = ::GetDC(window);
    ~ScreenDc()
    {
        if (dc != nullptr)
            ::ReleaseDC(window, dc);
    }
};

struct GlobalLock {
    HGLOBAL handle;
    void* data = ::GlobalLock(handle);
    ~GlobalLock()
    {
        if (data != nullptr)
            ::GlobalUnlock(handle);
    }
};

struct MemoryDc {
    HDC dc;
    HGDIOBJ old = nullptr;
    MemoryDc(HDC like, HGDIOBJ object) : dc(::CreateCompatibleDC(like))
    {
        if (dc != nullptr)
            old = ::SelectObject(dc, object);
    }
    ~MemoryDc()
    {
        if (dc != nullptr) {
            ::SelectObject(dc, old);
            ::DeleteDC(dc);
        }
    }
};

// Where the pixels of a packed DIB start: after the header and its colour table (the masks of a
// plain header with bit fields included).
size_t DibPixelOffset(const BYTE* block)
{
    const DWORD headerSize = *reinterpret_cast<const DWORD*>(block);
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(block);
        return headerSize + (core->bcBitCount <= 8 ? 3u << core->bcBitCount : 0u);
    }
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    size_t colours = info->biClrUsed != 0 ? info->biClrUsed : info->biBitCount <= 8 ? 1u << info->biBitCount : 0u;
    if (info->biCompression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER))
        colours += 3;
    return headerSize + colours * 4;
}

// Anyone's data: held to the skin images' limits before GDI decodes what the header declares.
HBITMAP BitmapFromDib(HGLOBAL handle)
{
    const GlobalLock lock{handle};
    if (lock.data == nullptr)
        return nullptr;
    const auto* block = static_cast<const BYTE*>(lock.data);
    if (!CheckImageBytes(block, ::GlobalSize(handle), UIImageBytes::PackedDib, L"(dropped bitmap)"))
        return nullptr;
    const ScreenDc screen{nullptr};
    return ::CreateDIBitmap(screen.dc, reinterpret_cast<const BITMAPINFOHEADER*>(block), CBM_INIT,
                            block + DibPixelOffset(block), reinterpret_cast<const BITMAPINFO*>(block),
                            DIB_RGB_COLORS);
}

// A dropped BMP file, made from the bytes that were checked: reading it again by its path would
// let the file change between the check and the read, and the system's loader reads what the
// header declares, not what the file holds.
HBITMAP BitmapFromBmpFile(const std::vector<BYTE>& file)
{
    constexpr size_t kFileHeader = 14;
    if (file.size() < kFileHeader + sizeof(BITMAPCOREHEADER) || file[0] != 'B' || file[1] != 'M')
        return nullptr;
    DWORD offset = 0;
    std::memcpy(&offset, file.data() + 10, sizeof(offset));
    // The header and its colour table, on a boundary of their own (they follow 14 bytes).
    const size_t rest = file.size() - kFileHeader;
    std::vector<DWORD> header((sizeof(BITMAPV5HEADER) + 3) / 4, 0);
    std::memcpy(header.data(), file.data() + kFileHeader, std::min(rest, sizeof(BITMAPV5HEADER)));
    const size_t table = DibPixelOffset(reinterpret_cast<const BYTE*>(header.data()));
    if (offset >= file.size() || table > rest)
        return nullptr;
    header.assign((table + 3) / 4, 0);
    std::memcpy(header.data(), file.data() + kFileHeader, table);
    const auto* block = reinterpret_cast<const BYTE*>(header.data());
    const ScreenDc screen{nullptr};
    return ::CreateDIBitmap(screen.dc, reinterpret_cast<const BITMAPINFOHEADER*>(block), CBM_INIT,
                            file.data() + offset, reinterpret_cast<const BITMAPINFO*>(block), DIB_RGB_COLORS);
}

// The metafile's records, its bounds (the bitmap's size) and its play rectangle are held to the
// skin images' limits before it is played.
// The thread's own processor time in milliseconds: a loaded machine does not count against the
// metafile, which a wall clock would.
ULONGLONG ThreadMs()
{
    FILETIME created = {};
    FILETIME exited = {};
    FILETIME kernel = {};
    FILETIME user = {};
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user))
        return ::GetTickCount64();
    const auto ticks = [](const FILETIME& t) { return (ULONGLONG{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10000; };
    return ticks(kernel) + ticks(user);
}

struct MetafilePlay {
    ULONGLONG started = ThreadMs();
    bool stopped = false;
};

int CALLBACK PlayRecord(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record, int objects, LPARAM data)
{
    auto* playing = reinterpret_cast<MetafilePlay*>(data);
    if (ThreadMs() - playing->started > 1000) {
        playing->stopped = true;
        return 0;
    }
    // A record GDI cannot play is passed over, as PlayEnhMetaFile does.
    ::PlayEnhMetaFileRecord(dc, handles, record, static_cast<UINT>(objects));
    return 1;
}

HBITMAP BitmapFromMetafile(HWND window, HENHMETAFILE metafile)
{
    if (metafile == nullptr)
        return nullptr;
    const UINT size = ::GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size == 0 || !ImageByteCountAcceptable(size, L"(dropped metafile)"))
        return nullptr;
    std::vector<BYTE> bytes(size);
    if (::GetEnhMetaFileBits(metafile, size, bytes.data()) != size ||
        !CheckImageBytes(bytes.data(), bytes.size(), UIImageBytes::Metafile, L"(dropped metafile)"))
        return nullptr;
    ENHMETAHEADER header = {};
    std::memcpy(&header, bytes.data(), sizeof(header));
    const ScreenDc windowDc{window};
    if (windowDc.dc == nullptr)
        return nullptr;
    const double horzRes = ::GetDeviceCaps(windowDc.dc, HORZRES);
    const double vertRes = ::GetDeviceCaps(windowDc.dc, VERTRES);
    const double horzSize = ::GetDeviceCaps(windowDc.dc, HORZSIZE) * 100.0;
    const double vertSize = ::GetDeviceCaps(windowDc.dc, VERTSIZE) * 100.0;
    if (horzSize <= 0 || vertSize <= 0)
        return nullptr;
    // The frame is kept in 0.01 mm; the play rectangle is in pixels.
    const double left = header.rclFrame.left * horzRes / horzSize;
    const double top = header.rclFrame.top * vertRes / vertSize;
    const double right = header.rclFrame.right * horzRes / horzSize;
    const double bottom = header.rclFrame.bottom * vertRes / vertSize;
    // Records are stretched onto the play rectangle: one far larger than the bitmap costs as much.
    if (!ImageSizeAcceptable(static_cast<long long>(std::fabs(right - left)) + 1,
                             static_cast<long long>(std::fabs(bottom - top)) + 1) ||
        std::fabs(left) > kMaxImageSide || std::fabs(top) > kMaxImageSide)
        return nullptr;
    const RECT play = {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                       static_cast<LONG>(bottom)};
    HBITMAP bitmap = ::CreateCompatibleBitmap(windowDc.dc, header.rclBounds.right, header.rclBounds.bottom);
    if (bitmap == nullptr)
        return nullptr;
    const MemoryDc memory(windowDc.dc, bitmap);
    // Played record by record: what a record costs GDI is not all in the check's count (a
    // glyph is drawn at its font's size, whatever the bitmap's), so playing stops past a second
    // of the thread's time and the picture is dropped.
    MetafilePlay playing;
    if (memory.dc == nullptr || !::EnumEnhMetaFile(memory.dc, metafile, &PlayRecord, &playing, &play) ||
        playing.stopped) {
        if (playing.stopped)
            ::OutputDebugStringW(L"ZvUI: image \"(dropped metafile)\" refused: its records took more than 1 s to play\n");
        ::DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

} // namespace

void CPaintManagerUI::RevokeDropTarget()
{
    // OLE needs the window to revoke: once it is gone OLE keeps a pointer to this manager.
    if (m_bDragMode && m_targetWindow != nullptr && ::IsWindow(m_targetWindow))
        EnableDragDrop(false);
}

bool CPaintManagerUI::EnableDragDrop(bool on)
{
    if (on == m_bDragMode)
        return false;
    m_bDragMode = on;
    if (!on) {
        Release();
        return SUCCEEDED(::RevokeDragDrop(m_targetWindow != nullptr ? m_targetWindow : m_hWndPaint));
    }
    AddRef();
    if (FAILED(::RegisterDragDrop(m_hWndPaint, this))) {
        // Nothing was registered: the mode stays off, so a later call may try again.
        Release();
        m_bDragMode = false;
        return false;
    }
    m_targetWindow = m_hWndPaint;
    AddSupportedFormat(MakeFormat(CF_BITMAP, TYMED_GDI));
    AddSupportedFormat(MakeFormat(CF_DIB, TYMED_HGLOBAL));
    AddSupportedFormat(MakeFormat(CF_HDROP, TYMED_HGLOBAL));
    AddSupportedFormat(MakeFormat(CF_ENHMETAFILE, TYMED_ENHMF));
    return true;
}

void CPaintManagerUI::SetDropCallback(std::function<void(HDROP)> callback)
{
    m_dropCallback = std::move(callback);
}

bool CPaintManagerUI::OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD*)
{
    const HWND window = m_targetWindow;
    // The press that the drag began never saw its release here.
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(cursor.x, cursor.y));
    if (format == nullptr)
        return true;

    if (format->cfFormat == CF_DIB && medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
        if (HBITMAP bitmap = BitmapFromDib(medium.hGlobal))
            SetWindowImage(window, bitmap);
        return true;
    }
    if (format->cfFormat == CF_BITMAP && medium.tymed == TYMED_GDI && medium.hBitmap != nullptr) {
        // The medium's bitmap may belong to the source (its release object): the window gets a
        // copy of its own and the medium is released as every other.
        if (const auto copy = static_cast<HBITMAP>(::OleDuplicateData(medium.hBitmap, CF_BITMAP, 0)))
            SetWindowImage(window, copy);
        return true;
    }
    if (format->cfFormat == CF_ENHMETAFILE && medium.tymed == TYMED_ENHMF) {
        if (HBITMAP bitmap = BitmapFromMetafile(window, medium.hEnhMetaFile))
            SetWindowImage(window, bitmap);
        return true;
    }
    if (format->cfFormat == CF_HDROP && medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
        const GlobalLock lock{medium.hGlobal};
        const auto drop = static_cast<HDROP>(lock.data);
        if (drop != nullptr) {
            if (m_dropCallback) {
                m_dropCallback(drop);
            } else if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) >= 1) {
                wchar_t file[MAX_PATH] = {};
                ::DragQueryFileW(drop, 0, file, MAX_PATH);
                // A dropped file is anyone's: the file itself, not a skin image of the same name, is
                // held to the skin images' limits before the system decodes it.
                std::vector<BYTE> bytes;
                const HBITMAP bitmap = CUIRender::ReadImageFile(file, bytes) ? BitmapFromBmpFile(bytes) : nullptr;
                if (bitmap != nullptr)
                    SetWindowImage(window, bitmap);
            }
        }
        return true;
    }
    return true;
}

void CPaintManagerUI::StartDrag()
{
    // OLE runs its own capture for the drag; the manager's flag is left as it is.
    ::ReleaseCapture();

    auto* source = new (std::nothrow) CIDropSource();
    if (source == nullptr)
        return;
    source->AddRef();
    auto* data = new (std::nothrow) CIDataObject(source);
    if (data == nullptr) {
        source->Release();
        return;
    }
    data->AddRef();

    const auto copy = static_cast<HBITMAP>(::OleDuplicateData(m_hDragBitmap, CF_BITMAP, 0));
    FORMATETC bitmapFormat = MakeFormat(CF_BITMAP, TYMED_GDI);
    STGMEDIUM bitmapMedium = {};
    bitmapMedium.tymed = TYMED_GDI;
    bitmapMedium.hBitmap = copy;
    // The data object keeps a duplicate of its own.
    data->SetData(&bitmapFormat, &bitmapMedium, FALSE);

    BITMAP info = {};
    ::GetObjectW(copy, sizeof(info), &info);
    const RECT rc = {0, 0, info.bmWidth, info.bmHeight};
    if (HDC recorder = ::CreateEnhMetaFileW(m_hDcPaint, nullptr, nullptr, nullptr)) {
        {
            const MemoryDc memory(m_hDcPaint, copy);
            ::BitBlt(recorder, 0, 0, rc.right, rc.bottom, memory.dc, 0, 0, SRCCOPY);
        }
        FORMATETC metaFormat = MakeFormat(CF_ENHMETAFILE, TYMED_ENHMF);
        STGMEDIUM metaMedium = {};
        metaMedium.tymed = TYMED_ENHMF;
        metaMedium.hEnhMetaFile = ::CloseEnhMetaFile(recorder);
        // The data object takes the metafile over.
        if (metaMedium.hEnhMetaFile != nullptr)
            data->SetData(&metaFormat, &metaMedium, TRUE);
    }

    {
        CDragSourceHelper helper;
        const POINT cursor = {rc.right / 2, rc.bottom / 2};
        // On success the helper owns the copy; otherwise it is ours to free.
        if (FAILED(helper.InitializeFromBitmap(copy, cursor, rc, data, ::GetSysColor(COLOR_WINDOW))) &&
            copy != nullptr)
            ::DeleteObject(copy);

        DWORD effect = DROPEFFECT_NONE;
        ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
        source->Release();
        data->Release();
        m_bDragPending = false;
    }
}

} // namespace ZvUI
