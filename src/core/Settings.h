// The program's persistent settings: the values, the three record lists, and the record
// look-ups that need no port object. The file layout is in SettingsCodec.h.
#pragma once

#include "core/GString.h"
#include "core/List.h"

#include <cstdint>
#include <mutex>

struct SettingsValues {
    bool scanSerial = true;
    bool scanIrDA = true;
    bool scanBluetooth = true;
    int32_t windowX = 0;
    int32_t windowY = 0;
    int32_t windowWidth = 0;   // 0: no saved placement
    int32_t windowHeight = 0;
    int32_t progressX = 10000;
    int32_t progressY = 0;
    bool showToolbar = true;
    bool showControlPanel = true;
    bool showStatusBar = true;
    uint8_t reservedFlag = 0;
    uint8_t listViewStyle = 1;  // list-view codes: 0 large icons, 1 table, 2 small icons, 3 list
    bool firstRun = true;       // not stored; cleared once program.cfg was opened for reading
    // Not stored: program.cfg exists but could not be read, so it is never written over (the
    // defaults in use would replace the user's phone records and exclusions).
    bool fileUnreadable = false;
};

// A port the user switched off: kind 0 serial, 1 IrDA, 2 Bluetooth, and its display name.
struct EXCLUDEPORTS {
    int32_t kind = 0;
    GString name;
};

// Line settings of a serial port that does not use the defaults.
struct EXT_LIST_SERIALPORTS {
    GString name;
    uint32_t baudRate = 0;
    uint8_t dtr = 0;
    uint8_t rts = 0;
};

struct LIST_FAVORITE {
    GString first;
    GString second;
};

// One record per phone ever connected. Owns its favourites.
struct LAST_SET_DEVICE {
    GString manufacturer;
    GString model;
    GString serialNumber;
    uint64_t btAddress = 0;  // Bluetooth phones only
    uint8_t reserved[8] = {};
    uint32_t fileManagerShown = 0;
    GString lastFolder;
    uint32_t reserved2 = 0;
    List<LIST_FAVORITE> favourites;

    LAST_SET_DEVICE() = default;
    LAST_SET_DEVICE(const LAST_SET_DEVICE&) = delete;
    LAST_SET_DEVICE& operator=(const LAST_SET_DEVICE&) = delete;
    ~LAST_SET_DEVICE() { favourites.DeleteAll(); }

    // Copies every field; the favourites are replaced by copies of other's.
    void CopyFrom(const LAST_SET_DEVICE& other);
    // Same phone: both Bluetooth addresses non-zero and equal, or manufacturer, model and
    // serial number byte-for-byte equal (empty texts included).
    bool IsSamePhone(const LAST_SET_DEVICE& other) const;
};

// Record look-ups over any list of the kind (the port dialog keeps a working copy).
EXCLUDEPORTS* FindExcludedPortIn(const List<EXCLUDEPORTS>& list, int32_t kind, const GString& name);
// Replaces the records of to by copies of those of from.
void CopyExcludedPorts(List<EXCLUDEPORTS>& to, const List<EXCLUDEPORTS>& from);

// The values and the record lists, owned by the application core.
//
// None of the operations locks. The discovery thread reads the lists while the main thread may
// change them, so code on either side that touches the lists (or holds a record pointer
// returned here) does it inside one Lock():
//     auto lock = store.Lock();
//     if (store.FindExcludedPort(kind, name) == nullptr) ...
// The lock is not recursive; do not take it twice on one thread.
class SettingsStore {
public:
    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    ~SettingsStore();

    std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex); }

    // Defaults for every value, all records destroyed.
    void Reset();

    EXCLUDEPORTS* FindExcludedPort(int32_t kind, const GString& displayName) const;
    EXT_LIST_SERIALPORTS* FindSerialSettings(const GString& displayName) const;
    // A port on the default line settings has no record: an existing one is destroyed. Any
    // other port gets its record updated or appended.
    void StoreSerialSettings(const GString& displayName, bool useDefaults, uint32_t baudRate,
                             uint8_t dtr, uint8_t rts);

    LAST_SET_DEVICE* FindDeviceSettings(const LAST_SET_DEVICE& record) const;
    // Updates the record of the same phone with all fields of record, or appends a copy.
    void StoreDeviceSettings(const LAST_SET_DEVICE& record);

    SettingsValues values;
    List<EXCLUDEPORTS> ExcludedPorts;              // records owned
    List<EXT_LIST_SERIALPORTS> SerialPortSettings; // records owned
    List<LAST_SET_DEVICE> DeviceSettings;          // records owned

private:
    std::mutex mutex;
};
