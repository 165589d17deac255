// The device information view: a framed two-column sheet of what identification learnt about
// a phone (labels in Verdana 10 pt, values in bold) on the tooltip colours. Its window text is
// the sheet as "label value" lines, so screen readers and other programs can read it.
#pragma once

#include <vector>

#include "toolkit/win/TWindow.h"
#include "ui/InfoSheet.h"

class Device;
class ViewHost;

class Device_InfoView : public TWindow {
public:
    static constexpr const char* kClassName = "qv_Device_InfoView";

    Device_InfoView();
    ~Device_InfoView() override;

    // A hidden child of the main window; false when the window cannot be created.
    bool Create(TWindow* mainWindow, ViewHost* host, Device* device);
    void AddRow(const GString& label, const GString& value);
    // The rows of the port's info strings, once, when the device gets its views.
    void Fill(const GString* info);

    const std::vector<InfoRow>& Rows() const { return rows; }

    LRESULT OnPaint() override;
    LRESULT OnEraseBackground(HDC dc) override;
    LRESULT OnSize(int width, int height, UINT type) override;
    LRESULT OnShowWindow(BOOL shown, UINT status) override;
    LRESULT OnClose() override;

private:
    void Release();

    std::vector<InfoRow> rows;
    TWindow* owner = nullptr;
    ViewHost* host = nullptr;
    Device* device = nullptr;
    int labelWidth = 0;
    int rowHeight = 0;
    HFONT valueFont = nullptr;
    TSize clientSize;
};
