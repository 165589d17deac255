// Rows of the owner-drawn list box: what a row holds, where its check box, image and text
// go, and when a click or the Space key toggles it.
#pragma once

#include <cstdint>

#include "toolkit/Geometry.h"

struct ListBoxRow {
    bool hasCheckBox = false;
    bool checked = false;
    bool enabled = true;
    int32_t image = -1;  // index in the list's image list; -1 draws none
    void* user = nullptr;
};

struct ListRowParts {
    TRect checkBox;  // empty when the list has no check boxes
    TRect image;     // empty when the list has no images
    TRect text;
};

constexpr int32_t kListCheckBoxSide = 13;
constexpr int32_t kListRowGap = 3;

// Check box square at the left edge, the image after it, then the text; the first two are
// centred vertically. Columns are kept for every row of a list that has them, so that texts
// line up even where a row has no check box or no image.
ListRowParts LayOutListRow(const TRect& row, bool checkBoxColumn, const TSize& imageColumn);

// A row with a check box that is enabled changes its checked state; answers whether it did.
bool ToggleRow(ListBoxRow& row);

// A left-button release toggles only inside the check box square of the selected row.
bool ReleaseTogglesRow(const ListRowParts& parts, const TPoint& at, bool rowSelected);
