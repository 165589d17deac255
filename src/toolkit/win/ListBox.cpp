#include "toolkit/win/ListBox.h"

#include <vssym32.h>

#include <algorithm>

#include "toolkit/win/PaintBuffer.h"
#include "toolkit/win/Theme.h"
#include "toolkit/win/ToolkitPalette.h"

namespace {
RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
TRect FromRect(const RECT& r) { return TRect(r.left, r.top, r.right, r.bottom); }

void FrameWith(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}
}  // namespace

ListBox::ListBox() { kind = kListBox; }

ListBox::~ListBox()
{
    // The control goes first: it still reads the records while it is destroyed.
    DestroyNativeWindow();
    if (imageList != nullptr)
        ImageList_Destroy(imageList);
}

void ListBox::Adopt(unsigned listStyle, HIMAGELIST images)
{
    style = listStyle;
    if (imageList != nullptr && imageList != images)
        ImageList_Destroy(imageList);
    imageList = images;
    int w = 0, h = 0;
    if (imageList != nullptr && ImageList_GetIconSize(imageList, &w, &h))
        imageSize = TSize(w, h);
    SendMessageA(handle, LB_SETITEMHEIGHT, 0, RowHeight());
}

bool ListBox::Bind(HWND dialog, int id, unsigned listStyle, HIMAGELIST images)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr || !BindControl(control, SubclassRule::ZeroMeansHandled))
        return false;
    Adopt(listStyle, images);
    return true;
}

bool ListBox::Create(TWindow* parent, int id, unsigned listStyle, HIMAGELIST images, const RECT& where)
{
    if (parent == nullptr || parent->Handle() == nullptr)
        return false;
    HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                                       LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                   where.left, where.top, where.right - where.left, where.bottom - where.top,
                                   parent->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control == nullptr)
        return false;
    if (!BindControl(control, SubclassRule::ZeroMeansHandled)) {
        DestroyWindow(control);
        return false;
    }
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    Adopt(listStyle, images);
    return true;
}

int ListBox::RowHeight() const
{
    TEXTMETRICA tm{};
    if (handle != nullptr) {
        HDC dc = GetDC(handle);
        HGDIOBJ old = SelectObject(dc, GetFont());
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(handle, dc);
    }
    int height = tm.tmHeight;
    if ((style & kCheckBoxes) != 0)
        height = std::max(height, kListCheckBoxSide);
    if ((style & kImages) != 0)
        height = std::max(height, static_cast<int>(imageSize.cy));
    return height + 4;
}

int ListBox::AddRow(const char* text, const ListBoxRow& row)
{
    if (handle == nullptr)
        return -1;
    auto index = static_cast<int>(SendMessageA(handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    if (index < 0)
        return -1;
    rows.push_back(std::make_unique<ListBoxRow>(row));
    SendMessageA(handle, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(rows.back().get()));
    return index;
}

ListBoxRow* ListBox::Row(int index) const
{
    if (handle == nullptr || index < 0)
        return nullptr;
    LRESULT data = SendMessageA(handle, LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<ListBoxRow*>(data);
}

int ListBox::Count() const
{
    return handle != nullptr ? static_cast<int>(SendMessageA(handle, LB_GETCOUNT, 0, 0)) : 0;
}

int ListBox::Selected() const
{
    return handle != nullptr ? static_cast<int>(SendMessageA(handle, LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::Select(int index)
{
    if (handle != nullptr)
        SendMessageA(handle, LB_SETCURSEL, index, 0);
}

void ListBox::Clear()
{
    if (handle != nullptr)
        SendMessageA(handle, LB_RESETCONTENT, 0, 0);
    rows.clear();
}

bool ListBox::Toggle(int index)
{
    ListBoxRow* row = Row(index);
    if (row == nullptr || !ToggleRow(*row))
        return false;
    RECT r{};
    if (SendMessageA(handle, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(handle, &r, FALSE);
    return true;
}

ListRowParts ListBox::Parts(const RECT& row) const
{
    return LayOutListRow(FromRect(row), (style & kCheckBoxes) != 0, (style & kImages) != 0 ? imageSize : TSize());
}

LRESULT ListBox::OnMeasureItem(MEASUREITEMSTRUCT* item)
{
    item->itemHeight = static_cast<UINT>(RowHeight());
    return TRUE;
}

LRESULT ListBox::OnLButtonUp(int x, int y, UINT)
{
    LRESULT hit = SendMessageA(handle, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(hit) != 0)
        return kNotHandled;  // below the last row
    const int index = LOWORD(hit);
    RECT r{};
    if (SendMessageA(handle, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return kNotHandled;
    if (ReleaseTogglesRow(Parts(r), TPoint(x, y), index == Selected()))
        Toggle(index);
    return kNotHandled;
}

LRESULT ListBox::OnKeyUp(UINT key, UINT)
{
    if (key != VK_SPACE)
        return kNotHandled;
    const int index = Selected();
    if (index >= 0 && Toggle(index))
        SendMessageA(GetParent(handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(handle));
    return kNotHandled;
}

LRESULT ListBox::OnEraseBackground(HDC) { return kNotHandled; }

LRESULT ListBox::OnSetFocus(HWND)
{
    Invalidate(false);
    return kNotHandled;
}

LRESULT ListBox::OnKillFocus(HWND)
{
    Invalidate(false);
    return kNotHandled;
}

LRESULT ListBox::OnDrawItem(DRAWITEMSTRUCT* item)
{
    if (item == nullptr || item->hwndItem != handle)
        return kNotHandled;
    HDC dc = item->hDC;
    const RECT rowRect = item->rcItem;
    PaintBuffer buffer;
    buffer.Begin(dc, rowRect);
    const PaletteColours& colours = ToolkitPalette::Get().Colours();
    const ListBoxRow* row = item->itemID != static_cast<UINT>(-1) ? Row(static_cast<int>(item->itemID)) : nullptr;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const bool listEnabled = IsWindowEnabled(handle) != FALSE;
    const bool rowEnabled = listEnabled && (row == nullptr || row->enabled);

    FillRect(dc, &rowRect, selected && row != nullptr && row->hasCheckBox && row->checked
                               ? ToolkitPalette::Get().SelectionBrush()
                               : ToolkitPalette::Get().WindowBrush());
    if (selected)
        FrameWith(dc, rowRect, GetFocus() == handle ? colours.highlight : colours.selection);

    if (row != nullptr) {
        const ListRowParts parts = Parts(rowRect);
        if (row->hasCheckBox) {
            RECT box = ToRect(parts.checkBox);
            ThemeHandle theme(handle, L"BUTTON");
            if (theme) {
                int state = row->checked ? (rowEnabled ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED)
                                         : (rowEnabled ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED);
                ThemeApi::Get().DrawThemeBackground(theme.Get(), dc, BP_CHECKBOX, state, &box, nullptr);
            } else {
                UINT state = DFCS_BUTTONCHECK | DFCS_FLAT | (row->checked ? DFCS_CHECKED : 0) |
                             (rowEnabled ? 0 : DFCS_INACTIVE);
                DrawFrameControl(dc, &box, DFC_BUTTON, state);
            }
        }
        if (imageList != nullptr && row->image >= 0)
            ImageList_Draw(imageList, row->image, dc, parts.image.left, parts.image.top, ILD_TRANSPARENT);

        LRESULT length = SendMessageA(handle, LB_GETTEXTLEN, item->itemID, 0);
        std::vector<char> text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
        if (length > 0 && SendMessageA(handle, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text.data())) > 0) {
            RECT textRect = ToRect(parts.text);
            HGDIOBJ oldFont = SelectObject(dc, GetFont());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, rowEnabled ? colours.text : colours.greyText);
            DrawTextA(dc, text.data(), static_cast<int>(length), &textRect,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            SelectObject(dc, oldFont);
        }
    }
    buffer.End(dc);
    return TRUE;
}
