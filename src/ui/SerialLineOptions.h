// The line options of a serial port as the options dialog edits them: the speed list, the
// defaults, and what confirming a choice does to the port and its line.
#pragma once

#include <cstdint>

class TComm;
class TSerialPort;

// The speeds offered, in the order of the list.
constexpr uint32_t kLineSpeeds[] = {9600,   14400,  19200,  38400,   56000,   57600,   115200,
                                    128000, 256000, 460800, 921600, 1228800, 1600000, 4000000};
constexpr int kLineSpeedCount = static_cast<int>(sizeof kLineSpeeds / sizeof kLineSpeeds[0]);
constexpr int kDefaultSpeedIndex = 6;  // 115200

// The index of a speed in the list; -1 when it is not there.
int LineSpeedIndex(uint32_t speed);
// The speed of a list index; 0 for no selection.
uint32_t LineSpeedAt(int index);

// What the options dialog shows and hands back.
struct SerialLineChoice {
    uint32_t baudRate = kLineSpeeds[kDefaultSpeedIndex];
    bool dtr = true;
    bool rts = true;
    bool useDefaults = true;
};

// The port's current settings.
SerialLineChoice LineChoiceOf(const TSerialPort& port);

// The port's line: its channel-0 socket, configured with the port's settings.
class SerialLineControl {
public:
    virtual ~SerialLineControl() = default;
    // True when the socket was there and took the settings (a socket that refuses them tells
    // the user itself).
    virtual bool Configure(TSerialPort& port) = 0;
};

// Whether the port's line must be left alone: a phone working (busy, or with its file access
// open, where reaching the AT channel would take the line out of OBEX mode under the file
// manager) or a scan that may be using the port.
bool LineInUse(const TComm& port, bool scanRunning);

enum class LineOutcome {
    Applied,  // the line runs with the new settings
    Stored,   // the port keeps them for its next connection; the line was not touched
    Refused,  // the line refused them; the port is as it was
    Gone,     // the port went meanwhile: there is nothing to apply them to
};

// Confirms a choice: sets the port's settings and, unless the line is in use, configures the
// line with them. useDefaults follows the choice once it is applied or stored; a refused
// choice leaves the port as it was, so that cancelling afterwards really changes nothing.
LineOutcome ApplyLineChoice(TSerialPort& port, const SerialLineChoice& choice, bool lineInUse, SerialLineControl& line);
