#include "devices/TIrDAPort.h"

#include "transport/Socket.h"

TIrDAPort::~TIrDAPort() { Disconnect(); }

TIrDAPort::TIrDAPort() : TComm(kIrDA) { portName = "IrDA"; }

bool TIrDAPort::Connect(ConnectProgress* progress)
{
    BeginProgress(progress);
    Socket* obex = nullptr;
    if (irdaHints[1] & kHintObex)
        obex = OpenChannel(Socket::kChannelObex);
    if (obex == nullptr && (irdaHints[1] & kHintIrComm))
        OpenChannel(Socket::kChannelAt);
    if (sockets.Count() == 0)
        return false;
    return FinishIdentification();
}

Socket* TIrDAPort::GetSocket(int32_t channel, WaitProgress* waitDialog)
{
    Socket* found = TComm::GetSocket(channel, waitDialog);
    if (found == nullptr && channel == Socket::kChannelObex && info[kManufacturer].Equals("SAMSUNG"))
        return TComm::GetSocket(Socket::kChannelAt, waitDialog);
    return found;
}

void TIrDAPort::SetFromDeviceRecord(const uint8_t* record)
{
    for (int i = 0; i < 4; ++i)
        irdaAddress[i] = record[i];
    irdaHints[0] = record[26];
    irdaHints[1] = record[27];
}
