// The ports dialog's decisions without its window: rows, exclusions, kind switches and OK,
// over a real port list, with ports the scan destroys while the dialog holds them.
#include <gtest/gtest.h>

#include "devices/Device.h"
#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "discovery/PortList.h"
#include "ui/PortDialogRules.h"

namespace {

struct Ports {
    Ports()
    {
        store.values.firstRun = false;
        com1 = AddSerial("COM1");
        com2 = AddSerial("COM2");
        irda = new TIrDAPort;
        irda->displayName = "IrDA - Phone";
        irda->autoConnect = true;
        list.ports.Append(irda);
        com3 = AddSerial("COM3");
    }
    TSerialPort* AddSerial(const char* name)
    {
        auto* port = new TSerialPort;
        port->displayName = name;
        port->portName = name;
        list.ports.Append(port);
        return port;
    }
    void Exclude(int32_t kind, const char* name) { store.ExcludedPorts.Append(new EXCLUDEPORTS{kind, name}); }
    std::vector<std::string> Names(const std::vector<PortRow>& rows)
    {
        std::vector<std::string> names;
        for (const PortRow& row : rows)
            names.push_back(row.name.CStr());
        return names;
    }

    SettingsStore store;
    PortList list{store};
    TSerialPort* com1;
    TSerialPort* com2;
    TIrDAPort* irda;
    TSerialPort* com3;
};

PortKinds Kinds(bool serial, bool irda, bool bluetooth)
{
    PortKinds kinds;
    kinds.on[0] = serial;
    kinds.on[1] = irda;
    kinds.on[2] = bluetooth;
    return kinds;
}

TEST(PortRows, LookFollowsUsabilityConnectionAndExclusion)
{
    List<EXCLUDEPORTS> exclusions;
    exclusions.Append(new EXCLUDEPORTS{0, "COM2"});
    TSerialPort open, off, placeholder;
    open.isOpen = true;
    off.displayName = "COM2";
    placeholder.usable = false;
    TIrDAPort listed, passive;
    listed.autoConnect = true;
    // check box, checked, enabled, picture
    auto look = [&](const TComm& port) {
        ListBoxRow row = RowForPort(port, exclusions).look;
        return std::vector<int>{row.hasCheckBox, row.checked, row.enabled, row.image};
    };
    EXPECT_EQ(look(open), (std::vector<int>{1, 1, 1, kPicturePlugged}));
    EXPECT_EQ(look(off), (std::vector<int>{1, 0, 1, kPictureGreyed}));
    EXPECT_EQ(look(placeholder), (std::vector<int>{0, 0, 0, kPictureNone}));
    EXPECT_EQ(look(listed), (std::vector<int>{1, 1, 1, kPictureApart}));
    EXPECT_EQ(look(passive), (std::vector<int>{0, 0, 1, kPictureGreyed}));
    exclusions.DeleteAll();
}

// A mouse toggle tells nobody; the selection may move on before OK. Every row counts.
TEST(PortRows, ExclusionsFollowEveryRowAndTheSelectedRowWithoutABox)
{
    Ports p;
    p.Exclude(0, "COM3");
    List<TComm> working;
    CopyListedPorts(p.list, working);
    std::vector<PortRow> rows = RowsForWorkingPorts(p.list, working, p.store.ExcludedPorts);
    ASSERT_EQ(p.Names(rows), (std::vector<std::string>{"COM1", "COM2", "IrDA - Phone", "COM3"}));
    EXPECT_FALSE(rows[3].look.checked);

    List<EXCLUDEPORTS> exclusions;
    CopyExcludedPorts(exclusions, p.store.ExcludedPorts);
    rows[0].look.checked = false;  // toggled with the mouse, then row 3 selected
    rows[3].look.checked = true;
    EXPECT_TRUE(SyncExclusions(exclusions, rows, 3));
    ASSERT_EQ(exclusions.Count(), 1u);
    EXPECT_STREQ(exclusions.Get(0)->name.CStr(), "COM1");
    EXPECT_FALSE(SyncExclusions(exclusions, rows, 3)) << "nothing new: no second record";

    // A selected row without a check box loses its record; unselected ones keep theirs.
    exclusions.Append(new EXCLUDEPORTS{1, "IrDA - Phone"});
    rows[2].look.hasCheckBox = false;
    EXPECT_FALSE(SyncExclusions(exclusions, rows, 0));
    EXPECT_TRUE(SyncExclusions(exclusions, rows, 2));
    EXPECT_EQ(FindExcludedPortIn(exclusions, 1, "IrDA - Phone"), nullptr);
    exclusions.DeleteAll();
}

TEST(PortRows, KindSwitchesRemoveAndAppendAndNeverFollowADestroyedPort)
{
    Ports p;
    List<TComm> working;
    CopyListedPorts(p.list, working);
    RemovePortsOfKinds(p.list, working, Kinds(true, false, true));
    EXPECT_EQ(p.Names(RowsForWorkingPorts(p.list, working, p.store.ExcludedPorts)),
              (std::vector<std::string>{"COM1", "COM2", "COM3"}));
    AddPortsOfKinds(p.list, working, Kinds(true, true, true));
    EXPECT_EQ(p.Names(RowsForWorkingPorts(p.list, working, p.store.ExcludedPorts)),
              (std::vector<std::string>{"COM1", "COM2", "COM3", "IrDA - Phone"}));

    // A scan destroys COM2 while the dialog holds it: under ASan any read of it would stop here.
    p.list.ports.Remove(p.com2);
    delete p.com2;
    EXPECT_EQ(p.Names(RowsForWorkingPorts(p.list, working, p.store.ExcludedPorts)),
              (std::vector<std::string>{"COM1", "COM3", "IrDA - Phone"}));
    working.Append(p.com2);  // held again, as between the destruction and the next refresh
    EXPECT_FALSE(ApplyPortChoices(p.list, working, Kinds(true, true, true), p.store.ExcludedPorts,
                                  p.store.ExcludedPorts));
    EXPECT_EQ(p.list.ports.Count(), 3u) << "a destroyed port must never be put back";
    EXPECT_EQ(working.Count(), 3u) << "and is dropped from the working ports";
}

TEST(PortRows, UnavailableKindStaysSwitchableWhileItIsNotScanned)
{
    const PortKinds none = Kinds(false, false, false);
    EXPECT_TRUE(KindSwitchUsable(0, none, Kinds(true, true, true)));
    EXPECT_FALSE(KindSwitchUsable(1, none, Kinds(true, true, true)));
    EXPECT_TRUE(KindSwitchUsable(2, none, Kinds(true, true, false))) << "never looked for: may be switched on";
    EXPECT_TRUE(KindSwitchUsable(1, Kinds(false, true, false), Kinds(true, true, true)));
}

TEST(PortChoices, KindsOffAndBusyPhonesAndPlaceholders)
{
    Ports p;
    p.irda->device = new Device(p.irda);
    p.irda->device->SetBusy();
    p.com1->device = new Device(p.com1);
    p.com1->device->SetBusy();
    auto* placeholder = new TBthPort;
    placeholder->usable = false;
    placeholder->included = false;
    p.list.ports.Append(placeholder);
    List<TComm> working;
    CopyListedPorts(p.list, working);
    List<EXCLUDEPORTS> none, com1Off;
    com1Off.Append(new EXCLUDEPORTS{0, "COM1"});

    // The placeholder is never switched on: OK without edits asks for no scan.
    EXPECT_FALSE(ApplyPortChoices(p.list, working, Kinds(true, true, true), none, none));
    EXPECT_FALSE(placeholder->included);

    // IrDA off and COM1 off while both phones are at work: neither is marked for the scan, which
    // would disconnect them under the running operation.
    RemovePortsOfKinds(p.list, working, Kinds(true, false, true));
    EXPECT_TRUE(ApplyPortChoices(p.list, working, Kinds(true, false, true), none, com1Off));
    EXPECT_FALSE(p.store.values.scanIrDA);
    EXPECT_FALSE(p.irda->changed);
    EXPECT_FALSE(p.com1->changed);
    EXPECT_FALSE(p.com1->included);
    // Idle again: the next OK marks both, and the scan that follows lets them go.
    p.irda->device->ClearBusy();
    p.com1->device->ClearBusy();
    EXPECT_TRUE(ApplyPortChoices(p.list, working, Kinds(true, false, true), com1Off, com1Off));
    EXPECT_TRUE(p.irda->changed);
    EXPECT_TRUE(p.com1->changed);
    EXPECT_FALSE(p.com1->gone);
    // A kind switched on must be polled even when no port of it is known.
    EXPECT_TRUE(ApplyPortChoices(p.list, working, Kinds(true, true, true), com1Off, com1Off));
    none.DeleteAll();
    com1Off.DeleteAll();
}

// The first scan excludes the serial ports while the dialog is open: its records stay, and only
// the user's own edit is applied.
TEST(PortChoices, ExclusionEditsKeepWhatAScanRecordedMeanwhile)
{
    List<EXCLUDEPORTS> stored, before, after;
    before.Append(new EXCLUDEPORTS{0, "COM1"});
    after.Append(new EXCLUDEPORTS{0, "COM4"});
    stored.Append(new EXCLUDEPORTS{0, "COM1"});
    stored.Append(new EXCLUDEPORTS{0, "COM2"});  // added by the scan
    EXPECT_TRUE(ApplyExclusionEdits(stored, before, after));
    ASSERT_EQ(stored.Count(), 2u);
    EXPECT_STREQ(stored.Get(0)->name.CStr(), "COM2");
    EXPECT_STREQ(stored.Get(1)->name.CStr(), "COM4");
    EXPECT_FALSE(ApplyExclusionEdits(stored, before, after));
    stored.DeleteAll();
    before.DeleteAll();
    after.DeleteAll();
}

}  // namespace
