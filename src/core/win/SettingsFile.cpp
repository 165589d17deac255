#include "core/win/SettingsFile.h"

#include <windows.h>

#include <vector>

#include "core/MessageReporter.h"
#include "core/SettingsCodec.h"
#include "resources/resource.h"

namespace {
// program.cfg holds a few records per phone; anything near this size is not ours.
constexpr uint32_t kLargestFile = 64u * 1024 * 1024;
constexpr uint32_t kChunk = 4096;

void ReportLastError()
{
    Reporter().Report(MessageKind::SystemError, GetLastError());
}
}  // namespace

GString SettingsFile::TemporaryPath() const
{
    GString temporary(path);
    temporary.Append(".tmp");
    return temporary;
}

bool SettingsFile::Load(SettingsStore& store)
{
    FileAccess file;
    if (!FileAccess::Exists(path.CStr())) {
        if (!file.Open(path.CStr(), FileAccess::kGenericWrite, 0, FileAccess::kCreateAlways)) {
            ReportLastError();
            return false;
        }
        return true;
    }
    // A file that is there but cannot be read (locked, no permission, a failing disk) keeps the
    // defaults in use and is left alone at close.
    if (!file.Open(path.CStr(), FileAccess::kGenericRead, FileAccess::kShareRead | FileAccess::kShareWrite,
                   FileAccess::kOpenExisting)) {
        ReportLastError();
        store.values.fileUnreadable = true;
        return false;
    }
    uint64_t size = file.Size64();
    std::vector<uint8_t> bytes;
    if (size > kLargestFile)
        size = kLargestFile;
    bytes.resize(static_cast<size_t>(size));
    uint32_t got = 0;
    while (got < bytes.size()) {
        uint32_t n = ReadChunk(file, bytes.data() + got, static_cast<uint32_t>(bytes.size()) - got);
        if (n == 0)
            break;
        got += n;
    }
    if (got < bytes.size()) {
        const DWORD error = GetLastError();
        Reporter().Report(MessageKind::SystemError, error != 0 ? error : ERROR_READ_FAULT);
        store.values.fileUnreadable = true;
        return false;
    }
    file.Close();
    // A cut file reads as far as it goes; what is missing keeps its defaults.
    DecodeSettings(bytes.data(), got, store);
    store.values.firstRun = false;
    return true;
}

uint32_t SettingsFile::ReadChunk(FileAccess& file, uint8_t* data, uint32_t size)
{
    return file.Read(data, size);
}

uint32_t SettingsFile::WriteChunk(FileAccess& file, const uint8_t* data, uint32_t size)
{
    return file.Write(data, size);
}

bool SettingsFile::Save(const SettingsStore& store)
{
    return SaveEncoded(EncodeSettings(store), store.values.fileUnreadable, true);
}

bool SettingsFile::SaveEncoded(const std::vector<uint8_t>& bytes, bool fileUnreadable, bool report)
{
    if (fileUnreadable) {
        if (report)
            Reporter().Report(MessageKind::ResourceText, IDS_SETTINGS_NOT_SAVED);
        return false;
    }
    GString temporary = TemporaryPath();
    FileAccess file;
    if (!file.Open(temporary.CStr(), FileAccess::kGenericWrite, 0, FileAccess::kCreateAlways)) {
        if (report)
            ReportLastError();
        return false;
    }
    bool written = true;
    for (size_t at = 0; at < bytes.size() && written; at += kChunk) {
        uint32_t n = static_cast<uint32_t>(bytes.size() - at < kChunk ? bytes.size() - at : kChunk);
        written = WriteChunk(file, bytes.data() + at, n) == n;
    }
    DWORD error = written ? 0 : GetLastError();
    file.Close();
    if (written && !MoveFileExA(temporary.CStr(), path.CStr(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError(), written = false;
    if (!written) {
        DeleteFileA(temporary.CStr());
        if (report)
            Reporter().Report(MessageKind::SystemError, error != 0 ? error : ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}
