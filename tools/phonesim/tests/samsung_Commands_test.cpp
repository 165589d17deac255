// The samsung profile's AT file system and media store, driven through the pty.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PhoneRoot.h"
#include "SimProcess.h"
#include "samsung_Phone.h"

namespace {

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";

std::string Ask(SimProcess& sim, const std::string& line) {
  sim.Write(line);
  return sim.ReadQuiet();
}

struct SamsungSim : ::testing::Test {
  void SetUp() override {
    root = std::filesystem::temp_directory_path() / ("phonesim-samsung-" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    WriteTreeFile((root / "Images/a.jpg").string(), "AAAA");
    WriteTreeFile((root / "Images/b.jpg").string(), "BB");
    WriteTreeFile((root / "Images/c.jpg").string(), "");
    WriteTreeFile((root / "Фото/снимок.jpg").string(), std::string(1300, 'x'));
    WriteTreeFile((root / "Sounds/ring.mid").string(), "MThd");
    ASSERT_TRUE(sim.Start({"--profile", "samsung", "--root", root.string()}));
    ASSERT_EQ(Ask(sim, "ATE0\r"), "ATE0\r" + kOk);
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  std::filesystem::path root;
  SimProcess sim;
};

TEST(SamsungFields, QuotesKeepCommas) {
  EXPECT_EQ(SamsungPhone::Fields("=-1,\"a,b\""), (std::vector<std::string>{"-1", "a,b"}));
  EXPECT_EQ(SamsungPhone::Fields("=\"/\""), std::vector<std::string>{"/"});
  EXPECT_TRUE(SamsungPhone::Fields("").empty());
  EXPECT_EQ(SamsungPhone::Crc32("123456789"), 0xCBF43926u);
}

TEST_F(SamsungSim, ListsEntersAndLeavesFolders) {
  EXPECT_EQ(Ask(sim, "AT+FSIF=0\r"), kOk);
  EXPECT_EQ(Ask(sim, "AT+FSDI=\"/\"\r"),
            "\r\n+FSDI: 1,\"Images\"\r\n\r\n+FSDI: 2,\"Sounds\"\r\n\r\n+FSDI: 3,\"Фото\"\r\n" + kOk);
  EXPECT_EQ(Ask(sim, "AT+FSCD=\"Images\"\r"), kOk);
  EXPECT_EQ(Ask(sim, "AT$QVSIM=page,2\r"), kOk);
  std::string page = Ask(sim, "AT+FSDL=\"/\"\r");
  EXPECT_NE(page.find("+FSDL: 1,\"a.jpg\",0,0,0,1,4,0,\""), std::string::npos) << page;
  EXPECT_NE(page.find("+FSDL: 2,\"b.jpg\""), std::string::npos) << page;
  EXPECT_EQ(page.substr(page.size() - 8), "\r\n#OK#\r\n");
  page = Ask(sim, "##>\r\n");
  EXPECT_NE(page.find("+FSDL: 3,\"c.jpg\",0,0,0,1,0,0,"), std::string::npos) << page;
  EXPECT_EQ(Ask(sim, "##>\r\n"), kOk);
  EXPECT_EQ(Ask(sim, "##>\r\n"), kError);  // nothing pending
  EXPECT_EQ(Ask(sim, "AT+FSCD=\"..\"\r"), kOk);
  EXPECT_EQ(Ask(sim, "AT+FSCD=\"..\"\r"), kError);  // already at the top
  EXPECT_EQ(Ask(sim, "AT+FSCD=\"Nothing\"\r"), kError);
  EXPECT_EQ(Ask(sim, "AT+FSCD=\"Фото\"\r"), kOk);
  EXPECT_EQ(Ask(sim, "/\r"), kOk);
  EXPECT_EQ(Ask(sim, "AT+FSDL=\"/Nothing\"\r"), kError);
}

TEST_F(SamsungSim, ReadsFilesInAcknowledgedBlocksAndDeletes) {
  std::string answer = Ask(sim, "AT+FSFR=-1,\"Фото\\снимок.jpg\"\r\n");
  EXPECT_EQ(answer, "\r\n+FSFR: 1300\r\n\r\n#OK#\r\n");
  std::string data;
  for (int block = 1; block <= 3; ++block) {
    answer = Ask(sim, "##>\r\n");
    const std::string header = "\r\n+FSFR:" + std::to_string(block < 3 ? 512 : 276) + "," + std::to_string(block) + ",";
    ASSERT_EQ(answer.substr(0, header.size()), header);
    ASSERT_EQ(answer.substr(answer.size() - 8), "\r\n#OK#\r\n");
    data += answer.substr(header.size(), answer.size() - header.size() - 8);
  }
  EXPECT_EQ(data, std::string(1300, 'x'));
  EXPECT_EQ(Ask(sim, "##>\r\n"), kOk);
  EXPECT_EQ(Ask(sim, "AT+FSFR=-1,\"missing\"\r\n"), kError);

  EXPECT_EQ(Ask(sim, "AT+FSFE=-1,\"Images/a.jpg\"\r\n"), kOk);
  EXPECT_FALSE(TreeEntryExists((root / "Images/a.jpg").string()));
  EXPECT_EQ(Ask(sim, "AT+FSFE=-1,\"Images/a.jpg\"\r\n"), kError);
  EXPECT_EQ(Ask(sim, "AT+FSFE=-1,\"../outside\"\r\n"), kError);
}

TEST_F(SamsungSim, FaultsCutPagesAndBlocks) {
  Ask(sim, "AT$QVSIM=page,1\r");
  Ask(sim, "AT$QVSIM=fault,page-silence\r");
  Ask(sim, "AT+FSCD=\"Images\"\r");
  EXPECT_NE(Ask(sim, "AT+FSDL=\"/\"\r").find("#OK#"), std::string::npos);
  std::string second = Ask(sim, "##>\r\n");
  EXPECT_NE(second.find("+FSDL: 2,"), std::string::npos);
  EXPECT_EQ(second.find("#OK#"), std::string::npos);
  EXPECT_EQ(Ask(sim, "##>\r\n"), kError);

  Ask(sim, "AT$QVSIM=fault,short-block\r");
  Ask(sim, "/\r");
  Ask(sim, "AT+FSFR=-1,\"Фото/снимок.jpg\"\r\n");
  EXPECT_EQ(Ask(sim, "##>\r\n").size(), 2 + 12 + 512 + 8);
  EXPECT_EQ(Ask(sim, "##>\r\n"), "\r\n+FSFR:512,2," + std::string(256, 'x'));
  EXPECT_EQ(Ask(sim, "AT$QVSIM=fault,unknown\r"), kError);
}

TEST_F(SamsungSim, MediaOnlyPhoneRefusesTheFileSystem) {
  EXPECT_EQ(Ask(sim, "AT$QVSIM=fs,0\r"), kOk);
  EXPECT_EQ(Ask(sim, "AT+FSIF=0\r"), kError);
}

TEST_F(SamsungSim, MediaStoreListsUploadsWithItsCrcAndDeletes) {
  Ask(sim, "AT$QVSIM=memory,1000\r");
  Ask(sim, "AT$QVSIM=upload-block,4\r");
  EXPECT_EQ(Ask(sim, "AT+MELR?\r"), "\r\n+MELR: 1,100,4,1000\r\n" + kOk);
  EXPECT_EQ(Ask(sim, "AT+MELW?\r"), "\r\n+MELW: 1,200000,0,0,4\r\n" + kOk);
  EXPECT_EQ(Ask(sim, "AT+MELR=1\r"), "\r\n+MELR: 1,\"ring.mid\",4\r\n" + kOk);
  EXPECT_EQ(Ask(sim, "AT+MELR=2\r"), kError);
  EXPECT_EQ(Ask(sim, "AT+UPLL?\r"), kError);  // no Photos folder

  const std::string tune = "0123456789";
  const std::string header = "AT+MELW=0,\"Tune\",4,10," + std::to_string(SamsungPhone::Crc32(tune)) + "\r";
  EXPECT_EQ(Ask(sim, header), ">");
  EXPECT_EQ(Ask(sim, "0123"), ">");
  EXPECT_EQ(Ask(sim, "4567"), ">");
  EXPECT_EQ(Ask(sim, "89"), kOk);
  EXPECT_EQ(ReadTreeFile((root / "Sounds/Tune").string()), tune);
  EXPECT_EQ(Ask(sim, "AT+MELR=2\r"), "\r\n+MELR: 2,\"Tune\",10\r\n" + kOk);

  EXPECT_EQ(Ask(sim, "AT+MELW=0,\"Bad\",4,2,12345\r"), ">");
  EXPECT_EQ(Ask(sim, "ab"), "\r\nCRCERR\r\n");
  EXPECT_FALSE(TreeEntryExists((root / "Sounds/Bad").string()));
  EXPECT_EQ(Ask(sim, "AT+MELW=0,\"Big\",4,200001,1\r"), kError);

  EXPECT_EQ(Ask(sim, "AT+MELW=1,\"Del\",5,1,1,1,16,100,0,0\r"), ">");
  EXPECT_EQ(Ask(sim, ">\r"), kOk);
  EXPECT_FALSE(TreeEntryExists((root / "Sounds/ring.mid").string()));
  EXPECT_EQ(Ask(sim, "AT+MELR=1\r"), "\r\n+MELR: 2,\"Tune\",10\r\n" + kOk);  // numbers stay
  EXPECT_EQ(Ask(sim, "AT+MELW=1,\"Del\",5,1,1,1,16,100,0,0\r"), kError);
  EXPECT_EQ(Ask(sim, ">\r"), kError);
}

TEST_F(SamsungSim, PicturesAndPhotos) {
  WriteTreeFile((root / "Photos/p1.jpg").string(), "JPEG", 1173097200);  // 2007-03-05 12:20 UTC
  EXPECT_EQ(Ask(sim, "AT+UPLL?\r"), "\r\n+UPLL: 100,1\r\n" + kOk);
  const std::string photos = Ask(sim, "AT+UPLL\r");
  EXPECT_NE(photos.find("/03/2007 "), std::string::npos) << photos;
  EXPECT_NE(photos.find("\",\"p1.jpg\",4\r\n"), std::string::npos) << photos;

  EXPECT_EQ(Ask(sim, "AT+IMGR?\r"), "\r\n+IMGR: 0,100,0,4194304\r\n" + kOk);
  const std::string gif = "GIF89a";
  EXPECT_EQ(Ask(sim, "AT+IMGW=0,\"logo\",2,0,0,0,0,100,6," + std::to_string(SamsungPhone::Crc32(gif)) + "\r"), ">");
  EXPECT_EQ(Ask(sim, gif), kOk);
  EXPECT_EQ(ReadTreeFile((root / "Pictures/logo").string()), gif);

  Ask(sim, "AT$QVSIM=fault,bad-crc\r");
  EXPECT_EQ(Ask(sim, "AT+IMGW=0,\"x\",11,0,0,0,0,100,6," + std::to_string(SamsungPhone::Crc32(gif)) + "\r"), ">");
  EXPECT_EQ(Ask(sim, gif), "\r\nCRCERR\r\n");

  Ask(sim, "AT$QVSIM=fault,mute-upload\r");
  Ask(sim, "AT$QVSIM=upload-block,2\r");
  EXPECT_EQ(Ask(sim, "AT+IMGW=0,\"y\",11,0,0,0,0,100,6," + std::to_string(SamsungPhone::Crc32(gif)) + "\r"), ">");
  EXPECT_EQ(Ask(sim, gif), "");
  EXPECT_FALSE(TreeEntryExists((root / "Pictures/y").string()));
}

}  // namespace
