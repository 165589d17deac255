/* A second program that pastes virtual files from the clipboard the way the desktop does:
   reads the file group descriptor, creates each folder and writes each file's stream under
   OUTDIR (names taken as they come, so a name that climbs out of OUTDIR would land outside),
   sets the times the descriptor gives, and reports "Performed DropEffect" at the end.

   qv_clipreader REPORT OUTDIR [--no-report] [--again INDEX]

   REPORT gets one line per record and per read, then totals:
     ITEM <i>|<name>|flags=<hex>|attributes=<hex>|size=<n>|time=<file time>
     READ <i>|<hresult of the last Read>|<bytes>       (a failed file is removed again)
     AGAIN <i>|<hresult>|<bytes>                       (a second stream for one index)
     REPORTED <hresult>
     DONE bytes=<n> ms=<time spent reading>
   Exit code 0 when the clipboard offered a descriptor, else 2. */
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static FILE* report;

/* Reads a stream to its end into path (when path is not null); answers the last result. */
static HRESULT Drain(IStream* stream, const char* path, ULONGLONG* total)
{
    static BYTE buffer[65536];
    HANDLE file = INVALID_HANDLE_VALUE;
    HRESULT hr;
    if (path != NULL)
        file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    for (;;) {
        ULONG got = 0;
        DWORD written = 0;
        hr = stream->lpVtbl->Read(stream, buffer, sizeof buffer, &got);
        if (FAILED(hr))
            break;
        if (got > 0 && file != INVALID_HANDLE_VALUE)
            WriteFile(file, buffer, got, &written, NULL);
        *total += got;
        if (hr == S_FALSE || got == 0)
            break;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (FAILED(hr) && path != NULL)
        DeleteFileA(path);
    return hr;
}

static HRESULT ReadContents(IDataObject* data, CLIPFORMAT contents, LONG index, const char* path, ULONGLONG* bytes)
{
    FORMATETC format = {contents, NULL, DVASPECT_CONTENT, index, TYMED_ISTREAM};
    STGMEDIUM medium;
    HRESULT hr;
    *bytes = 0;
    memset(&medium, 0, sizeof medium);
    hr = data->lpVtbl->GetData(data, &format, &medium);
    if (FAILED(hr))
        return hr;
    if (medium.tymed != TYMED_ISTREAM || medium.pstm == NULL) {
        ReleaseStgMedium(&medium);
        return DV_E_TYMED;
    }
    hr = Drain(medium.pstm, path, bytes);
    ReleaseStgMedium(&medium);
    return hr;
}

int main(int argc, char** argv)
{
    IDataObject* data = NULL;
    FORMATETC format = {0, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium;
    CLIPFORMAT contents;
    FILEGROUPDESCRIPTORA* group;
    ULONGLONG all = 0;
    DWORD started;
    UINT i;
    int tell = 1;
    LONG again = -1;
    int a;

    if (argc < 3)
        return 1;
    for (a = 3; a < argc; ++a) {
        if (strcmp(argv[a], "--no-report") == 0)
            tell = 0;
        else if (strcmp(argv[a], "--again") == 0 && a + 1 < argc)
            again = atol(argv[++a]);
    }
    report = fopen(argv[1], "wb");
    if (report == NULL || FAILED(OleInitialize(NULL)))
        return 1;
    if (FAILED(OleGetClipboard(&data))) {
        fprintf(report, "NO CLIPBOARD\n");
        fclose(report);
        return 2;
    }
    format.cfFormat = (CLIPFORMAT)RegisterClipboardFormatA("FileGroupDescriptor");
    contents = (CLIPFORMAT)RegisterClipboardFormatA("FileContents");
    memset(&medium, 0, sizeof medium);
    if (FAILED(data->lpVtbl->GetData(data, &format, &medium))) {
        fprintf(report, "NO DESCRIPTOR\n");
        fclose(report);
        data->lpVtbl->Release(data);
        OleUninitialize();
        return 2;
    }
    group = (FILEGROUPDESCRIPTORA*)GlobalLock(medium.hGlobal);
    started = GetTickCount();
    for (i = 0; i < group->cItems; ++i) {
        const FILEDESCRIPTORA* d = &group->fgd[i];
        char path[MAX_PATH * 2];
        ULONGLONG time = ((ULONGLONG)d->ftLastWriteTime.dwHighDateTime << 32) | d->ftLastWriteTime.dwLowDateTime;
        snprintf(path, sizeof path, "%s\\%s", argv[2], d->cFileName);
        fprintf(report, "ITEM %u|%s|flags=%lx|attributes=%lx|size=%lu|time=%llu\n", i, d->cFileName, d->dwFlags,
                d->dwFileAttributes, d->nFileSizeLow, time);
        if (d->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CreateDirectoryA(path, NULL);
        } else {
            ULONGLONG bytes = 0;
            HRESULT hr = ReadContents(data, contents, (LONG)i, path, &bytes);
            fprintf(report, "READ %u|%08lx|%llu\n", i, (unsigned long)hr, bytes);
            all += bytes;
            if (SUCCEEDED(hr) && (d->dwFlags & FD_WRITESTIME)) {
                HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
                SetFileTime(file, NULL, NULL, &d->ftLastWriteTime);
                CloseHandle(file);
            }
        }
        fflush(report);
    }
    if (again >= 0) {
        ULONGLONG bytes = 0;
        HRESULT hr = ReadContents(data, contents, again, NULL, &bytes);
        fprintf(report, "AGAIN %ld|%08lx|%llu\n", again, (unsigned long)hr, bytes);
    }
    fprintf(report, "DONE bytes=%llu ms=%lu\n", all, GetTickCount() - started);
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    if (tell) {
        FORMATETC effect = {(CLIPFORMAT)RegisterClipboardFormatA("Performed DropEffect"), NULL, DVASPECT_CONTENT, -1,
                            TYMED_HGLOBAL};
        STGMEDIUM value;
        HRESULT hr;
        memset(&value, 0, sizeof value);
        value.tymed = TYMED_HGLOBAL;
        value.hGlobal = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
        *(DWORD*)GlobalLock(value.hGlobal) = DROPEFFECT_COPY;
        GlobalUnlock(value.hGlobal);
        hr = data->lpVtbl->SetData(data, &effect, &value, TRUE);
        if (FAILED(hr))
            ReleaseStgMedium(&value);
        fprintf(report, "REPORTED %08lx\n", (unsigned long)hr);
    }
    fclose(report);
    data->lpVtbl->Release(data);
    OleUninitialize();
    return 0;
}
