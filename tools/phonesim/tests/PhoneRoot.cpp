#include "PhoneRoot.h"

#include <sys/time.h>

#include <filesystem>
#include <fstream>
#include <iterator>

void WriteTreeFile(const std::string& path, const std::string& content, std::time_t modified) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
  if (modified != 0) {
    timeval times[2] = {{modified, 0}, {modified, 0}};
    utimes(path.c_str(), times);
  }
}

std::string ReadTreeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TreeEntryExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}
