// The desktop side of an upload for the Wine tests: files to send, the shell's file list on
// the clipboard, and a drag of such a list onto a window, driven without a mouse.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "support/win/PhoneTree.h"
#include "support/win/TempDir.h"

namespace fm_test {

inline std::wstring Wide(const std::string& ansi)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

// Files and folders under a fresh temporary folder (ANSI names relative to it).
class Desktop {
public:
    std::string Path(const std::string& relative) const { return dir.File(relative.c_str()); }
    void Folder(const std::string& relative) const { CreateDirectoryA(Path(relative).c_str(), nullptr); }
    void File(const std::string& relative, const std::string& content) const
    {
        PhoneTree::WriteLocal(Path(relative), content);
    }

    TempDir dir;
};

// The shell's file list (DROPFILES with wide paths) in movable global memory.
inline HGLOBAL FileList(const std::vector<std::wstring>& paths)
{
    std::wstring joined;
    for (const std::wstring& path : paths)
        joined += path + L'\0';
    joined += L'\0';
    const size_t bytes = sizeof(DROPFILES) + joined.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), joined.data(), joined.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

inline std::vector<std::wstring> Paths(const Desktop& desktop, const std::vector<std::string>& relative)
{
    std::vector<std::wstring> paths;
    for (const std::string& name : relative)
        paths.push_back(Wide(desktop.Path(name)));
    return paths;
}

// As the shell's "Copy" leaves it.
inline void PutOnClipboard(HWND owner, const std::vector<std::wstring>& paths)
{
    OpenClipboard(owner);
    EmptyClipboard();
    SetClipboardData(CF_HDROP, FileList(paths));
    CloseClipboard();
}

// A dragged file list, as the shell offers it.
class FileListData : public IDataObject {
public:
    explicit FileListData(const std::vector<std::wstring>& paths) : list(FileList(paths)) {}
    ~FileListData() { GlobalFree(list); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = OleDuplicateData(list, CF_HDROP, 0);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return format != nullptr && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) != 0
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    HGLOBAL list;
};

// Lets go at once: the drop happens wherever the cursor is.
class DropAtOnce : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *object = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override
    {
        return escape ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Drags the files over the middle of target and drops them, offering copy and move as the
// shell does; answers the effect the target reported (DROPEFFECT_NONE when it refused).
inline DWORD DragOnto(HWND target, const std::vector<std::wstring>& paths)
{
    RECT place{};
    GetWindowRect(target, &place);
    SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    FileListData data(paths);
    DropAtOnce source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

}  // namespace fm_test
