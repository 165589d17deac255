// A data object that keeps what is put into it: pairs of format and medium, handed out as
// copies. The file manager's data object builds on it; a receiver may store its own formats
// in it too (the shell reports the effect of a paste that way).
//
// The object lives on the heap and goes with its last reference; its owner holds one.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <shldisp.h>

#include <atomic>
#include <utility>
#include <vector>

class GDataObject : public IDataObject {
public:
    GDataObject() = default;
    GDataObject(const GDataObject&) = delete;
    GDataObject& operator=(const GDataObject&) = delete;

    // IUnknown. IDataObjectAsyncCapability answers with the companion when one is set.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDataObject.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

    // Releases every stored medium.
    void ClearFormats();
    LONG References() const { return references.load(); }
    // The companion a receiver gets for IDataObjectAsyncCapability (counted here), or null.
    void SetAsyncOperation(IDataObjectAsyncCapability* companion);

    // A copy of medium as GetData hands it out: handles duplicated, a stream or storage
    // shared with one more reference; the receiver releases it alone.
    static HRESULT CopyMedium(STGMEDIUM& out, const STGMEDIUM& in, CLIPFORMAT format);

protected:
    virtual ~GDataObject();
    // The index of the stored pair that serves format, -1 when none does.
    int FindFormat(const FORMATETC& format) const;
    // The descriptions of the stored formats.
    std::vector<FORMATETC> StoredFormats() const;
    // The count fell to remaining (the object is not gone).
    virtual void OnReleased(LONG remaining) {}

private:
    std::atomic<LONG> references{1};
    std::vector<std::pair<FORMATETC, STGMEDIUM>> formats;
    IDataObjectAsyncCapability* asyncOperation = nullptr;
};
