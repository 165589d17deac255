// The confirmations as a user answers them: what each says, which buttons it offers and where,
// and what Esc answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "filemanager/OperationQuestions.h"
#include "filemanager/win/ConfirmDialogs.h"
#include "FileManagerRig.h"

using fm_test::DialogAnswerer;

namespace {

FolderObject Entry(uint8_t type, const char* name, const char* sizeText = "")
{
    FolderObject e;
    e.type = type;
    e.name = name;
    e.sizeText = sizeText;
    e.time = SystemTime{2023, 7, 0, 14, 9, 5, 3, 0};
    return e;
}

}  // namespace

TEST(Confirmations, DeleteAsksPerKindAndEscapeMeansNo)
{
    std::vector<std::string> events;
    fm_test::TestMain owner(events);
    const FolderObject folder = Entry(FolderObject::kFolder, "Фото & видео");
    const FolderObject file = Entry(FolderObject::kFile, "a.jpg");
    {
        DialogAnswerer esc("Подтверждение удаления папки", IDCANCEL);
        EXPECT_EQ(ConfirmDelete(&owner, {&folder}), IDNO);
        esc.Join();
        EXPECT_EQ(esc.text, "Вы действительно хотите удалить папку «Фото & видео»\nи всё её содержимое?");
        EXPECT_EQ(esc.visibleButtons, (std::vector<int>{IDYES, IDNO}));
    }
    {
        DialogAnswerer yes("Подтверждение удаления группы файлов", IDYES);
        EXPECT_EQ(ConfirmDelete(&owner, {&folder, &file, &file}), IDYES);
        yes.Join();
        EXPECT_EQ(yes.text, "Вы действительно хотите удалить эти объекты (3 шт.)?");
    }
}

TEST(Confirmations, ReplaceOffersAllFourAnswersUnlessOneFileIsSent)
{
    std::vector<std::string> events;
    fm_test::TestMain owner(events);
    const FolderObject existing = Entry(FolderObject::kFile, "песня.mp3", "1 500");
    FileInformation local;
    local.findData.sizeLow = 2048;
    local.findData.lastWriteTime = 133000000000000000ull;
    local.path = "C:\\песня.mp3";

    DialogAnswerer all("Подтверждение замены файла", IDC_YES_TO_ALL);
    EXPECT_EQ(AskReplaceDialog(&owner, existing, local, 2, nullptr), kReplaceYesToAll);
    all.Join();
    EXPECT_EQ(all.text, "Эта папка уже содержит файл с именем «песня.mp3».");
    ASSERT_EQ(all.visibleButtons, (std::vector<int>{IDYES, IDC_YES_TO_ALL, IDNO, IDCANCEL}));
    EXPECT_EQ(all.texts[IDC_REPLACE_OLD_SIZE], "1 500 байт");
    EXPECT_EQ(all.texts[IDC_REPLACE_NEW_SIZE], "2 048 байт");
    const std::string date = all.texts[IDC_REPLACE_OLD_DATE];
    EXPECT_EQ(date.rfind("дата изменения: 14 ", 0), 0u) << date;
    EXPECT_NE(date.find("2023г.,  09:05:03"), std::string::npos) << date;
    EXPECT_EQ(all.texts[IDC_REPLACE_NEW_DATE].rfind("дата изменения: ", 0), 0u);

    // One file: "Да" stands where "Нет" was, "Нет" where "Отмена" was.
    DialogAnswerer no("Подтверждение замены файла", IDNO);
    EXPECT_EQ(AskReplaceDialog(&owner, existing, local, 1, nullptr), kReplaceNo);
    no.Join();
    ASSERT_EQ(no.visibleButtons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(no.buttonPlaces[0].left, all.buttonPlaces[2].left);
    EXPECT_EQ(no.buttonPlaces[1].left, all.buttonPlaces[3].left);

    // A folder is merged, not replaced; Esc answers "Отмена".
    local.findData.attributes = FILE_ATTRIBUTE_DIRECTORY;
    DialogAnswerer esc("Подтверждение замены папки", IDCANCEL);
    EXPECT_EQ(AskReplaceDialog(&owner, existing, local, 3, nullptr), kReplaceCancel);
    esc.Join();
    EXPECT_EQ(esc.text, "Папка уже содержит вложенную папку «песня.mp3».\n\nЗаменить существующие в ней файлы "
                        "перемещаемыми при совпадении имен?");
}
