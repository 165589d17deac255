#include "filemanager/win/GEnumFormatEtc.h"

namespace {

// A description with its own copy of the target device record (the caller frees it).
FORMATETC CopyFormat(const FORMATETC& in)
{
    FORMATETC out = in;
    if (in.ptd != nullptr) {
        out.ptd = static_cast<DVTARGETDEVICE*>(CoTaskMemAlloc(in.ptd->tdSize));
        if (out.ptd != nullptr)
            CopyMemory(out.ptd, in.ptd, in.ptd->tdSize);
    }
    return out;
}

}  // namespace

GEnumFormatEtc::GEnumFormatEtc(const std::vector<FORMATETC>& given, size_t start) : position(start)
{
    for (const FORMATETC& format : given)
        formats.push_back(CopyFormat(format));
}

GEnumFormatEtc::~GEnumFormatEtc()
{
    for (FORMATETC& format : formats)
        CoTaskMemFree(format.ptd);
}

HRESULT STDMETHODCALLTYPE GEnumFormatEtc::Next(ULONG count, FORMATETC* out, ULONG* fetched)
{
    if (count == 0 || out == nullptr)
        return E_INVALIDARG;
    ULONG given = 0;
    while (given < count && position < formats.size())
        out[given++] = CopyFormat(formats[position++]);
    if (fetched != nullptr)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE GEnumFormatEtc::Skip(ULONG count)
{
    position += count;
    if (position > formats.size()) {
        position = formats.size();
        return S_FALSE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GEnumFormatEtc::Reset()
{
    position = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GEnumFormatEtc::Clone(IEnumFORMATETC** copy)
{
    if (copy == nullptr)
        return E_INVALIDARG;
    *copy = new GEnumFormatEtc(formats, position);
    return S_OK;
}
