#include "devices/Device.h"

#include <algorithm>
#include <cstring>

#include "devices/DeviceSettingsStore.h"
#include "devices/DeviceViews.h"
#include "devices/ObexTargets.h"
#include "devices/TBthPort.h"
#include "obex/OBEX_FTP.h"
#include "transport/Socket.h"

namespace {

constexpr int kOpenAttempts = 2;

void CopyBluetoothAddress(const TComm* port, LAST_SET_DEVICE& record)
{
    if (port == nullptr || port->kind != TComm::kBluetooth)
        return;
    std::memcpy(&record.btAddress, static_cast<const TBthPort*>(port)->btAddress, sizeof record.btAddress);
}

}  // namespace

Manufacturer ManufacturerFromText(const GString& text)
{
    GString upper(text);
    upper.ToUpper();
    if (upper.Find("SIEMENS") != 0)
        return Manufacturer::Siemens;
    if (upper.Find("NOKIA") != 0)
        return Manufacturer::Nokia;
    if (upper.Find("SAMSUNG") != 0)
        return Manufacturer::Samsung;
    return Manufacturer::Generic;
}

Device::Device(TComm* port) : port(port)
{
    if (port != nullptr) {
        settings.manufacturer = port->info[TComm::kManufacturer];
        settings.model = port->info[TComm::kModel];
        settings.serialNumber = port->info[TComm::kSerialNumber];
        CopyBluetoothAddress(port, settings);
    }
    if (SettingsStore* store = DeviceSettingsStore()) {
        auto lock = store->Lock();
        if (const LAST_SET_DEVICE* stored = store->FindDeviceSettings(settings))
            settings.CopyFrom(*stored);
    }
}

Device::~Device()
{
    StopWork();
    CopyBluetoothAddress(port, settings);
    if (SettingsStore* store = DeviceSettingsStore()) {
        auto lock = store->Lock();
        store->StoreDeviceSettings(settings);
    }
    delete views;
    delete fileAccess;
}

void Device::ReleaseSocket(Socket*) {}

void Device::AfterListing(FTP*) {}

bool Device::EnterObexMode(Socket*) { return false; }

bool Device::LeaveObexMode(Socket*) { return false; }

bool Device::OpenFileAccess(Socket* socket, WaitProgress* wait)
{
    if (socket == nullptr || !socket->Open())
        return false;
    delete fileAccess;
    fileAccess = new OBEX_FTP;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (wait != nullptr)
            wait->Step();
        if (fileAccess->Connect(socket, FolderBrowsingTarget, sizeof FolderBrowsingTarget))
            return true;
    }
    DropFileAccess();
    return false;
}

void Device::AttachViews(DeviceViews* created)
{
    if (created == views)
        return;
    delete views;
    views = created;
    if (views != nullptr)
        views->SetEnabled(!busy.load());
}

void Device::SetBusy()
{
    if (views != nullptr)
        views->SetEnabled(false);
    busy.store(true);
}

void Device::ClearBusy()
{
    if (views != nullptr)
        views->SetEnabled(true);
    busy.store(false);
}

void Device::AddWork(StoppableWork* work)
{
    std::lock_guard<std::mutex> guard(workLock);
    works.push_back(work);
}

void Device::RemoveWork(StoppableWork* work)
{
    std::lock_guard<std::mutex> guard(workLock);
    std::erase(works, work);
}

void Device::StopWork()
{
    // The works are asked one after the other outside the lock: stopping one may have to let
    // its window handle messages, and that window may remove itself meanwhile.
    std::vector<StoppableWork*> running;
    {
        std::lock_guard<std::mutex> guard(workLock);
        running = works;
    }
    for (StoppableWork* work : running) {
        bool registered = false;
        {
            std::lock_guard<std::mutex> guard(workLock);
            registered = std::find(works.begin(), works.end(), work) != works.end();
        }
        if (registered)
            work->StopAndWait();
    }
}

void Device::DropFileAccess()
{
    delete fileAccess;
    fileAccess = nullptr;
}
