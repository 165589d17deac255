#include "ui/win/Device_InfoView.h"

#include <algorithm>

#include "devices/Device.h"
#include "toolkit/win/PaintBuffer.h"
#include "toolkit/win/ToolkitPalette.h"
#include "ui/win/ViewHost.h"

namespace {
constexpr int kFontTenths = 100;
}  // namespace

Device_InfoView::Device_InfoView()
{
    RegisterWindowClass(0, LoadCursor(nullptr, IDC_ARROW), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                        kClassName, 0);
}

Device_InfoView::~Device_InfoView()
{
    DestroyNativeWindow();
    Release();
}

bool Device_InfoView::Create(TWindow* mainWindow, ViewHost* viewHost, Device* shown)
{
    if (mainWindow == nullptr || mainWindow->Handle() == nullptr || handle != nullptr)
        return false;
    owner = mainWindow;
    host = viewHost;
    device = shown;
    CreateWindowExA(0, kClassName, "", WS_CHILD | WS_CLIPSIBLINGS, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, owner->Handle(), nullptr, GetModuleHandleA(nullptr), this);
    if (handle == nullptr)
        return false;
    SetFontByFace("Verdana", kFontTenths, 0, 0, true);
    LOGFONTA bold{};
    if (GetObjectA(GetFont(), sizeof bold, &bold) == sizeof bold) {
        bold.lfWeight = FW_BOLD;
        valueFont = CreateFontIndirectA(&bold);
    }
    return true;
}

void Device_InfoView::AddRow(const GString& label, const GString& value)
{
    rows.push_back(InfoRow{label, value});
    if (handle == nullptr)
        return;
    HDC dc = GetDC(handle);
    HGDIOBJ old = SelectObject(dc, GetFont());
    SIZE extent{};
    GetTextExtentPoint32A(dc, label.CStr(), static_cast<int>(label.Length()), &extent);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(handle, dc);
    labelWidth = std::max<int>(labelWidth, extent.cx);
    rowHeight = std::max<int>(rowHeight, extent.cy + metrics.tmExternalLeading + metrics.tmInternalLeading);
}

void Device_InfoView::Fill(const GString* info)
{
    for (const InfoRow& row : InfoRowsOf(info))
        AddRow(row.label, row.value);
    SetText(InfoSheetText(rows));
    Invalidate(false);
}

LRESULT Device_InfoView::OnPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(handle, &paint);
    RECT client{};
    GetClientRect(handle, &client);
    PaintBuffer buffer;
    buffer.Begin(dc, client);

    HBRUSH background = GetSysColorBrush(COLOR_INFOBK);
    FillRect(dc, &client, background);
    HBRUSH frame = CreateSolidBrush(ToolkitPalette::Get().Colours().highlight);
    FrameRect(dc, &client, frame);
    DeleteObject(frame);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    HGDIOBJ old = SelectObject(dc, GetFont());
    for (size_t i = 0; i < rows.size(); ++i) {
        const InfoRowPlace place = PlaceInfoRow(i, labelWidth, rowHeight);
        SelectObject(dc, GetFont());
        TextOutA(dc, place.label.x, place.label.y, rows[i].label.CStr(), static_cast<int>(rows[i].label.Length()));
        SelectObject(dc, valueFont != nullptr ? valueFont : GetFont());
        TextOutA(dc, place.value.x, place.value.y, rows[i].value.CStr(), static_cast<int>(rows[i].value.Length()));
    }
    SelectObject(dc, old);

    buffer.End(dc);
    EndPaint(handle, &paint);
    return 0;
}

LRESULT Device_InfoView::OnEraseBackground(HDC) { return 1; }

LRESULT Device_InfoView::OnSize(int width, int height, UINT)
{
    const TSize after(width, height);
    const FrameStrips strips = FrameStripsOnResize(clientSize, after);
    RECT right{strips.right.left, strips.right.top, strips.right.right, strips.right.bottom};
    RECT bottom{strips.bottom.left, strips.bottom.top, strips.bottom.right, strips.bottom.bottom};
    InvalidateRect(handle, &right, FALSE);
    InvalidateRect(handle, &bottom, FALSE);
    clientSize = after;
    return 0;
}

LRESULT Device_InfoView::OnShowWindow(BOOL, UINT)
{
    // The view's commands and texts are those of the view that shows now; and the file
    // manager is no longer what the phone opens with.
    if (host != nullptr)
        host->ClearViewState();
    UpdateNow();
    if (device != nullptr)
        device->settings.fileManagerShown = 0;
    return kNotHandled;
}

LRESULT Device_InfoView::OnClose()
{
    Release();
    return kNotHandled;
}

void Device_InfoView::Release()
{
    rows.clear();
    if (valueFont != nullptr)
        DeleteObject(valueFont);
    valueFont = nullptr;
}
