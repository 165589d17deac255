#include "toolkit/ListRows.h"

ListRowParts LayOutListRow(const TRect& row, bool checkBoxColumn, const TSize& imageColumn)
{
    ListRowParts parts;
    int32_t x = row.left + kListRowGap;
    if (checkBoxColumn) {
        int32_t top = row.top + (row.Height() - kListCheckBoxSide) / 2;
        parts.checkBox = TRect(x, top, x + kListCheckBoxSide, top + kListCheckBoxSide);
        x += kListCheckBoxSide + kListRowGap;
    }
    if (imageColumn.cx > 0 && imageColumn.cy > 0) {
        int32_t top = row.top + (row.Height() - imageColumn.cy) / 2;
        parts.image = TRect(x, top, x + imageColumn.cx, top + imageColumn.cy);
        x += imageColumn.cx + kListRowGap;
    }
    parts.text = TRect(x, row.top, row.right, row.bottom);
    return parts;
}

bool ToggleRow(ListBoxRow& row)
{
    if (!row.hasCheckBox || !row.enabled)
        return false;
    row.checked = !row.checked;
    return true;
}

bool ReleaseTogglesRow(const ListRowParts& parts, const TPoint& at, bool rowSelected)
{
    const TRect& box = parts.checkBox;
    return rowSelected && box.Width() > 0 && at.x >= box.left && at.x < box.right && at.y >= box.top &&
           at.y < box.bottom;
}
