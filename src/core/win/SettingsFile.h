// Reads and writes program.cfg. Saving writes the whole content to a temporary file beside
// it and replaces program.cfg only when every write succeeded, so a failed save (full disk,
// removed medium) leaves the previous file and its phone records intact.
#pragma once

#include <cstdint>
#include <vector>

#include "core/FileAccess.h"
#include "core/GString.h"
#include "core/Settings.h"

class SettingsFile {
public:
    explicit SettingsFile(const GString& path) : path(path) {}
    virtual ~SettingsFile() = default;

    // Missing file: created empty, the store keeps its defaults and firstRun stays true.
    // Otherwise the file's records are read and firstRun is cleared. Failures to create, open
    // or read are reported to the user; false then. A file that exists but could not be read
    // marks the store fileUnreadable.
    bool Load(SettingsStore& store);
    // False (reported to the user) when the file could not be written, or was not written
    // because it could not be read at start; program.cfg is then left as it was.
    bool Save(const SettingsStore& store);
    // The same with the content encoded beforehand (under the store's lock, which must not be
    // held while a failure box runs its message loop). Without report a failure stays silent.
    bool SaveEncoded(const std::vector<uint8_t>& bytes, bool fileUnreadable, bool report);

    GString TemporaryPath() const;

protected:
    // One read of the load and one write of the save; tests override them to fail part-way.
    virtual uint32_t ReadChunk(FileAccess& file, uint8_t* data, uint32_t size);
    virtual uint32_t WriteChunk(FileAccess& file, const uint8_t* data, uint32_t size);

private:
    GString path;
};
