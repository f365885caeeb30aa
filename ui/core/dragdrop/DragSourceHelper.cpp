#include "dragdrop/DragSourceHelper.h"

namespace ZvUI {

CDragSourceHelper::CDragSourceHelper()
{
    if (FAILED(::CoCreateInstance(kDragImageHelperClsid, nullptr, CLSCTX_INPROC_SERVER, kDragSourceHelperIid,
                                  reinterpret_cast<void**>(&m_helper))))
        m_helper = nullptr;
}

CDragSourceHelper::~CDragSourceHelper()
{
    if (m_helper != nullptr)
        m_helper->Release();
}

HRESULT CDragSourceHelper::InitializeFromBitmap(HBITMAP bitmap, POINT cursor, RECT image, IDataObject* data,
                                                COLORREF colorKey)
{
    if (m_helper == nullptr)
        return E_FAIL;
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    SHDRAGIMAGE drag = {};
    drag.sizeDragImage.cx = info.bmWidth;
    drag.sizeDragImage.cy = info.bmHeight;
    drag.ptOffset.x = cursor.x - image.left;
    drag.ptOffset.y = cursor.y - image.top;
    drag.hbmpDragImage = bitmap;
    drag.crColorKey = colorKey;
    return m_helper->InitializeFromBitmap(&drag, data);
}

} // namespace ZvUI
