// What the file manager offers the desktop for a copy out of the phone: the file group
// descriptor of the copied tree, and for each file a new stream whenever a receiver asks for
// its contents (a second request gets the whole file again, not a drained stream). The
// receiver's "Performed DropEffect" report ends a paste.
#pragma once

#include <memory>

#include "filemanager/win/GDataObject.h"

class ShellExchange;

class FMDataObject : public GDataObject {
public:
    // Starts with one reference (its owner's).
    explicit FMDataObject(std::shared_ptr<ShellExchange> exchange);

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    // Refused as busy while a read of the copy waits for the phone.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;

    // Keeps the descriptor block (global memory, taken over).
    HRESULT StoreDescriptor(HGLOBAL block);

protected:
    void OnReleased(LONG remaining) override;

private:
    // Whether format asks for the contents of the file at its index (-1: of any file).
    bool AsksForContents(const FORMATETC& format) const;

    std::shared_ptr<ShellExchange> exchange;
};
