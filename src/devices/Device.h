// One identified phone on one port. Identification creates it at the end of Connect (see
// TComm::FinishIdentification) and the port destroys it in Disconnect. The device keeps the
// phone's remembered settings record, owns its file access while it is open and, once the
// user interface attached them, its views. The manufacturer models (Siemens, Nokia, Samsung)
// differ in how the file access is opened and, for Siemens phones on a cable, in switching
// the line between AT commands and OBEX.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/GString.h"
#include "core/Settings.h"
#include "core/StoppableWork.h"

class DeviceViews;
class FTP;
class Socket;
class TComm;
class WaitProgress;

// Which model identification creates, chosen from the manufacturer text.
enum class Manufacturer { Generic, Siemens, Nokia, Samsung };

// Upper-cases a copy of the text with the system's case mapping and looks for "SIEMENS",
// then "NOKIA", then "SAMSUNG" anywhere in it; Generic when none occurs.
Manufacturer ManufacturerFromText(const GString& text);

class Device {
public:
    // Takes the phone's settings record: manufacturer, model and serial number from the
    // port's info (and the Bluetooth address of a Bluetooth port), replaced by the stored
    // record of the same phone when there is one.
    explicit Device(TComm* port);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Stores the settings record, then destroys the views and the file access.
    virtual ~Device();
    // The port is disconnecting while the file access is open (serial lines only): end the
    // session so the line is left usable. The generic device does nothing; the port ends a
    // file access that the release left open.
    virtual void ReleaseSocket(Socket* socket);
    // Called by the file access after each folder listing it read (models that show memory
    // figures fetch them here). The generic device does nothing.
    virtual void AfterListing(FTP* listed);
    // Switches a serial line from AT commands to OBEX; true when the socket is now in OBEX
    // mode (its channel is 1). The generic device cannot: false.
    virtual bool EnterObexMode(Socket* socket);
    // Brings a serial line back from OBEX to AT commands (channel 0). Generic: false.
    virtual bool LeaveObexMode(Socket* socket);
    // Opens fileAccess on the socket (the port's OBEX socket); the wait panel, when given,
    // is stepped once per attempt. False, with fileAccess null, when it could not be opened.
    virtual bool OpenFileAccess(Socket* socket, WaitProgress* wait);

    // The user interface hands over the phone's views; the device owns them from then on.
    void AttachViews(DeviceViews* created);
    DeviceViews* Views() const { return views; }
    // A long operation runs on the phone: its views are disabled until ClearBusy.
    void SetBusy();
    void ClearBusy();
    bool IsBusy() const { return busy.load(); }
    // A view registers its work while it can run any; StopWork stops and waits for all of it
    // (the port calls it before it ends the file access, the destructor before the views go).
    void AddWork(StoppableWork* work);
    void RemoveWork(StoppableWork* work);
    void StopWork();

    GString name;               // display name, set by identification
    FTP* fileAccess = nullptr;  // owned; null while no file access is open
    TComm* port;                // not owned: the port owns the device
    bool hasFileManager = true;
    LAST_SET_DEVICE settings;

protected:
    // The last attempt of opening failed: the file access goes.
    void DropFileAccess();

private:
    DeviceViews* views = nullptr;  // owned
    std::mutex workLock;
    std::vector<StoppableWork*> works;  // not owned
    // Read by the discovery thread (a vanished port is destroyed only while its device is
    // idle), written by the user-interface thread.
    std::atomic<bool> busy{false};
};

// Creates the model of a manufacturer for a port (the generic Device for any not modelled).
Device* CreateDevice(Manufacturer manufacturer, TComm* port);
