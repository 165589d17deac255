#include "ui/SerialLineOptions.h"

#include "devices/Device.h"
#include "devices/TSerialPort.h"

int LineSpeedIndex(uint32_t speed)
{
    for (int i = 0; i < kLineSpeedCount; ++i) {
        if (kLineSpeeds[i] == speed)
            return i;
    }
    return -1;
}

uint32_t LineSpeedAt(int index) { return index >= 0 && index < kLineSpeedCount ? kLineSpeeds[index] : 0; }

SerialLineChoice LineChoiceOf(const TSerialPort& port)
{
    if (port.useDefaults)
        return SerialLineChoice();
    return SerialLineChoice{port.baudRate, port.dtr, port.rts, false};
}

bool LineInUse(const TComm& port, bool scanRunning)
{
    if (scanRunning)
        return true;
    return port.device != nullptr && (port.device->IsBusy() || port.device->fileAccess != nullptr);
}

LineOutcome ApplyLineChoice(TSerialPort& port, const SerialLineChoice& choice, bool lineInUse, SerialLineControl& line)
{
    const SerialLineChoice before{port.baudRate, port.dtr, port.rts, port.useDefaults};
    const SerialLineChoice wanted = choice.useDefaults ? SerialLineChoice() : choice;
    port.baudRate = wanted.baudRate;
    port.dtr = wanted.dtr;
    port.rts = wanted.rts;
    if (lineInUse) {
        port.useDefaults = wanted.useDefaults;
        return LineOutcome::Stored;
    }
    if (line.Configure(port)) {
        port.useDefaults = wanted.useDefaults;
        return LineOutcome::Applied;
    }
    port.baudRate = before.baudRate;
    port.dtr = before.dtr;
    port.rts = before.rts;
    return LineOutcome::Refused;
}
