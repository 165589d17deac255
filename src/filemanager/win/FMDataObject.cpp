#include "filemanager/win/FMDataObject.h"

#include "filemanager/win/FileManagerWindow.h"
#include "filemanager/win/GEnumFormatEtc.h"
#include "filemanager/win/IFileManagerStream.h"
#include "filemanager/win/ShellExchange.h"
#include "filemanager/win/ShellFormats.h"

FMDataObject::FMDataObject(std::shared_ptr<ShellExchange> shared) : exchange(std::move(shared)) {}

HRESULT FMDataObject::StoreDescriptor(HGLOBAL block)
{
    FORMATETC format{TheShellFormats().fileDescriptor, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    return GDataObject::SetData(&format, &medium, TRUE);
}

bool FMDataObject::AsksForContents(const FORMATETC& format) const
{
    return format.cfFormat == TheShellFormats().fileContents && format.dwAspect == DVASPECT_CONTENT &&
           (format.tymed & TYMED_ISTREAM) != 0;
}

HRESULT STDMETHODCALLTYPE FMDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (format == nullptr || medium == nullptr)
        return E_INVALIDARG;
    if (!AsksForContents(*format))
        return GDataObject::GetData(format, medium);
    if (exchange->Window() == nullptr)
        return DV_E_FORMATETC;
    if (format->lindex < 0 || !exchange->files.IsFile(static_cast<size_t>(format->lindex)))
        return DV_E_LINDEX;
    *medium = STGMEDIUM{};
    medium->tymed = TYMED_ISTREAM;
    medium->pstm = new IFileManagerStream(exchange, static_cast<size_t>(format->lindex));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FMDataObject::QueryGetData(FORMATETC* format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    if (!AsksForContents(*format))
        return GDataObject::QueryGetData(format);
    if (exchange->Window() == nullptr)
        return DV_E_FORMATETC;
    if (format->lindex == -1 || (format->lindex >= 0 && exchange->files.IsFile(static_cast<size_t>(format->lindex))))
        return S_OK;
    return DV_E_LINDEX;
}

HRESULT STDMETHODCALLTYPE FMDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (exchange->reading != nullptr)
        return E_PENDING;
    const HRESULT stored = GDataObject::SetData(format, medium, release);
    if (SUCCEEDED(stored) && format->cfFormat == TheShellFormats().performedDropEffect) {
        if (FileManagerWindow* window = exchange->Window())
            window->ShellPasteDone();
    }
    return stored;
}

HRESULT STDMETHODCALLTYPE FMDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator)
{
    if (enumerator == nullptr)
        return E_INVALIDARG;
    *enumerator = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> offered = StoredFormats();
    if (offered.empty())
        return E_INVALIDARG;
    offered.push_back(FORMATETC{TheShellFormats().fileContents, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM});
    *enumerator = new GEnumFormatEtc(offered);
    return S_OK;
}

void FMDataObject::OnReleased(LONG remaining)
{
    // Only the window's own reference left: the clipboard or the drag let the copy go.
    if (remaining == 1)
        exchange->NotifyWindow();
}
