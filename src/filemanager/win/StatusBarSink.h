// The main window's status bar as the file manager's status line.
#pragma once

#include "filemanager/StatusSink.h"
#include "ui/win/StatusWindow.h"

class StatusBarSink : public StatusSink {
public:
    explicit StatusBarSink(StatusWindow& bar) : bar(bar) {}
    void ShowText(const GString& text) override { bar.SetMessage("%s", text.CStr()); }
    void ShowSize(uint64_t bytes, bool hide) override { bar.SetSize(bytes, hide); }
    void ShowMemory(uint32_t freeBytes, uint32_t totalBytes, bool hide) override
    {
        bar.SetMemory(freeBytes, totalBytes, hide);
    }

private:
    StatusWindow& bar;
};
