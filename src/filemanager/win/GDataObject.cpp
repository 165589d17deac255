#include "filemanager/win/GDataObject.h"

#include "filemanager/win/GEnumFormatEtc.h"

GDataObject::~GDataObject()
{
    ClearFormats();
    SetAsyncOperation(nullptr);
}

HRESULT STDMETHODCALLTYPE GDataObject::QueryInterface(REFIID id, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    if (IsEqualIID(id, IID_IDataObjectAsyncCapability) && asyncOperation != nullptr) {
        asyncOperation->AddRef();
        *object = asyncOperation;
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE GDataObject::AddRef() { return static_cast<ULONG>(++references); }

ULONG STDMETHODCALLTYPE GDataObject::Release()
{
    const LONG remaining = --references;
    if (remaining == 0) {
        delete this;
        return 0;
    }
    OnReleased(remaining);
    return static_cast<ULONG>(remaining);
}

void GDataObject::SetAsyncOperation(IDataObjectAsyncCapability* companion)
{
    if (companion != nullptr)
        companion->AddRef();
    if (asyncOperation != nullptr)
        asyncOperation->Release();
    asyncOperation = companion;
}

void GDataObject::ClearFormats()
{
    // Taken out first: releasing a medium may call back into this object.
    std::vector<std::pair<FORMATETC, STGMEDIUM>> stored;
    stored.swap(formats);
    for (auto& [format, medium] : stored) {
        if (format.ptd != nullptr)
            CoTaskMemFree(format.ptd);
        ReleaseStgMedium(&medium);
    }
}

int GDataObject::FindFormat(const FORMATETC& format) const
{
    for (size_t i = 0; i < formats.size(); ++i) {
        const FORMATETC& stored = formats[i].first;
        if ((stored.tymed & format.tymed) != 0 && stored.cfFormat == format.cfFormat &&
            stored.dwAspect == format.dwAspect && stored.lindex == format.lindex)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<FORMATETC> GDataObject::StoredFormats() const
{
    std::vector<FORMATETC> out;
    for (const auto& pair : formats)
        out.push_back(pair.first);
    return out;
}

HRESULT GDataObject::CopyMedium(STGMEDIUM& out, const STGMEDIUM& in, CLIPFORMAT format)
{
    out = STGMEDIUM{};
    out.tymed = in.tymed;
    switch (in.tymed) {
    case TYMED_HGLOBAL:
    case TYMED_FILE:
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
        out.hGlobal = static_cast<HGLOBAL>(OleDuplicateData(in.hGlobal, format, 0));
        if (out.hGlobal == nullptr)
            return E_OUTOFMEMORY;
        break;
    case TYMED_ISTREAM:
        out.pstm = in.pstm;
        if (out.pstm != nullptr)
            out.pstm->AddRef();
        break;
    case TYMED_ISTORAGE:
        out.pstg = in.pstg;
        if (out.pstg != nullptr)
            out.pstg->AddRef();
        break;
    default: break;
    }
    // The copy is the receiver's own: a duplicate to free or a reference to release.
    out.pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (format == nullptr || medium == nullptr)
        return E_INVALIDARG;
    const int found = FindFormat(*format);
    if (found < 0)
        return DV_E_FORMATETC;
    return CopyMedium(*medium, formats[found].second, formats[found].first.cfFormat);
}

HRESULT STDMETHODCALLTYPE GDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT STDMETHODCALLTYPE GDataObject::QueryGetData(FORMATETC* format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    return FindFormat(*format) >= 0 ? S_OK : DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE GDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (out != nullptr)
        out->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE GDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (format == nullptr || medium == nullptr)
        return E_INVALIDARG;
    if (!release)
        return E_NOTIMPL;
    // Given with release, the medium is ours to keep or free.
    if (FindFormat(*format) >= 0) {
        ReleaseStgMedium(medium);
        return S_OK;
    }
    STGMEDIUM kept = *medium;
    FORMATETC description = *format;
    if (format->ptd != nullptr) {
        description.ptd = static_cast<DVTARGETDEVICE*>(CoTaskMemAlloc(format->ptd->tdSize));
        if (description.ptd == nullptr) {
            ReleaseStgMedium(&kept);
            return E_OUTOFMEMORY;
        }
        CopyMemory(description.ptd, format->ptd, format->ptd->tdSize);
    }
    formats.emplace_back(description, kept);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator)
{
    if (enumerator == nullptr)
        return E_INVALIDARG;
    *enumerator = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    const std::vector<FORMATETC> stored = StoredFormats();
    if (stored.empty())
        return E_INVALIDARG;
    *enumerator = new GEnumFormatEtc(stored);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE GDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT STDMETHODCALLTYPE GDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }
