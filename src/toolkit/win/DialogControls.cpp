#include "toolkit/win/DialogControls.h"

bool CheckBox::Bind(HWND dialog, int id) { return BindControl(GetDlgItem(dialog, id), SubclassRule::None); }

void CheckBox::SetChecked(bool on)
{
    if (handle != nullptr)
        SendMessageA(handle, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::IsChecked() const
{
    return handle != nullptr && SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ComboBox::Bind(HWND dialog, int id) { return BindControl(GetDlgItem(dialog, id), SubclassRule::None); }

int ComboBox::AddString(const char* text)
{
    if (handle == nullptr)
        return -1;
    LRESULT index = SendMessageA(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : ""));
    return index < 0 ? -1 : static_cast<int>(index);
}

void ComboBox::Select(int index)
{
    if (handle != nullptr)
        SendMessageA(handle, CB_SETCURSEL, index, 0);
}

int ComboBox::SelectedIndex() const
{
    if (handle == nullptr)
        return -1;
    LRESULT index = SendMessageA(handle, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}
