// What the size-limit question needs from a file-access object that refused a file as too
// large: the name of the phone behind it, its limit, and a way to clear the error once the
// user was asked.
#pragma once

#include "core/MessageReporter.h"
#include "obex/FTP.h"

class FtpSizeLimit : public SizeLimitSource {
public:
    explicit FtpSizeLimit(FTP& fileAccess) : ftp(fileAccess) {}

    GString DeviceDisplayName() override;
    uint32_t SizeLimit() override { return ftp.maxFileSize; }
    void ClearError() override { ftp.errorCode = 0; }

private:
    FTP& ftp;
};
