#include "filemanager/win/GDropTarget.h"

#include "core/MessageReporter.h"

GDropTarget::~GDropTarget()
{
    // Registered objects are held by OLE, so nothing is left here but the helper.
    if (dragImage != nullptr)
        dragImage->Release();
}

bool GDropTarget::Register(HWND target)
{
    if (registered || target == nullptr)
        return false;
    HRESULT result = CoLockObjectExternal(static_cast<IDropTarget*>(this), TRUE, FALSE);
    if (SUCCEEDED(result)) {
        result = RegisterDragDrop(target, this);
        if (FAILED(result))
            CoLockObjectExternal(static_cast<IDropTarget*>(this), FALSE, TRUE);
    }
    if (FAILED(result)) {
        Reporter().ReportFor(target, MessageKind::SystemError, static_cast<uint32_t>(result));
        return false;
    }
    window = target;
    registered = true;
    if (dragImage == nullptr &&
        FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                reinterpret_cast<void**>(&dragImage))))
        dragImage = nullptr;
    return true;
}

void GDropTarget::Revoke()
{
    if (!registered)
        return;
    // Kept alive by a local reference: the unlock may give up the last outside one.
    AddRef();
    if (IsWindow(window)) {
        const HRESULT result = RevokeDragDrop(window);
        if (FAILED(result))
            Reporter().ReportFor(window, MessageKind::SystemError, static_cast<uint32_t>(result));
    }
    CoLockObjectExternal(static_cast<IDropTarget*>(this), FALSE, TRUE);
    // Proxies handed to other processes are cut off too: their later calls never get here.
    CoDisconnectObject(static_cast<IDropTarget*>(this), 0);
    if (dragImage != nullptr) {
        dragImage->Release();
        dragImage = nullptr;
    }
    window = nullptr;
    registered = false;
    accepting = false;
    Release();
}

DWORD GDropTarget::ChooseEffect(DWORD keys, DWORD allowed)
{
    DWORD effect = (keys & MK_SHIFT) != 0 ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    effect &= allowed;
    if (effect == DROPEFFECT_NONE) {
        if ((allowed & DROPEFFECT_COPY) != 0)
            effect = DROPEFFECT_COPY;
        if ((allowed & DROPEFFECT_MOVE) != 0)
            effect = DROPEFFECT_MOVE;
    }
    return effect;
}

HRESULT GDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    if (effect == nullptr)
        return E_INVALIDARG;
    accepting = data != nullptr && CanAccept(data);
    *effect = accepting ? Effect(keys, *effect) : DROPEFFECT_NONE;
    if (*effect == DROPEFFECT_NONE)
        accepting = false;
    if (accepting)
        Entered();
    if (dragImage != nullptr) {
        POINT at{point.x, point.y};
        dragImage->DragEnter(window, data, &at, *effect);
    }
    return S_OK;
}

HRESULT GDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect)
{
    if (effect == nullptr)
        return E_INVALIDARG;
    *effect = accepting ? Effect(keys, *effect) : DROPEFFECT_NONE;
    if (dragImage != nullptr) {
        POINT at{point.x, point.y};
        dragImage->DragOver(&at, *effect);
    }
    return S_OK;
}

HRESULT GDropTarget::DragLeave()
{
    accepting = false;
    if (dragImage != nullptr)
        dragImage->DragLeave();
    return S_OK;
}

HRESULT GDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    if (effect == nullptr)
        return E_INVALIDARG;
    DWORD chosen = DROPEFFECT_NONE;
    if (accepting && data != nullptr) {
        chosen = Effect(keys, *effect);
        if (chosen != DROPEFFECT_NONE && !TakeDrop(data))
            chosen = DROPEFFECT_NONE;
    }
    accepting = false;
    *effect = chosen;
    if (dragImage != nullptr) {
        POINT at{point.x, point.y};
        dragImage->Drop(data, &at, chosen);
    }
    return S_OK;
}
