#include "discovery/BluetoothApi.h"

BluetoothApi::BluetoothApi(ModuleLoader& moduleLoader) : loader(moduleLoader)
{
    for (const char* candidate : kLibraries) {
        library = loader.Load(candidate);
        if (library != 0) {
            name = candidate;
            return;
        }
    }
}

BluetoothApi::~BluetoothApi()
{
    if (library != 0)
        loader.Free(library);
}

void* BluetoothApi::Entry(const char* entry)
{
    return library != 0 ? loader.Entry(library, entry) : nullptr;
}
