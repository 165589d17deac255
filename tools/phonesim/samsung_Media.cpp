// The media store commands of the samsung profile (see samsung_Phone.h).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include "samsung_Phone.h"

namespace fs = std::filesystem;

namespace {

bool Number(const std::string& text, uint64_t& out) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::strtoull(text.c_str(), nullptr, 10);
  return out <= UINT32_MAX;
}

std::string PhotoDate(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char text[80];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min);
  return text;
}

}  // namespace

fs::path SamsungPhone::MediaFolder(Media media) const {
  switch (media) {
    case Media::Sounds: return root_ / "Sounds";
    case Media::Pictures: return root_ / "Pictures";
    case Media::Photos: break;
  }
  return root_ / "Photos";
}

const char* SamsungPhone::Prefix(Media media, bool write) const {
  if (media == Media::Sounds) return write ? "+MELW: " : "+MELR: ";
  return write ? "+IMGW: " : "+IMGR: ";
}

std::vector<SamsungPhone::Item> SamsungPhone::Items(Media media) {
  std::map<std::string, uint32_t>& ids = ids_[static_cast<int>(media)];
  std::vector<Item> items;
  std::set<std::string> present;
  std::vector<std::pair<std::string, fs::path>> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(MediaFolder(media), ec)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file(ec) && name.find_first_of("\"\r\n") == std::string::npos)
      files.emplace_back(name, entry.path());
  }
  std::sort(files.begin(), files.end());
  // Numbers stay with their files, so that a deletion by number never hits another file.
  for (const auto& [name, path] : files) {
    present.insert(name);
    if (!ids.count(name)) ids[name] = nextId_++;
    auto written = fs::last_write_time(path, ec);
    std::time_t modified = ec ? 0 : std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    items.push_back({ids[name], name, fs::file_size(path, ec), modified});
  }
  for (auto it = ids.begin(); it != ids.end();) it = present.count(it->first) ? std::next(it) : ids.erase(it);
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.id < b.id; });
  return items;
}

void SamsungPhone::MediaRead(Media media, const AtCommand& command, AtLine& line) {
  std::vector<Item> items = Items(media);
  if (command.args == "?") {
    uint64_t used = 0;
    for (const Item& item : items) used += item.size;
    line.Info(std::string(Prefix(media, false)) + std::to_string(items.size()) + "," +
              std::to_string(settings_.listLimit) + "," + std::to_string(used) + "," +
              std::to_string(settings_.memory));
    line.Final("OK");
    return;
  }
  std::vector<std::string> f = Fields(command.args);
  uint64_t position = 0;
  if (command.args.empty() || command.args[0] != '=' || f.size() != 1 || !Number(f[0], position) ||
      position == 0 || position > items.size()) {
    line.Final("ERROR");
    return;
  }
  const Item& item = items[position - 1];
  line.Info(std::string(Prefix(media, false)) + std::to_string(item.id) + ",\"" + item.name + "\"," +
            std::to_string(item.size));
  line.Final("OK");
}

void SamsungPhone::MediaWrite(Media media, const AtCommand& command, AtLine& line) {
  if (command.args == "?") {
    line.Info(std::string(Prefix(media, true)) + "1," + std::to_string(settings_.maxFile) + ",0,0," +
              std::to_string(settings_.uploadBlock));
    line.Final("OK");
    return;
  }
  std::vector<std::string> f = Fields(command.args);
  if (command.args.empty() || command.args[0] != '=' || f.size() < 2) {
    line.Final("ERROR");
    return;
  }
  if (f[0] == "0") {
    Upload(media, f, line);
    return;
  }
  uint64_t id = 0;
  if (f[1] != "Del" || !Number(f[0], id)) {
    line.Final("ERROR");
    return;
  }
  for (const Item& item : Items(media)) {
    if (item.id != id) continue;
    fs::path file = MediaFolder(media) / item.name;
    line.Send(">");
    confirm_ = [file](AtLine& l) {
      std::error_code ec;
      l.Final(fs::remove(file, ec) ? "OK" : "ERROR");
    };
    return;
  }
  line.Final("ERROR");
}

void SamsungPhone::Upload(Media media, const std::vector<std::string>& f, AtLine& line) {
  // Sounds: 0,"name",4,size,crc. Pictures: 0,"name",type,0,0,0,0,100,size,crc.
  const size_t sizeAt = media == Media::Sounds ? 3 : 8;
  uint64_t size = 0;
  uint64_t crc = 0;
  const std::string& name = f[1];
  if (f.size() != sizeAt + 2 || !Number(f[sizeAt], size) || !Number(f[sizeAt + 1], crc) || name.empty() ||
      name.find_first_of("/\\") != std::string::npos || name == "." || name == ".." || size > settings_.maxFile) {
    line.Final("ERROR");
    return;
  }
  fs::path file = MediaFolder(media) / name;
  const size_t block = settings_.uploadBlock;
  const std::string fault = settings_.fault;
  auto finish = [file, crc, fault](const std::string& data, AtLine& l) {
    if (fault == "mute-upload") return;
    if (fault == "bad-crc" || Crc32(data) != crc) {
      l.Send("\r\nCRCERR\r\n");
      return;
    }
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary);
    l.Send(out.write(data.data(), static_cast<std::streamsize>(data.size())) ? "\r\nOK\r\n" : "\r\nERROR\r\n");
  };
  if (size == 0) {
    finish(std::string(), line);
    return;
  }
  line.Send(">");
  auto data = std::make_shared<std::string>();
  line.TakeRaw([data, size, block, fault, finish, &line](std::string_view bytes) {
    RawStep step;
    step.used = std::min<size_t>(bytes.size(), size - data->size());
    for (size_t i = 0; i < step.used; ++i) {
      data->push_back(bytes[i]);
      const bool blockEnd = data->size() % block == 0;
      if (data->size() == size) {
        finish(*data, line);
      } else if (blockEnd && !(fault == "mute-upload" && data->size() >= block)) {
        line.Send(">");
      }
    }
    step.done = data->size() == size;
    return step;
  });
}

void SamsungPhone::Photos(const AtCommand& command, AtLine& line) {
  std::error_code ec;
  if (!fs::is_directory(MediaFolder(Media::Photos), ec)) {
    line.Final("ERROR");
    return;
  }
  std::vector<Item> items = Items(Media::Photos);
  if (command.args == "?") {
    line.Info("+UPLL: " + std::to_string(settings_.listLimit) + "," + std::to_string(items.size()));
    line.Final("OK");
  } else if (command.args.empty()) {
    for (const Item& item : items) {
      line.Info("+UPLL: " + std::to_string(item.id) + ",\"" + PhotoDate(item.modified) + "\",\"" + item.name +
                "\"," + std::to_string(item.size));
    }
    line.Final("OK");
  } else {
    line.Final("ERROR");
  }
}
