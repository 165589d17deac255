// Walks a private copy of a data object's format descriptions.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <vector>

#include "filemanager/win/ComObject.h"

class GEnumFormatEtc final : public ComObject<IEnumFORMATETC, IID_IEnumFORMATETC> {
public:
    // Starts with one reference, at the first description.
    explicit GEnumFormatEtc(const std::vector<FORMATETC>& formats, size_t position = 0);

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override;

private:
    ~GEnumFormatEtc();

    std::vector<FORMATETC> formats;
    size_t position;
};
