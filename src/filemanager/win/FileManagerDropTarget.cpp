#include "filemanager/win/FileManagerDropTarget.h"

#include "core/MessageReporter.h"
#include "filemanager/win/FileManagerWindow.h"

namespace {
FORMATETC FileListFormat()
{
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}
}  // namespace

void FileManager_IDropTarget::Detach()
{
    Revoke();
    owner = nullptr;
}

bool FileManager_IDropTarget::CanAccept(IDataObject* data)
{
    if (owner == nullptr || owner->IsDraggingOut() || !owner->CanTakeFiles())
        return false;
    FORMATETC format = FileListFormat();
    return data->QueryGetData(&format) == S_OK;
}

DWORD FileManager_IDropTarget::Effect(DWORD keys, DWORD allowed)
{
    return ChooseEffect(keys, allowed & DROPEFFECT_COPY);
}

void FileManager_IDropTarget::Entered()
{
    if (owner != nullptr)
        SetFocus(owner->Handle());
}

bool FileManager_IDropTarget::TakeDrop(IDataObject* data)
{
    // The phone may have got busy while the drag was on its way.
    if (owner == nullptr || !owner->CanTakeFiles())
        return false;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    const HRESULT got = data->GetData(&format, &medium);
    // A source in another process is called through COM, which lets this thread's messages
    // run meanwhile: the window may have gone by the time the list arrives.
    if (got == S_OK && owner == nullptr) {
        ReleaseStgMedium(&medium);
        return false;
    }
    if (got != S_OK) {
        if (FAILED(got) && owner != nullptr)
            Reporter().ReportFor(owner->Handle(), MessageKind::SystemError, static_cast<uint32_t>(got));
        return false;
    }
    bool taken = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr)
        taken = owner->UploadDroppedFiles(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    return taken;
}
