#include "ui/win/PortDialog.h"

#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "discovery/DiscoveryCycle.h"
#include "discovery/PortList.h"
#include "resources/resource.h"
#include "toolkit/win/ImageBitmap.h"
#include "transport/win/SocketSerial.h"
#include "ui/PortInfoTables.h"
#include "ui/win/PortInfoDialogs.h"
#include "ui/win/ScanProgressDialog.h"

namespace {

// Pictures of the 16x16 button strips.
enum Picture {
    kOkPicture = 0,
    kCancelPicture = 1,
    kInfoPicture = 2,
    kOptionsPicture = 3,
    kHelpPicture = 4,
    kRefreshPicture = 5,
    kSerialPicture = 6,
    kSerialOptionsPicture = 7,
    kIrdaPicture = 8,
    kBluetoothPicture = 10,
};

constexpr int kKindPictures[3] = {kSerialPicture, kIrdaPicture, kBluetoothPicture};
constexpr int kStateImageWidth = 26;
constexpr int kStateImageHeight = 11;

void BindPictureButton(Button& button, HWND dialog, int id, int picture)
{
    button.Bind(dialog, id);
    button.SetStripImages(IDB_BUTTONS_NORMAL, IDB_BUTTONS_HOT, IDB_BUTTONS_DISABLED, picture);
}

// The normal, hot and disabled looks of one picture of the button strips.
void SetStripPicture(StaticControl& picture, int index)
{
    PixelImage looks[3];
    const int strips[3] = {IDB_BUTTONS_NORMAL, IDB_BUTTONS_HOT, IDB_BUTTONS_DISABLED};
    for (int i = 0; i < 3; ++i) {
        PixelImage strip;
        if (LoadBitmapResource(strips[i], strip))
            looks[i] = StripImage(strip, index);
    }
    if (looks[0].IsEmpty())
        return;
    picture.SetImages(&looks[0], looks[1].IsEmpty() ? nullptr : &looks[1], looks[2].IsEmpty() ? nullptr : &looks[2]);
}

void Enable(const TWindow& control, bool enabled)
{
    if (control.Handle() != nullptr)
        EnableWindow(control.Handle(), enabled);
}

// The port's line as the options dialog reaches it: the socket of the AT channel.
class PortLine : public SerialLineControl {
public:
    bool Configure(TSerialPort& port) override
    {
        auto* socket = dynamic_cast<SocketSerial*>(port.GetSocket(Socket::kChannelAt));
        return socket != nullptr && socket->Configure();
    }
};

}  // namespace

PortDialog::PortDialog(PortDialogHost& host) : host(host) {}

PortDialog::~PortDialog()
{
    DestroyNativeWindow();
    exclusions.DeleteAll();
    exclusionsAtOpen.DeleteAll();
}

bool PortDialog::Run(TWindow* owner, PortList& list, const PortKinds& availableKinds)
{
    if (handle != nullptr)
        return false;
    ports = &list;
    available = availableKinds;
    changed = false;
    return DoModal("IDD_DIALOG_PORT", owner) == IDOK && changed;
}

void PortDialog::RefreshIfOpen()
{
    if (handle != nullptr && controls != nullptr)
        Refresh();
}

void PortDialog::CancelIfOpen()
{
    if (handle != nullptr)
        Close();
}

INT_PTR PortDialog::OnInitDialog(HWND hwnd, HWND, LPARAM)
{
    changed = false;
    CopyListedPorts(*ports, working);
    {
        auto lock = ports->Lock();
        const SettingsStore& settings = ports->Settings();
        CopyExcludedPorts(exclusionsAtOpen, settings.ExcludedPorts);
        scan.on[TComm::kSerial] = settings.values.scanSerial;
        scan.on[TComm::kIrDA] = settings.values.scanIrDA;
        scan.on[TComm::kBluetooth] = settings.values.scanBluetooth;
    }
    CopyExcludedPorts(exclusions, exclusionsAtOpen);
    rows.clear();

    controls = std::make_unique<Controls>();
    Controls& c = *controls;
    BindPictureButton(c.ok, hwnd, IDOK, kOkPicture);
    BindPictureButton(c.cancel, hwnd, IDCANCEL, kCancelPicture);
    BindPictureButton(c.help, hwnd, IDHELP, kHelpPicture);
    BindPictureButton(c.refresh, hwnd, IDC_PORT_REFRESH, kRefreshPicture);
    c.refresh.AddTooltip("Обновить/Пересканировать порты/устройства");
    BindPictureButton(c.options, hwnd, IDC_PORT_OPTIONS, kOptionsPicture);
    BindPictureButton(c.info, hwnd, IDC_PORT_INFO, kInfoPicture);
    BindPictureButton(c.serialList, hwnd, IDC_KIND_SERIAL_OPTIONS, kSerialOptionsPicture);
    c.list.Bind(hwnd, IDC_PORT_LIST, ListBox::kCheckBoxes | ListBox::kImages,
                ImageListFromIcons({IDI_PORT_APART, IDI_PORT_PLUGGED, IDI_PORT_GREYED}, kStateImageWidth,
                                   kStateImageHeight));
    for (int32_t kind = 0; kind < 3; ++kind) {
        c.kinds[kind].Bind(hwnd, IDC_KIND_SERIAL + kind);
        c.kinds[kind].SetChecked(scan.on[kind]);
        c.kindPictures[kind].Bind(hwnd, IDC_KIND_PICTURE_SERIAL + kind);
        SetStripPicture(c.kindPictures[kind], kKindPictures[kind]);
        ShowKindControls(kind);
    }
    Refresh();
    // Refresh gave the list the focus.
    return FALSE;
}

INT_PTR PortDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == QVM_SHOW_PROGRESS) {
        ScanProgressDialog& progress = host.PortScanProgress();
        if (reinterpret_cast<ScanProgress*>(wParam) == static_cast<ScanProgress*>(&progress))
            progress.Show(this);
        return TRUE;
    }
    return TDialog::DialogProc(hwnd, message, wParam, lParam);
}

void PortDialog::ShowKindControls(int32_t kind)
{
    Controls& c = *controls;
    const bool usable = KindSwitchUsable(kind, available, scan);
    const bool on = usable && c.kinds[kind].IsChecked();
    Enable(c.kinds[kind], usable);
    Enable(c.kindPictures[kind], on);
    if (kind == TComm::kSerial)
        Enable(c.serialList, on);
}

void PortDialog::CollectChecks()
{
    for (size_t i = 0; i < rows.size(); ++i) {
        if (const ListBoxRow* shown = controls->list.Row(static_cast<int>(i)))
            rows[i].look = *shown;
    }
}

void PortDialog::Refresh()
{
    ListBox& list = controls->list;
    CollectChecks();
    const int selected = list.Selected();
    SyncExclusions(exclusions, rows, selected);
    const TComm* remembered = selected >= 0 && selected < static_cast<int>(rows.size()) ? rows[selected].port : nullptr;

    rows = RowsForWorkingPorts(*ports, working, exclusions);
    list.Clear();
    for (const PortRow& row : rows)
        list.AddRow(row.name.CStr(), row.look);
    // A scan ending under the options or an information dialog must not take its focus.
    if (IsWindowEnabled(handle))
        list.Focus();

    int select = -1;
    for (size_t i = 0; i < rows.size() && select < 0; ++i) {
        if (remembered != nullptr && rows[i].port == remembered)
            select = static_cast<int>(i);
    }
    for (size_t i = 0; i < rows.size() && select < 0; ++i) {
        if (rows[i].look.checked)
            select = static_cast<int>(i);
    }
    if (select < 0 && !rows.empty())
        select = 0;
    list.Select(select);
    OnSelectionChange();
}

void PortDialog::OnSelectionChange()
{
    Controls& c = *controls;
    CollectChecks();
    const int selected = c.list.Selected();
    SyncExclusions(exclusions, rows, selected);
    {
        auto lock = ports->Lock();
        for (size_t i = 0; i < rows.size(); ++i) {
            PortRow& row = rows[i];
            ListBoxRow* shown = c.list.Row(static_cast<int>(i));
            if (shown == nullptr || !IsListedPort(*ports, row.port))
                continue;
            row.look.image = StatePicture(row.look, row.port->isOpen);
            shown->image = row.look.image;
        }
    }
    c.list.Invalidate(false);
    if (selected < 0 || selected >= static_cast<int>(rows.size())) {
        Enable(c.options, false);
        Enable(c.info, false);
        return;
    }
    const PortRow& row = rows[selected];
    Enable(c.options, row.kind == TComm::kSerial && row.look.hasCheckBox && row.look.checked);
    // Information exists for IrDA and Bluetooth devices only.
    Enable(c.info, row.kind == TComm::kIrDA || row.kind == TComm::kBluetooth);
}

void PortDialog::OnKindSwitch(int32_t kind)
{
    ShowKindControls(kind);
    PortKinds shown;
    for (int32_t k = 0; k < 3; ++k)
        shown.on[k] = controls->kinds[k].IsChecked();
    if (shown.on[kind])
        AddPortsOfKinds(*ports, working, shown);
    else
        RemovePortsOfKinds(*ports, working, shown);
    Refresh();
}

LRESULT PortDialog::OnCommand(int notifyCode, int id, HWND)
{
    switch (id) {
    case IDC_PORT_LIST:
        if (notifyCode == LBN_SELCHANGE)
            OnSelectionChange();
        return 0;
    case IDC_KIND_SERIAL:
    case IDC_KIND_IRDA:
    case IDC_KIND_BTH:
        if (notifyCode == BN_CLICKED)
            OnKindSwitch(id - IDC_KIND_SERIAL);
        return 0;
    case IDC_PORT_REFRESH:
        if (notifyCode == BN_CLICKED)
            host.StartPortScan(handle);
        return 0;
    case IDC_PORT_OPTIONS:
        if (notifyCode == BN_CLICKED)
            ShowSerialOptions();
        return 0;
    case IDC_KIND_SERIAL_OPTIONS:
        if (notifyCode == BN_CLICKED)
            ShowSerialPortList();
        return 0;
    case IDC_PORT_INFO:
        if (notifyCode == BN_CLICKED)
            ShowPortInformation();
        return 0;
    case IDHELP:
        return 0;
    default:
        return kNotHandled;
    }
}

TComm* PortDialog::SelectedListedPort()
{
    const int selected = controls->list.Selected();
    if (selected < 0 || selected >= static_cast<int>(rows.size()))
        return nullptr;
    const TComm* wanted = rows[selected].port;
    for (ListIterator<TComm> it(ports->ports); !it.IsDone(); it.Next()) {
        if (it.CurrentItem() == wanted)
            return ports->IsProcessing(wanted) ? nullptr : it.CurrentItem();
    }
    return nullptr;
}

void PortDialog::ShowSerialOptions()
{
    GString name;
    SerialLineChoice current;
    {
        auto lock = ports->Lock();
        TComm* port = SelectedListedPort();
        optionsPort = port != nullptr && port->kind == TComm::kSerial ? port : nullptr;
        if (optionsPort != nullptr) {
            name = port->displayName;
            current = LineChoiceOf(*static_cast<TSerialPort*>(port));
        }
    }
    if (optionsPort == nullptr) {
        Refresh();
        return;
    }
    SerialPortOptionsDialog dialog(name, current, *this);
    dialog.Run(this);
    optionsPort = nullptr;
    // Configuring opens the line for a moment, or leaves it open.
    OnSelectionChange();
}

LineOutcome PortDialog::Apply(const SerialLineChoice& choice)
{
    PortLine line;
    TSerialPort* port = nullptr;
    {
        auto lock = ports->Lock();
        for (ListIterator<TComm> it(ports->ports); !it.IsDone() && port == nullptr; it.Next()) {
            if (it.CurrentItem() == optionsPort && it.CurrentItem()->kind == TComm::kSerial)
                port = static_cast<TSerialPort*>(it.CurrentItem());
        }
        if (port == nullptr || ports->IsProcessing(port))
            return LineOutcome::Gone;
        // A phone at work or a scan keeps the line: the settings wait for the next connection.
        if (LineInUse(*port, host.PortScanRunning()))
            return ApplyLineChoice(*port, choice, true, line);
    }
    // No scan runs and the phone is idle: only this thread reaches the port until it returns.
    return ApplyLineChoice(*port, choice, false, line);
}

void PortDialog::ShowSerialPortList()
{
    std::vector<GString> lines;
    {
        auto lock = ports->Lock();
        for (ListIterator<TComm> it(working); !it.IsDone(); it.Next()) {
            const TComm* port = it.CurrentItem();
            if (IsListedPort(*ports, port) && port->kind == TComm::kSerial)
                lines.push_back(SerialPortListLine(port->portName, port->displayName));
        }
        for (ListIterator<TSerialPort> it(ports->virtualSerialPorts); !it.IsDone(); it.Next())
            lines.push_back(SerialPortListLine(it.CurrentItem()->portName, it.CurrentItem()->displayName));
    }
    SerialPortInfoDialog dialog(std::move(lines));
    dialog.Run(this);
}

void PortDialog::ShowPortInformation()
{
    GString name;
    std::vector<ProfileLine> profiles;
    int32_t kind = TComm::kSerial;
    bool listed = false;
    {
        auto lock = ports->Lock();
        TComm* port = SelectedListedPort();
        listed = port != nullptr;
        if (listed) {
            kind = port->kind;
            name = port->displayName;
            if (kind == TComm::kIrDA) {
                for (const ProfileRow& row : IrdaProfileRows(static_cast<TIrDAPort*>(port)->irdaHints))
                    profiles.push_back(ProfileLine{GString(row.profile), row.descriptionId});
            } else if (kind == TComm::kBluetooth) {
                const List<BT_SERVICE_STRUCT>& services = static_cast<TBthPort*>(port)->services;
                for (ListIterator<BT_SERVICE_STRUCT> it(services); !it.IsDone(); it.Next())
                    profiles.push_back(ProfileLine{it.CurrentItem()->name, ServiceDescriptionId(it.CurrentItem()->serviceId)});
            }
        }
    }
    if (!listed) {
        Refresh();
        return;
    }
    if (kind == TComm::kIrDA) {
        IrDAPortInfoDialog dialog(name, std::move(profiles));
        dialog.Run(this);
    } else if (kind == TComm::kBluetooth) {
        PortInfoDialog dialog(name, std::move(profiles));
        dialog.Run(this);
    }
}

bool PortDialog::OnOK()
{
    CollectChecks();
    SyncExclusions(exclusions, rows, controls->list.Selected());
    PortKinds chosen;
    for (int32_t kind = 0; kind < 3; ++kind)
        chosen.on[kind] = controls->kinds[kind].IsChecked();
    changed = ApplyPortChoices(*ports, working, chosen, exclusionsAtOpen, exclusions);
    return true;
}

void PortDialog::OnDialogDestroy()
{
    working.RemoveAll();
    rows.clear();
    exclusions.DeleteAll();
    exclusionsAtOpen.DeleteAll();
}
