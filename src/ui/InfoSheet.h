// The device information sheet without a window: the rows identification learnt, where the
// labels and values stand, the strips a resize must repaint for the frame, and the sheet as
// text for screen readers and other programs.
#pragma once

#include <cstdint>
#include <vector>

#include "core/GString.h"
#include "toolkit/Geometry.h"

struct InfoRow {
    GString label;
    GString value;
};

// The rows of a port's info strings (TComm::kInfoCount of them), in display order, each only
// when its value is not empty.
std::vector<InfoRow> InfoRowsOf(const GString* info);

// Where the row's texts start: the label at x 4, the value one row height right of the
// widest label; rows from y 2 down, one row height apart.
struct InfoRowPlace {
    TPoint label;
    TPoint value;
};

InfoRowPlace PlaceInfoRow(size_t row, int32_t labelWidth, int32_t rowHeight);

// The strips to repaint when the sheet changes size, so that the one-pixel frame is drawn at
// its new place and not left at the old one: from the smaller of the old and new right edges,
// less one pixel, to the new right border, and likewise at the bottom.
struct FrameStrips {
    TRect right;
    TRect bottom;
};

FrameStrips FrameStripsOnResize(const TSize& before, const TSize& after);

// "label value" lines separated by CR LF: the sheet as its window text.
GString InfoSheetText(const std::vector<InfoRow>& rows);
