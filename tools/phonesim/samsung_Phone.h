#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "AtCommand.h"
#include "AtExtensions.h"

// The proprietary AT file commands of the samsung profile, served from the phone's folder
// tree: the file system ("AT+FSIF", "AT+FSDI", "AT+FSDL" in pages, "AT+FSCD", "/",
// "AT+FSFE", "AT+FSFR" in blocks, each page and block acknowledged by "##>") and the media
// store (sounds in Sounds/, pictures in Pictures/, photos in Photos/ when that folder exists:
// "AT+MELR", "AT+MELW", "AT+IMGR", "AT+IMGW" with CRC-checked uploads and "Del" confirmed
// by ">", "AT+UPLL").
//
// Tests set the phone up over the line itself, one "AT$QVSIM=<key>,<value>" per setting
// ("OK", or "ERROR" for an unknown key or value):
//   fs,0|1            0: "AT+FSIF=0" answers ERROR (a phone with the media store only)
//   page,N            file records per listing page (default 10)
//   block,N           bytes per file block read (default 512)
//   max-file,N        largest upload the media store takes (default 200000)
//   upload-block,N    bytes per upload block (default 1024)
//   memory,N          media memory in bytes (default 4194304)
//   limit,N           most media records listed (default 100)
//   fault,KIND        none (default);
//                     page-silence: the listing page after the first (the first when it is
//                       the only one) stops after one record, without "#OK#" or a result;
//                     short-block: the second block read (the first of a one-block file)
//                       carries half the bytes it announces, then nothing more;
//                     bad-crc: every upload is answered "CRCERR" as if its checksum failed;
//                     mute-upload: after the first upload block the phone answers nothing.
struct SamsungSettings {
  bool fileSystem = true;
  size_t pageRecords = 10;
  size_t readBlock = 512;
  uint64_t maxFile = 200000;
  size_t uploadBlock = 1024;
  uint64_t memory = 4u << 20;
  uint64_t listLimit = 100;
  std::string fault = "none";
};

class SamsungPhone : public AtExtension {
 public:
  explicit SamsungPhone(std::filesystem::path root);
  void Register(AtCommandTable& table);

  // Fields of a command's arguments: the leading '=' dropped, split at commas outside
  // double quotes, quotes removed.
  static std::vector<std::string> Fields(std::string_view args);
  // The standard CRC-32, computed bit by bit.
  static uint32_t Crc32(std::string_view data);

 private:
  enum class Media { Sounds, Pictures, Photos };
  struct Item {
    uint32_t id;
    std::string name;
    uint64_t size;
    std::time_t modified;
  };

  // Wraps a handler of a Samsung command: a new command ends any pending page, block or
  // confirmation.
  AtHandler Command(void (SamsungPhone::*handler)(const AtCommand&, AtLine&));
  void Settings(const AtCommand& command, AtLine& line);
  void Next(const AtCommand& command, AtLine& line);
  void Confirm(const AtCommand& command, AtLine& line);

  // File system.
  void FsInfo(const AtCommand& command, AtLine& line);
  void FsTop(const AtCommand& command, AtLine& line);
  void FsEnter(const AtCommand& command, AtLine& line);
  void FsFolders(const AtCommand& command, AtLine& line);
  void FsFiles(const AtCommand& command, AtLine& line);
  void FsDelete(const AtCommand& command, AtLine& line);
  void FsRead(const AtCommand& command, AtLine& line);
  void SendPage(std::shared_ptr<std::vector<std::string>> records, size_t page, AtLine& line);
  void SendBlock(std::shared_ptr<std::string> data, size_t block, AtLine& line);
  // A folder or file name relative to the current folder, kept inside the tree.
  bool Resolve(const std::string& name, std::filesystem::path& out) const;
  bool ListingFolder(const AtCommand& command, std::filesystem::path& out) const;

  // Media store.
  void MediaRead(Media media, const AtCommand& command, AtLine& line);
  void MediaWrite(Media media, const AtCommand& command, AtLine& line);
  void Upload(Media media, const std::vector<std::string>& fields, AtLine& line);
  void Photos(const AtCommand& command, AtLine& line);
  std::filesystem::path MediaFolder(Media media) const;
  std::vector<Item> Items(Media media);
  const char* Prefix(Media media, bool write) const;

  std::filesystem::path root_;
  std::filesystem::path current_;  // relative to root_
  SamsungSettings settings_;
  std::function<void(AtLine&)> next_;     // what "##>" goes on with
  std::function<void(AtLine&)> confirm_;  // what ">" confirms
  std::map<std::string, uint32_t> ids_[3];
  uint32_t nextId_ = 1;
};
