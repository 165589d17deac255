#include "SampleTree.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

SampleTree::~SampleTree() {
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove_all(path_, ec);
}

bool SampleTree::Create(std::string& error) {
  fs::path base = fs::temp_directory_path() / "phonesim-XXXXXX";
  std::string pattern = base.string();
  if (!mkdtemp(pattern.data())) {
    error = "mkdtemp: " + std::string(std::strerror(errno));
    return false;
  }
  path_ = pattern;
  const std::pair<const char*, std::string> files[] = {
      {"Pictures/photo.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(3000, '\x5A')},
      {"Sounds/ring.mid", "MThd" + std::string(600, '\x01')},
      {"Документы/заметка.txt", "Заметка на телефоне.\r\n"},
      {"readme.txt", "Simulated phone memory.\r\n"},
  };
  std::error_code ec;
  for (const auto& [name, content] : files) {
    fs::path file = fs::path(path_) / name;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary);
    if (!out.write(content.data(), static_cast<std::streamsize>(content.size()))) {
      error = "cannot write " + file.string();
      return false;
    }
  }
  return true;
}
