#include "core/RegistryAccess.h"

#include <windows.h>

namespace {

constexpr DWORD kStringCapacity = 255;

}  // namespace

RegistryAccess& RegistryAccess::Instance()
{
    static RegistryAccess registry;
    return registry;
}

RegistryAccess::RegistryAccess() : rootKey(HKEY_CURRENT_USER) {}

bool RegistryAccess::SetRootKey(RegistryKey key)
{
    if (key != HKEY_CLASSES_ROOT && key != HKEY_CURRENT_USER && key != HKEY_LOCAL_MACHINE &&
        key != HKEY_USERS)
        return false;
    rootKey = key;
    return true;
}

bool RegistryAccess::OpenKey(const char* path)
{
    if (path == nullptr || path[0] == '\\')
        return false;
    if (path[0] == '\0') {
        currentKey = "";
        return true;
    }
    HKEY key = nullptr;
    lastError = RegOpenKeyExA(rootKey, path, 0, KEY_READ, &key);
    if (lastError != ERROR_SUCCESS)
        return false;
    currentKey = path;
    if (!lazyFlush)
        lastError = RegFlushKey(key);
    RegCloseKey(key);
    return true;
}

bool RegistryAccess::OpenCurrent(RegistryKey& key)
{
    if (currentKey.IsEmpty()) {
        key = rootKey;
        return true;
    }
    lastError = RegOpenKeyExA(rootKey, currentKey.CStr(), 0, KEY_READ, &key);
    return lastError == ERROR_SUCCESS;
}

void RegistryAccess::CloseCurrent(RegistryKey key)
{
    if (key != rootKey)
        RegCloseKey(key);
}

GString RegistryAccess::ReadString(const char* name, const char* defaultValue)
{
    HKEY key = nullptr;
    if (!OpenCurrent(key))
        return GString(defaultValue);
    // One byte beyond what the registry may fill, for a value stored without its terminator.
    char buffer[kStringCapacity + 1];
    DWORD size = kStringCapacity;
    DWORD type = 0;
    lastError = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    CloseCurrent(key);
    if (lastError != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) ||
        size > kStringCapacity)
        return GString(defaultValue);
    buffer[size] = '\0';
    return GString(buffer);
}

uint32_t RegistryAccess::ReadDword(const char* name, uint32_t defaultValue)
{
    HKEY key = nullptr;
    if (!OpenCurrent(key))
        return defaultValue;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    lastError = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    CloseCurrent(key);
    if (lastError != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return value;
}
