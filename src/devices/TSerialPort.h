// A COM port. Its one line carries AT commands (channel 0) and, after the device model
// switched it, OBEX (channel 1): the same socket changes channel.
#pragma once

#include "devices/TComm.h"

// The COMMTIMEOUTS values, in their Windows order.
struct CommTimeouts {
    uint32_t readIntervalTimeout = 0;
    uint32_t readTotalTimeoutMultiplier = 0;
    uint32_t readTotalTimeoutConstant = 0;
    uint32_t writeTotalTimeoutMultiplier = 0;
    uint32_t writeTotalTimeoutConstant = 0;
};

class TSerialPort : public TComm {
public:
    // Pause after "+++" before a phone takes commands again.
    static constexpr uint32_t kEscapeGuardMs = 2000;

    TSerialPort();
    // Disconnects while the port is still whole (the device may look at it as it goes).
    ~TSerialPort() override;

    bool Connect(ConnectProgress* progress) override;
    bool Identify() override;
    // Finds the socket; channel 0 creates one (unopened) or brings the line back from OBEX
    // mode; channel 1 asks the device to switch the line to OBEX mode.
    Socket* GetSocket(int32_t channel, WaitProgress* waitDialog = nullptr) override;

    uint32_t baudRate = 115200;
    bool dtr = true;
    bool rts = true;
    CommTimeouts commTimeouts;  // as last applied to the line
};

// Brings an AT line into a known state: "ATZ\r" answered "OK", then echo off; when the
// phone is silent (say, left in OBEX mode) "+++", a 2 s pause and once more. The device
// models use it too, to leave a line in AT mode after a failed OBEX session.
bool AtHandshake(Socket& socket, ConnectProgress* progress);
// One "ATZ\r" / "ATE0\r" round; true when the reset was answered "OK".
bool AtResetSequence(Socket& socket, ConnectProgress* progress);
