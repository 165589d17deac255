#include "core/win/AppCore.h"

#include <clocale>

#include "core/Locale.h"
#include "core/SettingsCodec.h"
#include "core/win/Application.h"
#include "core/win/SettingsFile.h"
#include "devices/DeviceSettingsStore.h"
#include "resources/resource.h"

namespace {

AppCore* instance = nullptr;

char LocaleByte(LCTYPE item, char fallback)
{
    char buffer[5] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, item | LOCALE_USE_CP_ACP, buffer, sizeof buffer) > 0)
        return buffer[0];
    return fallback;
}

HIMAGELIST LoadStrip(int bitmapId)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr)
        return nullptr;
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 12, 0);
    if (list != nullptr)
        ImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
    return list;
}

}  // namespace

AppCore* AppCore::Instance()
{
    if (instance == nullptr)
        instance = new AppCore();
    return instance;
}

AppCore* AppCore::Existing() { return instance; }

void AppCore::Destroy()
{
    delete instance;
    instance = nullptr;
}

AppCore::AppCore()
{
    SetDeviceSettingsStore(&settings);
    decimalSeparator = LocaleByte(LOCALE_SDECIMAL, decimalSeparator);
    thousandsSeparator = LocaleByte(LOCALE_STHOUSAND, thousandsSeparator);
    SetDecimalSeparator(decimalSeparator);
    SetThousandsSeparator(thousandsSeparator);
    setlocale(LC_ALL, "");

    portImages[0] = LoadStrip(IDB_BUTTONS_NORMAL);
    portImages[1] = LoadStrip(IDB_BUTTONS_HOT);
    portImages[2] = LoadStrip(IDB_BUTTONS_DISABLED);

    winsockReady = WSAStartup(MAKEWORD(2, 2), &wsaData) == 0;

    if (Application* application = Application::Instance())
        application->GetSystemImageLists(&largeSystemImageList, &smallSystemImageList);
}

AppCore::~AppCore()
{
    SaveSettings();
    // Normally empty by now: the closing thread destroyed the ports.
    portList.DestroyAll();
    SetDeviceSettingsStore(nullptr);
    if (winsockReady)
        WSACleanup();
    // The shell's lists are shared: the system ignores the destroy request for them.
    if (largeSystemImageList != nullptr)
        ImageList_Destroy(largeSystemImageList);
    if (smallSystemImageList != nullptr)
        ImageList_Destroy(smallSystemImageList);
    for (HIMAGELIST& list : portImages) {
        if (list != nullptr)
            ImageList_Destroy(list);
        list = nullptr;
    }
    configFile.Close();
}

void AppCore::SetCurrentDirectoryFromProcess()
{
    char buffer[MAX_PATH] = {};
    DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    currentDirectory.Assign(n > 0 && n < sizeof buffer ? buffer : "");
    programCfgPath = currentDirectory;
    programCfgPath.Append("\\program.cfg");
}

bool AppCore::LoadSettings()
{
    SettingsFile file(programCfgPath);
    auto lock = settings.Lock();
    return file.Load(settings);
}

bool AppCore::SaveSettings(bool report)
{
    if (saving)
        return false;
    saving = true;
    std::vector<uint8_t> bytes;
    bool unreadable = false;
    {
        auto lock = settings.Lock();
        bytes = EncodeSettings(settings);
        unreadable = settings.values.fileUnreadable;
    }
    SettingsFile file(programCfgPath);
    const bool saved = file.SaveEncoded(bytes, unreadable, report);
    saving = false;
    return saved;
}
