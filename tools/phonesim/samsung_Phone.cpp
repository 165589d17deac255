#include "samsung_Phone.h"

#include <cerrno>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {

bool ParseCount(const std::string& text, uint64_t min, uint64_t max, uint64_t& out) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < min || value > max) return false;
  out = value;
  return true;
}

std::unique_ptr<AtExtension> CreateSamsungPhone(const ExtensionContext& context, AtCommandTable& table) {
  auto phone = std::make_unique<SamsungPhone>(context.root);
  phone->Register(table);
  return phone;
}

const bool registered = RegisterAtExtension("samsung", &CreateSamsungPhone);

}  // namespace

SamsungPhone::SamsungPhone(fs::path root) : root_(std::move(root)) {}

AtHandler SamsungPhone::Command(void (SamsungPhone::*handler)(const AtCommand&, AtLine&)) {
  return [this, handler](const AtCommand& command, AtLine& line) {
    next_ = nullptr;
    confirm_ = nullptr;
    (this->*handler)(command, line);
  };
}

void SamsungPhone::Register(AtCommandTable& table) {
  (void)registered;
  table.Add("$QVSIM", Command(&SamsungPhone::Settings));
  table.AddLine("##>", [this](const AtCommand& c, AtLine& l) { Next(c, l); });
  table.AddLine(">", [this](const AtCommand& c, AtLine& l) { Confirm(c, l); });

  table.Add("+FSIF", Command(&SamsungPhone::FsInfo));
  table.AddLine("/", Command(&SamsungPhone::FsTop));
  table.Add("+FSCD", Command(&SamsungPhone::FsEnter));
  table.Add("+FSDI", Command(&SamsungPhone::FsFolders));
  table.Add("+FSDL", Command(&SamsungPhone::FsFiles));
  table.Add("+FSFE", Command(&SamsungPhone::FsDelete));
  table.Add("+FSFR", Command(&SamsungPhone::FsRead));

  const std::pair<const char*, Media> media[] = {{"+MEL", Media::Sounds}, {"+IMG", Media::Pictures}};
  for (const auto& [prefix, kind] : media) {
    Media m = kind;
    table.Add(std::string(prefix) + "R", [this, m](const AtCommand& c, AtLine& l) {
      next_ = nullptr;
      confirm_ = nullptr;
      MediaRead(m, c, l);
    });
    table.Add(std::string(prefix) + "W", [this, m](const AtCommand& c, AtLine& l) {
      next_ = nullptr;
      confirm_ = nullptr;
      MediaWrite(m, c, l);
    });
  }
  table.Add("+UPLL", Command(&SamsungPhone::Photos));
}

std::vector<std::string> SamsungPhone::Fields(std::string_view args) {
  std::vector<std::string> fields;
  if (!args.empty() && args[0] == '=') args.remove_prefix(1);
  if (args.empty()) return fields;
  std::string field;
  bool quoted = false;
  for (char c : args) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.push_back(field);
      field.clear();
    } else {
      field.push_back(c);
    }
  }
  fields.push_back(field);
  return fields;
}

uint32_t SamsungPhone::Crc32(std::string_view data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

void SamsungPhone::Settings(const AtCommand& command, AtLine& line) {
  std::vector<std::string> f = Fields(command.args);
  if (command.args.empty() || command.args[0] != '=' || f.size() != 2) {
    line.Final("ERROR");
    return;
  }
  const std::string& key = f[0];
  const std::string& value = f[1];
  uint64_t n = 0;
  bool ok = true;
  if (key == "fs" && (value == "0" || value == "1")) {
    settings_.fileSystem = value == "1";
  } else if (key == "page" && ParseCount(value, 1, 10000, n)) {
    settings_.pageRecords = n;
  } else if (key == "block" && ParseCount(value, 1, 65535, n)) {
    settings_.readBlock = n;
  } else if (key == "max-file" && ParseCount(value, 0, UINT32_MAX, n)) {
    settings_.maxFile = n;
  } else if (key == "upload-block" && ParseCount(value, 1, 65535, n)) {
    settings_.uploadBlock = n;
  } else if (key == "memory" && ParseCount(value, 0, UINT32_MAX, n)) {
    settings_.memory = n;
  } else if (key == "limit" && ParseCount(value, 0, UINT32_MAX, n)) {
    settings_.listLimit = n;
  } else if (key == "fault" && (value == "none" || value == "page-silence" || value == "short-block" ||
                                value == "bad-crc" || value == "mute-upload")) {
    settings_.fault = value;
  } else {
    ok = false;
  }
  line.Final(ok ? "OK" : "ERROR");
}

void SamsungPhone::Next(const AtCommand&, AtLine& line) {
  std::function<void(AtLine&)> next = std::move(next_);
  next_ = nullptr;
  confirm_ = nullptr;
  if (next) {
    next(line);
  } else {
    line.Final("ERROR");
  }
}

void SamsungPhone::Confirm(const AtCommand&, AtLine& line) {
  std::function<void(AtLine&)> confirm = std::move(confirm_);
  next_ = nullptr;
  confirm_ = nullptr;
  if (confirm) {
    confirm(line);
  } else {
    line.Final("ERROR");
  }
}

bool SamsungPhone::Resolve(const std::string& name, fs::path& out) const {
  if (name.empty()) return false;
  fs::path relative = current_;
  size_t start = 0;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && name[i] != '/' && name[i] != '\\') continue;
    std::string part = name.substr(start, i - start);
    start = i + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (relative.empty()) return false;
      relative = relative.parent_path();
    } else {
      relative /= part;
    }
  }
  out = root_ / relative;
  return true;
}
