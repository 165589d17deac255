// One identified phone on one port. The port creates it at the end of Connect (see
// TComm::FinishIdentification) and destroys it in Disconnect. This file holds what the port
// objects need of a device; the manufacturer models (Siemens, Nokia, Samsung) derive from
// it and override the virtual operations below.
#pragma once

#include <cstdint>

#include "core/GString.h"

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
    explicit Device(TComm* port);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Destroys the file access if it is still open.
    virtual ~Device();
    // The port is disconnecting while the file access is open (serial lines only): end the
    // session so the line is left usable. The generic device does nothing.
    virtual void ReleaseSocket(Socket* socket);
    // Called by the file access after each folder listing it read (models that show memory
    // figures fetch them here). The generic device does nothing.
    virtual void AfterListing(FTP* fileAccess) {}
    // Switches a serial line from AT commands to OBEX; true when the socket is now in OBEX
    // mode (its channel is 1). The generic device cannot: false.
    virtual bool EnterObexMode(Socket* socket);
    // Brings a serial line back from OBEX to AT commands (channel 0). Generic: false.
    virtual bool LeaveObexMode(Socket* socket);

    GString name;               // display name, set by identification
    FTP* fileAccess = nullptr;  // owned; null while no file access is open
    TComm* port;                // not owned: the port owns the device
    bool hasFileManager = true;
    bool busy = false;
};

// Creates the model of a manufacturer for a port (the generic Device for any not modelled).
Device* CreateDevice(Manufacturer manufacturer, TComm* port);
