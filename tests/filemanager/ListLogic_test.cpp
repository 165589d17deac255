// The file list's order, its status line and command states, and the listed-name rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "filemanager/ListLogic.h"
#include "filemanager/ListedName.h"

namespace {

FolderObject Entry(uint8_t type, const char* name, uint32_t size = 0)
{
    FolderObject e;
    e.type = type;
    e.name = name;
    e.size = size;
    return e;
}

}  // namespace

TEST(FileListOrder, FoldersFirstThenNamesByteWise)
{
    const std::vector<FolderObject> entries = {
        Entry(FolderObject::kFile, "b"),   Entry(FolderObject::kFolder, "Z"),
        Entry(FolderObject::kFile, "Я"),   Entry(FolderObject::kFile, "B"),
        Entry(FolderObject::kFolder, "a"), Entry(FolderObject::kFile, "ab"),
        Entry(FolderObject::kFile, "a"),
    };
    std::vector<const FolderObject*> sorted;
    for (const FolderObject& e : entries)
        sorted.push_back(&e);
    std::sort(sorted.begin(), sorted.end(), [](const FolderObject* x, const FolderObject* y) {
        return CompareEntries(x, y) < 0;
    });
    std::vector<std::string> names;
    for (const FolderObject* e : sorted)
        names.push_back(e->name.CStr());
    // "Я" is byte 0xDF in the ANSI code page: after every ASCII name.
    EXPECT_EQ(names, (std::vector<std::string>{"Z", "a", "B", "a", "ab", "b", "Я"}));
    EXPECT_EQ(CompareEntries(nullptr, &entries[0]), 0);
}

TEST(FileListStatus, CountsSumsAndCommandStates)
{
    // Two files of 3 GiB: a 32-bit sum would show 2 GiB.
    const FolderObject big1 = Entry(FolderObject::kFile, "v1.mp4", 0xC0000000u);
    const FolderObject big2 = Entry(FolderObject::kFile, "v2.mp4", 0xC0000000u);
    const FolderObject folder = Entry(FolderObject::kFolder, "Фото");
    const std::vector<const FolderObject*> items = {&folder, &big1, &big2, nullptr};
    FileAccessCapabilities caps;
    caps.copyFromDevice = caps.canDelete = caps.rename = caps.copyToDevice = true;

    struct Case {
        const char* what;
        std::vector<const FolderObject*> selected;
        bool clipboardFiles;
        bool copyToDevice;
        std::string text;
        bool showSize;
        uint64_t size;
        FileCommandStates commands;
    };
    const Case cases[] = {
        {"nothing selected: every item, size shown", {}, true, true, "Объектов: 4", true,
         0x180000000ull, {false, false, true, false}},
        {"files selected", {&big1, &big2}, false, true, "Выделено объектов: 2", true,
         0x180000000ull, {true, true, false, true}},
        {"only a folder: size part cleared", {&folder}, true, false, "Выделено объектов: 1",
         false, 0, {true, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        caps.copyToDevice = c.copyToDevice;
        const ListStatus s = ComputeListStatus(items, c.selected, caps, c.clipboardFiles);
        EXPECT_EQ(s.text.CStr(), c.text);
        EXPECT_EQ(s.showSize, c.showSize);
        EXPECT_EQ(s.size, c.size);
        EXPECT_EQ(s.commands.copy, c.commands.copy);
        EXPECT_EQ(s.commands.del, c.commands.del);
        EXPECT_EQ(s.commands.paste, c.commands.paste);
        EXPECT_EQ(s.commands.rename, c.commands.rename);
    }
    // With nothing selected and no files the size part still shows 0.
    const ListStatus empty = ComputeListStatus({&folder}, {}, caps, false);
    EXPECT_TRUE(empty.showSize);
    EXPECT_EQ(empty.size, 0u);
}

TEST(ListedNames, HostileNamesAreRefusedAndMadeSafeForTheDesktop)
{
    struct Case {
        const char* name;
        bool enterable;
        const char* desktop;
    };
    const Case cases[] = {
        {"Фото", true, "Фото"},
        {"..", false, "_"},
        {".", false, "_"},
        {"", false, "_"},
        {"a\\b", false, "a_b"},
        {"../x", false, ".._x"},
        {"c:d*e?f\"g<h>i|j", true, "c_d_e_f_g_h_i_j"},
        {"tab\there", true, "tab_here"},
        {"...", true, "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSafeListedName(c.name), c.enterable);
        EXPECT_EQ(std::string(DesktopSafeName(c.name).CStr()), c.desktop);
    }
}
