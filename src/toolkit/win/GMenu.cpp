#include "toolkit/win/GMenu.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "resources/resource.h"
#include "toolkit/MenuMetrics.h"
#include "toolkit/win/Theme.h"
#include "toolkit/win/ToolkitPalette.h"
#include "toolkit/win/TWindow.h"

namespace {

// Items of live menus: the owner-draw records of other menus carry other data.
std::unordered_set<const GMenuItem*>& LiveItems()
{
    static std::unordered_set<const GMenuItem*> live;
    return live;
}

const GMenuItem* LiveItem(ULONG_PTR data)
{
    const auto* item = reinterpret_cast<const GMenuItem*>(data);
    return LiveItems().count(item) != 0 ? item : nullptr;
}

HFONT CreateMenuFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return CreateFontIndirectA(&metrics.lfMenuFont);
}

bool IsStockObject(HGDIOBJ object) { return object == GetStockObject(DEFAULT_GUI_FONT); }

// One bit per pixel, rows padded to 16 bits: 1 where the mask is white.
HBITMAP MonochromeBitmap(const PixelImage& mask)
{
    const int rowBytes = ((mask.width + 15) / 16) * 2;
    std::vector<BYTE> bits(static_cast<size_t>(rowBytes) * mask.height, 0);
    for (int32_t y = 0; y < mask.height; ++y)
        for (int32_t x = 0; x < mask.width; ++x)
            if (PixelRed(mask.At(x, y)) != 0)
                bits[static_cast<size_t>(y) * rowBytes + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    return CreateBitmap(mask.width, mask.height, 1, 1, bits.data());
}

RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void FillWith(HDC dc, const RECT& rect, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void FrameWith(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

SIZE TextExtent(HDC dc, const GString& text)
{
    RECT r{0, 0, 0, 0};
    if (!text.IsEmpty())
        DrawTextA(dc, text.CStr(), static_cast<int>(text.Length()), &r, DT_SINGLELINE | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

MenuItemExtent ExtentOf(HDC dc, const GMenuItem& item)
{
    MenuItemExtent extent;
    extent.separator = (item.type & MFT_SEPARATOR) != 0;
    extent.topLevel = item.topLevel;
    extent.labelWidth = TextExtent(dc, item.text).cx;
    extent.acceleratorWidth = TextExtent(dc, item.accelerator).cx;
    if (item.image.IsValid())
        extent.image = TSize(item.image.Width(), item.image.Height());
    return extent;
}

void DrawCheckMark(HDC dc, const RECT& box, COLORREF colour, bool radio)
{
    const int size = std::min(box.right - box.left, box.bottom - box.top);
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    if (radio) {
        const int r = std::max(2, size / 4);
        Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
    } else {
        // A tick two pixels thick: down-right from the left, then up-right.
        const int unit = std::max(1, (size + 2) / 7);
        for (int t = 0; t < 2; ++t) {
            POINT tick[3] = {{cx - 3 * unit, cy - unit + t}, {cx - unit, cy + unit + t}, {cx + 3 * unit, cy - 3 * unit + t}};
            Polyline(dc, tick, 3);
        }
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// The classic disabled picture: the mask embossed in the highlight and shadow colours.
void DrawEmbossed(HDC dc, HBITMAP mask, int x, int y, int width, int height)
{
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr)
        return;
    HGDIOBJ oldBitmap = SelectObject(source, mask);
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    constexpr DWORD kBrushWhereSourceBlack = 0x00B8074A;
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_3DHILIGHT));
    BitBlt(dc, x + 1, y + 1, width, height, source, 0, 0, kBrushWhereSourceBlack);
    SelectObject(dc, GetSysColorBrush(COLOR_3DSHADOW));
    BitBlt(dc, x, y, width, height, source, 0, 0, kBrushWhereSourceBlack);
    SelectObject(dc, oldBrush);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(source, oldBitmap);
    DeleteDC(source);
}

}  // namespace

GMenuItem::~GMenuItem()
{
    LiveItems().erase(this);
    if (mask != nullptr)
        DeleteObject(mask);
}

GMenu::GMenu() : font(CreateMenuFont()) {}

GMenu::~GMenu()
{
    if (attachedTo != nullptr && IsWindow(attachedTo) && GetMenu(attachedTo) == menu)
        SetMenu(attachedTo, nullptr);
    if (menu != nullptr && IsMenu(menu))
        DestroyMenu(menu);
    items.clear();
    if (font != nullptr && !IsStockObject(font))
        DeleteObject(font);
}

bool GMenu::Load(LPCSTR resourceName)
{
    if (menu != nullptr)
        return false;
    menu = LoadMenuA(GetModuleHandleA(nullptr), resourceName);
    return menu != nullptr;
}

bool GMenu::Attach(TWindow* window)
{
    if (menu == nullptr || window == nullptr || window->Handle() == nullptr)
        return false;
    if (items.empty())
        Convert(menu, true);
    if (!SetMenu(window->Handle(), menu))
        return false;
    attachedTo = window->Handle();
    return true;
}

bool GMenu::LoadPopupMenu(LPCSTR resourceName)
{
    if (!Load(resourceName))
        return false;
    Convert(menu, true);
    return true;
}

HMENU GMenu::Popup(int position) const { return menu != nullptr ? GetSubMenu(menu, position) : nullptr; }

bool GMenu::TrackPopup(int position, HWND owner, int x, int y) const
{
    HMENU popup = Popup(position);
    return popup != nullptr && TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y, 0, owner, nullptr);
}

void GMenu::Convert(HMENU source, bool topLevel)
{
    const int count = GetMenuItemCount(source);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        if (!GetMenuItemInfoA(source, static_cast<UINT>(position), TRUE, &info))
            continue;
        std::vector<char> text(info.cch + 1, '\0');
        info.dwTypeData = text.data();
        info.cch += 1;
        if (!GetMenuItemInfoA(source, static_cast<UINT>(position), TRUE, &info))
            continue;

        auto item = std::make_unique<GMenuItem>();
        item->owner = this;
        item->type = info.fType;
        item->id = info.wID;
        item->topLevel = topLevel;
        if ((info.fType & MFT_SEPARATOR) == 0) {
            const char* tab = strchr(text.data(), '\t');
            if (tab != nullptr) {
                item->text.Assign(text.data(), static_cast<uint32_t>(tab - text.data()));
                item->accelerator.Assign(tab + 1);
            } else {
                item->text.Assign(text.data());
            }
        }
        PixelImage picture;
        if (!topLevel && info.hSubMenu == nullptr && (info.fType & MFT_SEPARATOR) == 0 &&
            LoadBitmapResource(static_cast<int>(IDB_MENU_IMAGE_BASE + info.wID), picture)) {
            item->image = ImageBitmap(picture);
            item->grey = ImageBitmap(LightenedCopy(GreyCopy(picture)));
            item->mask = MonochromeBitmap(MonochromeMask(picture));
        }

        MENUITEMINFOA owned{};
        owned.cbSize = sizeof owned;
        owned.fMask = MIIM_FTYPE | MIIM_DATA;
        owned.fType = info.fType | MFT_OWNERDRAW;
        owned.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (SetMenuItemInfoA(source, static_cast<UINT>(position), TRUE, &owned)) {
            LiveItems().insert(item.get());
            items.push_back(std::move(item));
        }
        if (info.hSubMenu != nullptr)
            Convert(info.hSubMenu, false);
    }
}

void GMenu::Enable(UINT id, bool on)
{
    if (menu != nullptr)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void GMenu::SetCheck(UINT id, bool on)
{
    if (menu != nullptr)
        CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void GMenu::SetRadioCheck(UINT first, UINT last, UINT id)
{
    if (menu != nullptr)
        CheckMenuRadioItem(menu, first, last, id, MF_BYCOMMAND);
}

void GMenu::RebuildFont()
{
    HFONT old = font;
    font = CreateMenuFont();
    if (old != nullptr && !IsStockObject(old))
        DeleteObject(old);
    // The bar measures its items again when it is next drawn.
    if (attachedTo != nullptr && IsWindow(attachedTo))
        DrawMenuBar(attachedTo);
}

bool GMenu::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    if (measure == nullptr || measure->CtlType != ODT_MENU)
        return false;
    const GMenuItem* item = LiveItem(measure->itemData);
    if (item == nullptr)
        return false;
    HDC dc = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, item->owner->font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const TSize size = MeasureMenuItem(ExtentOf(dc, *item), MenuFontMetrics{tm.tmHeight, tm.tmExternalLeading});
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    measure->itemWidth = static_cast<UINT>(size.cx);
    measure->itemHeight = static_cast<UINT>(size.cy);
    return true;
}

bool GMenu::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (draw == nullptr || draw->CtlType != ODT_MENU)
        return false;
    const GMenuItem* item = LiveItem(draw->itemData);
    if (item == nullptr)
        return false;
    HGDIOBJ oldFont = SelectObject(draw->hDC, item->owner->font);
    const int oldMode = SetBkMode(draw->hDC, TRANSPARENT);
    const COLORREF oldText = GetTextColor(draw->hDC);
    const COLORREF oldBack = GetBkColor(draw->hDC);
    if (item->topLevel)
        item->owner->DrawBarItem(*item, *draw);
    else
        item->owner->DrawPopupItem(*item, *draw);
    SetTextColor(draw->hDC, oldText);
    SetBkColor(draw->hDC, oldBack);
    SetBkMode(draw->hDC, oldMode);
    SelectObject(draw->hDC, oldFont);
    return true;
}

void GMenu::DrawBarItem(const GMenuItem& item, const DRAWITEMSTRUCT& draw) const
{
    const PaletteColours& colours = ToolkitPalette::Get().Colours();
    HDC dc = draw.hDC;
    RECT rect = draw.rcItem;
    const UINT state = draw.itemState;
    if ((state & ODS_SELECTED) != 0) {
        FillWith(dc, rect, colours.gutter);
        FrameWith(dc, rect, colours.greyText);
    } else if ((state & ODS_HOTLIGHT) != 0) {
        FillWith(dc, rect, colours.selection);
        FrameWith(dc, rect, colours.highlight);
    } else {
        FillRect(dc, &rect, ToolkitPalette::Get().MenuBarBrush());
    }
    const bool disabled = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    SetTextColor(dc, disabled ? colours.greyText : colours.menuText);
    const UINT hidePrefix = (state & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    DrawTextA(dc, item.text.CStr(), static_cast<int>(item.text.Length()), &rect,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | hidePrefix);
}

void GMenu::DrawPopupItem(const GMenuItem& item, const DRAWITEMSTRUCT& draw) const
{
    const PaletteColours& colours = ToolkitPalette::Get().Colours();
    HDC dc = draw.hDC;
    const RECT rect = draw.rcItem;
    const UINT state = draw.itemState;
    const MenuItemExtent extent = ExtentOf(dc, item);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const int32_t gutterWidth = MenuGutterWidth(MenuTextItemHeight(MenuFontMetrics{tm.tmHeight, tm.tmExternalLeading}));
    const MenuItemParts parts = LayOutMenuItem(TRect(rect.left, rect.top, rect.right, rect.bottom), extent, gutterWidth);
    const RECT gutter = ToRect(parts.gutter);
    RECT body = rect;
    body.left = gutter.right;
    FillWith(dc, gutter, colours.gutter);
    FillWith(dc, body, colours.menuBackground);

    if (extent.separator) {
        RECT line = ToRect(parts.separator);
        FillWith(dc, line, colours.greyText);
        return;
    }
    const bool disabled = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool selected = (state & ODS_SELECTED) != 0;
    if (selected && !disabled) {
        FillWith(dc, rect, colours.selection);
        FrameWith(dc, rect, colours.highlight);
    } else if (selected) {
        FrameWith(dc, rect, colours.highlight);
    }

    const RECT imageRect = ToRect(parts.image);
    if ((state & ODS_CHECKED) != 0) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(reinterpret_cast<HMENU>(draw.hwndItem), draw.itemID, FALSE, &info);
        RECT box = imageRect;
        InflateRect(&box, 1, 1);
        if (item.image.IsValid()) {
            // A checked picture sits in a box, the check itself would hide it.
            FillWith(dc, box, colours.lightSelection);
            FrameWith(dc, box, colours.highlight);
        } else {
            DrawCheckMark(dc, imageRect, disabled ? colours.greyText : colours.menuText,
                          (info.fType & MFT_RADIOCHECK) != 0);
        }
    }
    if (item.image.IsValid()) {
        if (!disabled)
            item.image.Draw(dc, imageRect.left, imageRect.top);
        else if (ThemeApi::Get().IsThemeActive() || item.mask == nullptr)
            item.grey.Draw(dc, imageRect.left, imageRect.top);
        else
            DrawEmbossed(dc, item.mask, imageRect.left, imageRect.top, item.image.Width(), item.image.Height());
    }

    SetTextColor(dc, disabled ? colours.greyText : colours.menuText);
    const UINT hidePrefix = (state & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    RECT text = ToRect(parts.text);
    DrawTextA(dc, item.text.CStr(), static_cast<int>(item.text.Length()), &text,
              DT_SINGLELINE | DT_LEFT | DT_VCENTER | hidePrefix);
    if (!item.accelerator.IsEmpty()) {
        RECT accelerator = ToRect(parts.accelerator);
        DrawTextA(dc, item.accelerator.CStr(), static_cast<int>(item.accelerator.Length()), &accelerator,
                  DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
    }
}
