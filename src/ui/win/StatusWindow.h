// The main window's status bar (control 601): three parts for the file manager's message,
// the size of the counted objects and the phone's free and total memory, with a tooltip whose
// text the part under the pointer decides (part 2 shows the exact byte counts).
#pragma once

#include <cstdint>
#include <string>

#include "core/GString.h"
#include "toolkit/win/TWindow.h"

class StatusWindow : public TWindow {
public:
    // The bar at the bottom of the main window, with a size grip; hidden until shown.
    bool Create(TWindow* mainWindow);

    // Part 0: the formatted text, cut at 63 bytes.
    void SetMessage(const char* format, ...)
#if defined(__MINGW_PRINTF_FORMAT)
        __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)))
#elif defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // Part 1: the byte size, or nothing when hidden.
    void SetSize(uint64_t bytes, bool hide);
    // Part 2: free and total memory as byte sizes; the tooltip gives the exact counts.
    void SetMemory(uint32_t freeBytes, uint32_t totalBytes, bool hide);
    void Clear();

    // The text a part shows (part 2: its short text) and the tooltip text of part 2.
    const GString& PartText(int part) const;
    const GString& MemoryTip() const { return memoryLong; }

    LRESULT OnSize(int width, int height, UINT type) override;
    LRESULT OnNotify(int id, NMHDR* header) override;
    LRESULT OnMouseMove(int x, int y, UINT keys) override;

private:
    void ShowPart(int part);
    // The part under the mouse pointer, -1 when none.
    int PartUnderPointer() const;

    GString texts[3];
    GString memoryLong;
    // What the tooltip shows, kept while it shows it.
    GString tipText;
    std::wstring tipTextWide;
    int pointerPart = -1;
};
