// "Порты": which kinds of port are scanned, which ports are used, and the line settings of
// the serial ports. The main window owns one and runs it modally (command 401); the dialog
// works on copies of the port list and the exclusions and writes them back on OK.
//
// Entry points for the window that runs it:
//   bool changed = portDialog.Run(this, ports, available);  // OK with changes: start a scan
//   portDialog.RefreshIfOpen();   // on QVM_PORTS_CHANGED, after the device list was rebuilt
//   portDialog.CancelIfOpen();    // before the ports are closed at the program's end
#pragma once

#include <memory>
#include <vector>

#include "core/List.h"
#include "core/Settings.h"
#include "toolkit/win/Button.h"
#include "toolkit/win/DialogControls.h"
#include "toolkit/win/ListBox.h"
#include "toolkit/win/StaticControl.h"
#include "toolkit/win/TDialog.h"
#include "ui/PortDialogRules.h"
#include "ui/win/SerialPortOptionsDialog.h"

class PortList;
class ScanProgressDialog;
class TComm;

// What the dialog needs of the window that runs it: the port threads' scan and its progress.
class PortDialogHost {
public:
    virtual ~PortDialogHost() = default;
    // Starts a discovery cycle whose progress goes to progressOwner; nothing when one runs.
    virtual void StartPortScan(HWND progressOwner) = 0;
    virtual bool PortScanRunning() = 0;
    // The progress window of the port threads, which QVM_SHOW_PROGRESS carries.
    virtual ScanProgressDialog& PortScanProgress() = 0;
};

class PortDialog : public TDialog, private SerialLineApplier {
public:
    explicit PortDialog(PortDialogHost& host);
    ~PortDialog() override;

    // Runs the dialog modally over the port list; available says which transports the last
    // polls found. True when it ended with OK and a new discovery cycle is needed.
    bool Run(TWindow* owner, PortList& ports, const PortKinds& available);
    // The port list changed: ports a scan destroyed leave the list, the rest is shown anew.
    void RefreshIfOpen();
    // Ends a showing as Cancel would.
    void CancelIfOpen();

    INT_PTR OnInitDialog(HWND hwnd, HWND focus, LPARAM param) override;
    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(int notifyCode, int id, HWND control) override;
    bool OnOK() override;
    void OnDialogDestroy() override;

private:
    // Rebuilds the rows from the working ports and selects the row shown before.
    void Refresh();
    // Takes the check boxes from the list, keeps the exclusions in step and the buttons and
    // pictures with the selection.
    void OnSelectionChange();
    // The rows' check states as the list holds them.
    void CollectChecks();
    void OnKindSwitch(int32_t kind);
    void ShowKindControls(int32_t kind);
    void ShowSerialOptions();
    void ShowSerialPortList();
    void ShowPortInformation();
    // The selected row's port while the list still holds it, else null. Inside the list's
    // lock.
    TComm* SelectedListedPort();

    LineOutcome Apply(const SerialLineChoice& choice) override;

    PortDialogHost& host;
    PortList* ports = nullptr;
    PortKinds available;
    PortKinds scan;
    bool changed = false;
    List<TComm> working;                 // not owned
    List<EXCLUDEPORTS> exclusionsAtOpen;  // owned
    List<EXCLUDEPORTS> exclusions;        // owned
    std::vector<PortRow> rows;            // as the list shows them
    const TComm* optionsPort = nullptr;   // the port the options dialog applies to

    // The control wrappers of one showing: made anew by each, so that pictures and image
    // lists of an earlier showing never pile up.
    struct Controls {
        ListBox list;
        Button ok;
        Button cancel;
        Button help;
        Button refresh;
        Button options;
        Button info;
        Button serialList;
        CheckBox kinds[3];
        StaticControl kindPictures[3];
    };
    std::unique_ptr<Controls> controls;
};
