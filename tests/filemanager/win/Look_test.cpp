// Pictures of the file manager for a person to judge (run by hand with QV_SHOTS naming a
// folder; the test run skips it): the four views over Cyrillic names and the wait panel.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "FileManagerRig.h"

namespace {

// The window as the screen shows it, as a 24-bit BMP file.
void SaveShot(HWND window, const std::string& path)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB};
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    std::string pixels(stride * height, '\0');
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + pixels.size()), 0, 0,
                          sizeof file + sizeof info};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(pixels);
    PhoneTree::WriteLocal(path, bytes);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

void Settle() { PumpUntil([] { return false; }, 300); }

}  // namespace

TEST(FileManagerLook, DISABLED_FourViewsAndTheWaitPanel)
{
    const char* folder = std::getenv("QV_SHOTS");
    ASSERT_NE(folder, nullptr) << "QV_SHOTS names the folder for the pictures";
    fm_test::Rig rig({"--profile", "siemens", "--delay", "150"});
    for (const char* name : {"Фотографии", "Музыка", "Видео", "Документы"})
        rig.tree.Folder(name);
    rig.tree.File("Отпуск на море, июль 2023.jpg", std::string(2345678, 'j'));
    rig.tree.File("звонок.mid", std::string(5120, 'm'));
    rig.tree.File("заметки.txt", std::string(123, 't'));
    rig.tree.File("Контакты.vcf", std::string(98765, 'v'));
    rig.tree.File("readme.txt", "hello");
    // Enough photos that their listing outlasts the wait panel's delay of a second.
    for (int i = 0; i < 150; ++i)
        rig.tree.File("Фотографии\\IMG_" + std::to_string(1000 + i) + ".jpg", "p");
    ASSERT_TRUE(rig.Open()) << rig.sim->Error();
    for (const auto& [command, name] : {std::pair{IDM_VIEW_DETAILS, "details"}, std::pair{IDM_VIEW_LARGE_ICONS, "large"},
                                        std::pair{IDM_VIEW_SMALL_ICONS, "small"}, std::pair{IDM_VIEW_LIST, "list"}}) {
        rig.Command(command);
        Settle();
        SaveShot(rig.main.Handle(), std::string(folder) + "\\fm-view-" + name + ".bmp");
    }
    rig.Command(IDM_VIEW_DETAILS);
    ASSERT_TRUE(rig.Select("Фотографии"));
    rig.Key(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] {
        HWND panel = rig.Fm().waitDialog.Handle();
        return panel != nullptr && IsWindowVisible(panel);
    }));
    Settle();
    SaveShot(rig.main.Handle(), std::string(folder) + "\\fm-wait.bmp");
    ASSERT_TRUE(rig.WaitIdle());
}
