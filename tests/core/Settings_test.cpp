#include "core/Settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LAST_SET_DEVICE* Phone(const char* manufacturer, const char* model, const char* serial,
                       uint64_t bt)
{
    auto* d = new LAST_SET_DEVICE;
    d->manufacturer = manufacturer;
    d->model = model;
    d->serialNumber = serial;
    d->btAddress = bt;
    return d;
}

TEST(DeviceIdentity, SamePhone)
{
    const struct {
        const char* what;
        const char *m1, *model1, *s1;
        uint64_t bt1;
        const char *m2, *model2, *s2;
        uint64_t bt2;
        bool same;
    } cases[] = {
        {"different addresses, same strings", "Nokia", "6230", "1", 0xA, "Nokia", "6230", "1", 0xB, true},
        {"same address, other strings", "Nokia", "6230", "1", 0xA, "SIEMENS", "S65", "2", 0xA, true},
        {"no addresses, same strings", "Nokia", "6230", "1", 0, "Nokia", "6230", "1", 0, true},
        {"serial differs", "Nokia", "6230", "1", 0, "Nokia", "6230", "2", 0, false},
        {"case differs", "Nokia", "6230", "1", 0, "NOKIA", "6230", "1", 0, false},
        {"one address zero", "Nokia", "6230", "1", 0xA, "Nokia", "6230", "2", 0, false},
        {"both addresses zero, strings differ", "a", "b", "c", 0, "a", "b", "d", 0, false},
        {"all texts empty", "", "", "", 0, "", "", "", 0, true},
    };
    for (const auto& c : cases) {
        LAST_SET_DEVICE* a = Phone(c.m1, c.model1, c.s1, c.bt1);
        LAST_SET_DEVICE* b = Phone(c.m2, c.model2, c.s2, c.bt2);
        EXPECT_EQ(a->IsSamePhone(*b), c.same) << c.what;
        EXPECT_EQ(b->IsSamePhone(*a), c.same) << c.what;
        delete a;
        delete b;
    }
}

TEST(SettingsStore, StoreDeviceSettingsUpdatesOrAppendsCopies)
{
    SettingsStore store;
    LAST_SET_DEVICE* first = Phone("Nokia", "6230", "1", 0);
    first->favourites.Append(new LIST_FAVORITE{GString("a"), GString("b")});
    store.StoreDeviceSettings(*first);
    ASSERT_EQ(store.DeviceSettings.Count(), 1u);
    LAST_SET_DEVICE* stored = store.DeviceSettings.Get(0);
    EXPECT_NE(stored, first);
    ASSERT_EQ(stored->favourites.Count(), 1u);
    EXPECT_NE(stored->favourites.Get(0), first->favourites.Get(0));  // a copy, not shared
    delete first;
    EXPECT_TRUE(stored->favourites.Get(0)->second.Equals("b"));

    LAST_SET_DEVICE* again = Phone("Nokia", "6230", "1", 0x77);
    again->lastFolder = "Фото";
    again->fileManagerShown = 1;
    EXPECT_EQ(store.FindDeviceSettings(*again), stored);
    store.StoreDeviceSettings(*again);
    ASSERT_EQ(store.DeviceSettings.Count(), 1u);
    EXPECT_TRUE(stored->lastFolder.Equals("Фото"));
    EXPECT_EQ(stored->btAddress, 0x77u);
    EXPECT_EQ(stored->favourites.Count(), 0u);  // replaced by the new record's

    LAST_SET_DEVICE* other = Phone("SIEMENS", "S65", "9", 0);
    EXPECT_EQ(store.FindDeviceSettings(*other), nullptr);
    store.StoreDeviceSettings(*other);
    EXPECT_EQ(store.DeviceSettings.Count(), 2u);
    delete again;
    delete other;
}

TEST(SettingsStore, SerialSettingsExistOnlyOffTheDefaults)
{
    SettingsStore store;
    const GString com3("COM3");
    store.StoreSerialSettings(com3, true, 9600, 1, 1);
    EXPECT_EQ(store.SerialPortSettings.Count(), 0u);
    store.StoreSerialSettings(com3, false, 57600, 1, 0);
    ASSERT_NE(store.FindSerialSettings(com3), nullptr);
    store.StoreSerialSettings(com3, false, 115200, 0, 1);
    ASSERT_EQ(store.SerialPortSettings.Count(), 1u);
    const EXT_LIST_SERIALPORTS* r = store.FindSerialSettings(com3);
    EXPECT_EQ(r->baudRate, 115200u);
    EXPECT_EQ(r->dtr, 0);
    EXPECT_EQ(r->rts, 1);
    EXPECT_EQ(store.FindSerialSettings(GString("COM4")), nullptr);
    store.StoreSerialSettings(com3, true, 0, 0, 0);
    EXPECT_EQ(store.SerialPortSettings.Count(), 0u);
    EXPECT_EQ(store.FindSerialSettings(com3), nullptr);
}

TEST(SettingsStore, ExcludedPortsMatchKindAndName)
{
    SettingsStore store;
    store.ExcludedPorts.Append(new EXCLUDEPORTS{0, GString("COM1")});
    store.ExcludedPorts.Append(new EXCLUDEPORTS{2, GString("Телефон")});
    EXPECT_NE(store.FindExcludedPort(0, GString("COM1")), nullptr);
    EXPECT_EQ(store.FindExcludedPort(1, GString("COM1")), nullptr);
    EXPECT_EQ(store.FindExcludedPort(0, GString("com1")), nullptr);
    EXPECT_NE(store.FindExcludedPort(2, GString("Телефон")), nullptr);

    List<EXCLUDEPORTS> working;
    CopyExcludedPorts(working, store.ExcludedPorts);
    ASSERT_EQ(working.Count(), 2u);
    EXPECT_NE(working.Get(0), store.ExcludedPorts.Get(0));
    working.Get(0)->name = "COM9";
    EXPECT_NE(store.FindExcludedPort(0, GString("COM1")), nullptr);
    CopyExcludedPorts(store.ExcludedPorts, working);
    EXPECT_NE(FindExcludedPortIn(store.ExcludedPorts, 0, GString("COM9")), nullptr);
    working.DeleteAll();
}

TEST(SettingsStore, ResetRestoresDefaults)
{
    SettingsStore store;
    auto lock = store.Lock();
    store.values.listViewStyle = 0;
    store.values.firstRun = false;
    store.ExcludedPorts.Append(new EXCLUDEPORTS{0, GString("COM1")});
    store.Reset();
    EXPECT_EQ(store.values.listViewStyle, 1);
    EXPECT_TRUE(store.values.firstRun);
    EXPECT_EQ(store.ExcludedPorts.Count(), 0u);
}

}  // namespace
