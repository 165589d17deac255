// The Samsung media store against the simulated phone on a mapped COM port: its three
// folders, uploads the phone checks by CRC-32, the size limit, deletion and a phone that
// misbehaves during an upload.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "devices/SAMSUNG_Device.h"
#include "devices/TSerialPort.h"
#include "samsung/RecordingProgress.h"
#include "samsung/SAMSUNG_AT_FTP.h"
#include "samsung/win/SamsungPhoneTree.h"
#include "support/CountingSocket.h"
#include "support/MessageBoxRecorder.h"
#include "support/win/PhoneSim.h"
#include "support/win/TempDir.h"

namespace {

using samsung_test::AwkwardContent;
using samsung_test::Entry;
using samsung_test::Listed;
using samsung_test::OnSim;
using samsung_test::PhoneTree;
using samsung_test::RecordingProgress;
using samsung_test::RecordingWait;
using samsung_test::SimSetting;
using Names = std::vector<std::string>;

FileInformation LocalFile(const TempDir& dir, const char* name, const std::string& content)
{
    FileInformation file;
    const std::string path = dir.File(name);
    PhoneTree::WriteLocal(path, content);
    file.path = path.c_str();
    file.findData.sizeLow = static_cast<uint32_t>(content.size());
    lstrcpynA(file.findData.fileName, name, sizeof file.findData.fileName);
    return file;
}

struct MediaPhone {
    explicit MediaPhone(const PhoneTree& tree) : sim({"--profile", "samsung", "--root", tree.unixRoot})
    {
        if (!sim.Ready())
            return;
        OnSim(port, sim);
        if (!port.Connect(nullptr))
            return;
        at = port.GetSocket(Socket::kChannelAt);
        // A phone that refuses the file system: the device model falls back to the media store.
        if (at == nullptr || !SimSetting(*at, "fs,0") || !SimSetting(*at, "upload-block,256") ||
            !port.device->OpenFileAccess(at, nullptr))
            return;
        media = dynamic_cast<SAMSUNG_AT_FTP*>(port.device->fileAccess);
    }
    ~MediaPhone() { port.Disconnect(); }

    PhoneSim sim;
    TSerialPort port;
    Socket* at = nullptr;
    SAMSUNG_AT_FTP* media = nullptr;
};

TEST(SamsungMediaStore, ListsUploadsAndDeletes)
{
    PhoneTree tree;
    tree.Folder("Sounds");
    tree.Folder("Pictures");
    tree.Folder("Photos");
    tree.File("Sounds\\ring.mid", std::string(600, 'm'));
    tree.File("Pictures\\sun.jpg", std::string(1500, 's'));
    tree.File("Photos\\p1.jpg", std::string(100, 'p'));
    MessageBoxRecorder boxes;
    MediaPhone phone(tree);
    ASSERT_TRUE(phone.sim.Ready()) << phone.sim.Error();
    SAMSUNG_AT_FTP* media = phone.media;
    ASSERT_NE(media, nullptr);
    EXPECT_FALSE(media->CanCopyFromDevice());

    RecordingWait wait;
    ASSERT_TRUE(media->ReadFolder(&wait));
    EXPECT_EQ(Listed(*media), (Names{"Изображения/", "Звуки/", "Фотографии/"}));

    ASSERT_TRUE(media->ChangeFolder("Звуки"));
    ASSERT_TRUE(media->ReadFolder(&wait));
    EXPECT_EQ(Listed(*media), Names{"ring.mid"});
    EXPECT_EQ(media->memoryTotal, 4194304u);
    EXPECT_EQ(media->memoryFree, 4194304u - 600u);
    EXPECT_EQ(media->maxFileSize, 200000u);
    EXPECT_EQ(media->BlockSize(), 256);

    ASSERT_TRUE(media->ChangeFolder(".."));
    EXPECT_EQ(media->memoryTotal, 0u);
    ASSERT_TRUE(media->ChangeFolder("Фотографии"));
    ASSERT_TRUE(media->ReadFolder(nullptr));
    EXPECT_EQ(Listed(*media), Names{"p1.jpg"});
    EXPECT_NE(Entry(*media, "p1.jpg")->time.year, 0);

    ASSERT_TRUE(media->ChangeFolder("Изображения"));
    ASSERT_TRUE(media->ReadFolder(nullptr));
    EXPECT_EQ(Listed(*media), Names{"sun.jpg"});

    TempDir local;
    const std::string picture = AwkwardContent(1000);
    FileInformation sunset = LocalFile(local, "Закат.gif", picture);
    RecordingProgress progress;
    EXPECT_TRUE(media->PutFile(&sunset, &progress));
    EXPECT_EQ(progress.fileSize, 1000u);
    EXPECT_EQ(progress.transferred, 1000u);
    EXPECT_EQ(tree.Read("Pictures\\Закат"), picture);  // stored under its name, checked by CRC

    ASSERT_TRUE(media->ReadFolder(nullptr));
    EXPECT_EQ(Listed(*media), (Names{"sun.jpg", "Закат.jpg"}));
    EXPECT_TRUE(media->DeleteObject("sun.jpg"));
    EXPECT_FALSE(tree.Exists("Pictures\\sun.jpg"));
    EXPECT_FALSE(media->DeleteObject("sun.jpg"));  // the phone no longer has that number
    ASSERT_TRUE(media->ReadFolder(nullptr));
    EXPECT_EQ(Listed(*media), Names{"Закат.jpg"});

    // The phone's limit, as the listing reports it, is kept before anything is sent.
    ASSERT_TRUE(SimSetting(*phone.at, "max-file,500"));
    ASSERT_TRUE(media->ReadFolder(nullptr));
    EXPECT_EQ(media->maxFileSize, 500u);
    FileInformation big = LocalFile(local, "big.jpg", std::string(501, 'b'));
    EXPECT_FALSE(media->PutFile(&big, nullptr));
    EXPECT_EQ(media->LastError(), 1050);
    EXPECT_FALSE(tree.Exists("Pictures\\big"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SamsungMediaStore, UploadFaultsFailPromptly)
{
    const struct {
        const char* fault;
    } cases[] = {{"bad-crc"}, {"mute-upload"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        PhoneTree tree;
        tree.Folder("Sounds");
        MessageBoxRecorder boxes;
        MediaPhone phone(tree);
        ASSERT_TRUE(phone.sim.Ready()) << phone.sim.Error();
        ASSERT_NE(phone.media, nullptr);
        ASSERT_TRUE(phone.media->ChangeFolder("Звуки"));
        ASSERT_TRUE(phone.media->ReadFolder(nullptr));
        ASSERT_TRUE(SimSetting(*phone.at, std::string("fault,") + c.fault));

        TempDir local;
        FileInformation tune = LocalFile(local, "tune.mid", AwkwardContent(1000));
        // The upload runs over a socket that counts the reads which waited out a time-out.
        CountingSocket counted(*phone.at);
        phone.media->socket = &counted;
        EXPECT_FALSE(phone.media->PutFile(&tune, nullptr));
        phone.media->socket = phone.at;
        EXPECT_EQ(phone.media->LastError(), 0);
        EXPECT_LT(counted.shortReads, 2);
        EXPECT_FALSE(tree.Exists("Sounds\\tune"));
    }
}

}  // namespace
