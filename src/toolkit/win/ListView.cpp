#include "toolkit/win/ListView.h"

#include <vector>

namespace {
constexpr DWORD kExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT |
                                 LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER;
}

ListView::~ListView() { DestroyNativeWindow(); }

bool ListView::Create(TWindow* parent, int id, DWORD extraStyle, View view)
{
    if (parent == nullptr || parent->Handle() == nullptr)
        return false;
    HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                   WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS |
                                       static_cast<DWORD>(view) | extraStyle,
                                   0, 0, 100, 100, parent->Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control == nullptr)
        return false;
    if (!BindControl(control, SubclassRule::ZeroMeansHandled)) {
        DestroyWindow(control);
        return false;
    }
    SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyle, kExtendedStyle);
    return true;
}

bool ListView::Bind(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr || !BindControl(control, SubclassRule::ZeroMeansHandled))
        return false;
    // Image lists given later are the shared ones of the system or the program.
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyle, kExtendedStyle);
    return true;
}

int ListView::InsertColumn(int index, const char* title, int width, int format)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(title != nullptr ? title : "");
    column.iSubItem = index;
    return static_cast<int>(SendMessageA(handle, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

int ListView::InsertItem(int index, const char* text, int image, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image != kNoImage ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<char*>(text != nullptr ? text : "");
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(SendMessageA(handle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView::SetItemText(int row, int column, const char* text, int image)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | (column == 0 && image != kNoImage ? LVIF_IMAGE : 0);
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text != nullptr ? text : "");
    item.iImage = image;
    return SendMessageA(handle, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

GString ListView::ItemText(int row, int column) const
{
    // The control copies at most the buffer it is given: grow it until the text fits.
    for (size_t size = 256; size <= 65536; size *= 4) {
        std::vector<char> buffer(size, '\0');
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        auto length = static_cast<size_t>(SendMessageA(handle, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size)
            return GString(buffer.data(), static_cast<uint32_t>(length));
    }
    return GString();
}

bool ListView::GetItem(LVITEMA& item) const
{
    return SendMessageA(handle, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

LPARAM ListView::ItemData(int row) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return GetItem(item) ? item.lParam : 0;
}

bool ListView::SetItemData(int row, LPARAM data)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    return SendMessageA(handle, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

int ListView::ItemCount() const { return static_cast<int>(SendMessageA(handle, LVM_GETITEMCOUNT, 0, 0)); }

bool ListView::DeleteItem(int row) { return SendMessageA(handle, LVM_DELETEITEM, row, 0) != FALSE; }

bool ListView::DeleteAllItems() { return SendMessageA(handle, LVM_DELETEALLITEMS, 0, 0) != FALSE; }

void ListView::SetView(View view)
{
    ModifyStyle(LVS_TYPEMASK, static_cast<DWORD>(view));
    // Some list views keep the old arrangement on screen until they are repainted.
    Invalidate();
}

ListView::View ListView::GetView() const
{
    return static_cast<View>(GetWindowLongPtrA(handle, GWL_STYLE) & LVS_TYPEMASK);
}

void ListView::SetImageLists(HIMAGELIST small, HIMAGELIST large)
{
    if (small != nullptr)
        SendMessageA(handle, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    if (large != nullptr)
        SendMessageA(handle, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
}

int ListView::SelectedCount() const { return static_cast<int>(SendMessageA(handle, LVM_GETSELECTEDCOUNT, 0, 0)); }

int ListView::NextSelected(int after) const
{
    return static_cast<int>(SendMessageA(handle, LVM_GETNEXTITEM, after, MAKELPARAM(LVNI_SELECTED, 0)));
}

int ListView::FocusedItem() const
{
    return static_cast<int>(SendMessageA(handle, LVM_GETNEXTITEM, -1, MAKELPARAM(LVNI_FOCUSED, 0)));
}

void ListView::SetItemState(int row, UINT state, UINT mask)
{
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(handle, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ListView::SelectAll() { SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }

bool ListView::EnsureVisible(int row) { return SendMessageA(handle, LVM_ENSUREVISIBLE, row, FALSE) != FALSE; }

HWND ListView::EditLabel(int row) { return reinterpret_cast<HWND>(SendMessageA(handle, LVM_EDITLABELA, row, 0)); }

LRESULT ListView::OnEraseBackground(HDC) { return kNotHandled; }

bool ListView::SortItems(PFNLVCOMPARE compare, LPARAM param)
{
    return SendMessageA(handle, LVM_SORTITEMS, static_cast<WPARAM>(param), reinterpret_cast<LPARAM>(compare)) != FALSE;
}
