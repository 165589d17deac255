// What the user interface attaches to a phone: its control panel, information view and file
// manager window. The device owns them and switches them off while an operation runs on it.
#pragma once

class DeviceViews {
public:
    virtual ~DeviceViews() = default;
    virtual void SetEnabled(bool enabled) = 0;
};
