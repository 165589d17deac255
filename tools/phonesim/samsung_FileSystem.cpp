// The file system commands of the samsung profile (see samsung_Phone.h).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "samsung_Phone.h"

namespace fs = std::filesystem;

namespace {

// Names a record cannot carry: they would end the quoted field or the line.
bool Sendable(const std::string& name) { return name.find_first_of("\"\r\n") == std::string::npos; }

std::time_t ModifiedTime(const fs::path& path) {
  std::error_code ec;
  auto written = fs::last_write_time(path, ec);
  if (ec) return 0;
  auto system = std::chrono::file_clock::to_sys(written);
  return std::chrono::system_clock::to_time_t(system);
}

std::string FileSystemDate(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char text[80];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

// Entries of a folder, by name.
std::vector<fs::directory_entry> Entries(const fs::path& folder) {
  std::vector<fs::directory_entry> entries;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) entries.push_back(entry);
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
  return entries;
}

}  // namespace

void SamsungPhone::FsInfo(const AtCommand& command, AtLine& line) {
  const bool known = command.args == "=0" || command.args.empty();
  line.Final(known && settings_.fileSystem ? "OK" : "ERROR");
}

void SamsungPhone::FsTop(const AtCommand&, AtLine& line) {
  current_.clear();
  line.Final("OK");
}

void SamsungPhone::FsEnter(const AtCommand& command, AtLine& line) {
  std::vector<std::string> f = Fields(command.args);
  fs::path target;
  std::error_code ec;
  // One level per command.
  if (f.size() != 1 || f[0].find_first_of("/\\") != std::string::npos || !Resolve(f[0], target) ||
      !fs::is_directory(target, ec)) {
    line.Final("ERROR");
    return;
  }
  current_ = fs::relative(target, root_, ec);
  if (current_ == ".") current_.clear();
  line.Final("OK");
}

bool SamsungPhone::ListingFolder(const AtCommand& command, fs::path& out) const {
  std::vector<std::string> f = Fields(command.args);
  if (f.size() != 1) return false;
  // "/" names the folder the phone stands in.
  if (f[0] == "/" || f[0].empty()) {
    out = root_ / current_;
  } else if (!Resolve(f[0], out)) {
    return false;
  }
  std::error_code ec;
  return fs::is_directory(out, ec);
}

void SamsungPhone::FsFolders(const AtCommand& command, AtLine& line) {
  fs::path folder;
  if (!ListingFolder(command, folder)) {
    line.Final("ERROR");
    return;
  }
  int number = 0;
  std::error_code ec;
  for (const auto& entry : Entries(folder)) {
    std::string name = entry.path().filename().string();
    if (!entry.is_directory(ec) || !Sendable(name)) continue;
    line.Info("+FSDI: " + std::to_string(++number) + ",\"" + name + "\"");
  }
  line.Final("OK");
}

void SamsungPhone::FsFiles(const AtCommand& command, AtLine& line) {
  fs::path folder;
  if (!ListingFolder(command, folder)) {
    line.Final("ERROR");
    return;
  }
  auto records = std::make_shared<std::vector<std::string>>();
  std::error_code ec;
  for (const auto& entry : Entries(folder)) {
    std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(ec) || !Sendable(name)) continue;
    uint64_t size = entry.file_size(ec);
    records->push_back("+FSDL: " + std::to_string(records->size() + 1) + ",\"" + name + "\",0,0,0,1," +
                       std::to_string(size) + ",0,\"" + FileSystemDate(ModifiedTime(entry.path())) + "\"");
  }
  if (records->empty()) {
    line.Final("OK");
    return;
  }
  SendPage(records, 0, line);
}

void SamsungPhone::SendPage(std::shared_ptr<std::vector<std::string>> records, size_t page, AtLine& line) {
  const size_t per = settings_.pageRecords;
  const size_t pages = (records->size() + per - 1) / per;
  if (page >= pages) {
    line.Final("OK");
    return;
  }
  const size_t first = page * per;
  const size_t end = std::min(records->size(), first + per);
  if (settings_.fault == "page-silence" && page == std::min<size_t>(1, pages - 1)) {
    line.Info((*records)[first]);
    return;  // and nothing more: the PC waits for a marker that never comes
  }
  for (size_t i = first; i < end; ++i) line.Info((*records)[i]);
  line.Info("#OK#");
  next_ = [this, records, page](AtLine& l) { SendPage(records, page + 1, l); };
}

void SamsungPhone::FsDelete(const AtCommand& command, AtLine& line) {
  std::vector<std::string> f = Fields(command.args);
  fs::path file;
  std::error_code ec;
  if (f.size() != 2 || f[0] != "-1" || !Resolve(f[1], file) || !fs::is_regular_file(file, ec) ||
      !fs::remove(file, ec)) {
    line.Final("ERROR");
    return;
  }
  line.Final("OK");
}

void SamsungPhone::FsRead(const AtCommand& command, AtLine& line) {
  std::vector<std::string> f = Fields(command.args);
  fs::path file;
  std::error_code ec;
  if (f.size() != 2 || f[0] != "-1" || !Resolve(f[1], file) || !fs::is_regular_file(file, ec)) {
    line.Final("ERROR");
    return;
  }
  std::ifstream in(file, std::ios::binary);
  auto data = std::make_shared<std::string>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  line.Info("+FSFR: " + std::to_string(data->size()));
  line.Info("#OK#");
  next_ = [this, data](AtLine& l) { SendBlock(data, 0, l); };
}

void SamsungPhone::SendBlock(std::shared_ptr<std::string> data, size_t block, AtLine& line) {
  const size_t per = settings_.readBlock;
  const size_t blocks = (data->size() + per - 1) / per;
  if (block >= blocks) {
    line.Final("OK");
    return;
  }
  const size_t first = block * per;
  const size_t length = std::min(per, data->size() - first);
  std::string header = "\r\n+FSFR:" + std::to_string(length) + "," + std::to_string(block + 1) + ",";
  if (settings_.fault == "short-block" && block == std::min<size_t>(1, blocks - 1)) {
    line.Send(header + data->substr(first, length / 2));
    return;  // the rest of the block never comes
  }
  line.Send(header + data->substr(first, length) + "\r\n#OK#\r\n");
  next_ = [this, data, block](AtLine& l) { SendBlock(data, block + 1, l); };
}
