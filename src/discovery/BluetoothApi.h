// The Bluetooth API library, loaded at run time so that the program starts where it is
// missing. Windows 7 and later keep the API in bthprops.cpl; older systems in irprops.cpl.
#pragma once

#include <cstdint>

// Loading of system libraries: Windows uses LoadLibrary; tests say which libraries exist.
class ModuleLoader {
public:
    virtual ~ModuleLoader() = default;
    // 0 when the library cannot be loaded.
    virtual uintptr_t Load(const char* name) = 0;
    virtual void* Entry(uintptr_t module, const char* name) = 0;
    virtual void Free(uintptr_t module) = 0;
};

class BluetoothApi {
public:
    static constexpr const char* kLibraries[] = {"bthprops.cpl", "irprops.cpl"};

    // Loads the first library of kLibraries that exists.
    explicit BluetoothApi(ModuleLoader& loader);
    ~BluetoothApi();
    BluetoothApi(const BluetoothApi&) = delete;
    BluetoothApi& operator=(const BluetoothApi&) = delete;

    bool IsLoaded() const { return library != 0; }
    // The name of the library loaded; null when none.
    const char* LibraryName() const { return name; }
    // An entry point, looked up on each call; null when the library or the entry is missing.
    void* Entry(const char* entry);

private:
    ModuleLoader& loader;
    uintptr_t library = 0;
    const char* name = nullptr;
};
