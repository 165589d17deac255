#include "discovery/win/WinIrdaSystem.h"

#include <af_irda.h>

#include <cstddef>

static_assert(sizeof(IRDA_DEVICE_INFO) == IrdaDeviceList::kRecordSize);
static_assert(offsetof(DEVICELIST, Device) == IrdaDeviceList::kCountSize);
static_assert(offsetof(IRDA_DEVICE_INFO, irdaDeviceName) == IrdaDeviceList::kNameOffset);
static_assert(sizeof(IRDA_DEVICE_INFO::irdaDeviceName) == IrdaDeviceList::kNameSize);
static_assert(offsetof(IRDA_DEVICE_INFO, irdaDeviceHints1) == IrdaDeviceList::kHintsOffset);

bool WinIrdaSystem::Open()
{
    Close();
    // Fails with WSAEAFNOSUPPORT where the system has no IrDA stack.
    socket = ::socket(AF_IRDA, SOCK_STREAM, 0);
    return socket != INVALID_SOCKET;
}

bool WinIrdaSystem::EnumerateDevices(std::vector<uint8_t>& list)
{
    constexpr int kCapacity =
        static_cast<int>(offsetof(DEVICELIST, Device) + IrdaDeviceList::kMaxDevices * sizeof(IRDA_DEVICE_INFO));
    list.assign(kCapacity, 0);  // a device count of 0 unless the stack writes one
    int length = kCapacity;
    if (socket == INVALID_SOCKET ||
        getsockopt(socket, SOL_IRLMP, IRLMP_ENUMDEVICES, reinterpret_cast<char*>(list.data()), &length) != 0) {
        list.clear();
        return false;
    }
    list.resize(length < 0 ? 0 : (length < kCapacity ? length : kCapacity));
    return true;
}

void WinIrdaSystem::Close()
{
    if (socket != INVALID_SOCKET)
        closesocket(socket);
    socket = INVALID_SOCKET;
}
