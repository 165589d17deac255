// The program's reader of registry values: a root key, a key path below it, and typed reads
// that fall back to a default on any failure.
#pragma once

#include <cstdint>

#include "core/GString.h"

struct HKEY__;
using RegistryKey = HKEY__*;

class RegistryAccess {
public:
    // The one instance the program uses (the discovery thread reads the serial ports with it).
    static RegistryAccess& Instance();

    RegistryAccess();

    // Accepts only HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS.
    bool SetRootKey(RegistryKey key);
    // Selects the key that reads use. A path beginning with '\\' is refused; an empty path
    // selects the root itself. The key must open for reading.
    bool OpenKey(const char* path);
    // The value, or the default when the key or value is missing, is not a string or does
    // not fit the 255-byte buffer.
    GString ReadString(const char* name, const char* defaultValue);
    // The value, or the default when the key or value is missing or not a 32-bit number.
    uint32_t ReadDword(const char* name, uint32_t defaultValue);

    void SetLazyFlush(bool lazy) { lazyFlush = lazy; }
    RegistryKey RootKey() const { return rootKey; }
    const GString& CurrentKey() const { return currentKey; }
    // Result code of the last registry call (0 = success).
    long LastError() const { return lastError; }

private:
    // Opens currentKey for reading; false (lastError set) when it does not open.
    bool OpenCurrent(RegistryKey& key);
    void CloseCurrent(RegistryKey key);

    RegistryKey rootKey;
    bool lazyFlush = false;
    GString currentKey;
    long lastError = 0;
};
