#include "core/win/SettingsFile.h"

#include <windows.h>

#include <vector>

#include "core/MessageReporter.h"
#include "core/SettingsCodec.h"

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
    if (!file.Open(path.CStr(), FileAccess::kGenericRead, FileAccess::kShareRead | FileAccess::kShareWrite,
                   FileAccess::kOpenExisting)) {
        ReportLastError();
        return false;
    }
    uint64_t size = file.Size64();
    std::vector<uint8_t> bytes;
    if (size > kLargestFile)
        size = kLargestFile;
    bytes.resize(static_cast<size_t>(size));
    uint32_t got = 0;
    while (got < bytes.size()) {
        uint32_t n = file.Read(bytes.data() + got, static_cast<uint32_t>(bytes.size()) - got);
        if (n == 0)
            break;
        got += n;
    }
    file.Close();
    // A short read is a cut file: what was read is kept, the rest keeps its defaults.
    DecodeSettings(bytes.data(), got, store);
    store.values.firstRun = false;
    return true;
}

uint32_t SettingsFile::WriteChunk(FileAccess& file, const uint8_t* data, uint32_t size)
{
    return file.Write(data, size);
}

bool SettingsFile::Save(const SettingsStore& store)
{
    std::vector<uint8_t> bytes = EncodeSettings(store);
    GString temporary = TemporaryPath();
    FileAccess file;
    if (!file.Open(temporary.CStr(), FileAccess::kGenericWrite, 0, FileAccess::kCreateAlways)) {
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
        Reporter().Report(MessageKind::SystemError, error != 0 ? error : ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}
