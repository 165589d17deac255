#include "ObexFileStore.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "ObexCodes.h"

namespace fs = std::filesystem;
using namespace obexcode;

namespace {

constexpr size_t kMaxComponent = 255;

bool IsPlainName(const std::string& name) {
  return !name.empty() && name.size() <= kMaxComponent && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

ObexFileStore::ObexFileStore(fs::path root) : root_(std::move(root)) {}

std::string ObexFileStore::CurrentPath() const {
  std::string path = "/";
  for (const std::string& part : current_) path += part + "/";
  return path;
}

bool ObexFileStore::Resolve(const std::string& name, fs::path& out) const {
  std::vector<std::string> parts;
  if (name.empty() || (name[0] != '/' && name[0] != '\\')) parts = current_;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.empty()) return false;
      parts.pop_back();
      continue;
    }
    if (part.size() > kMaxComponent) return false;
    parts.push_back(part);
  }
  out = root_;
  for (const std::string& part : parts) out /= part;
  return true;
}

uint8_t ObexFileStore::SetPath(bool parent, bool create, const std::optional<std::string>& name) {
  std::vector<std::string> next = current_;
  if (parent) {
    if (next.empty()) return kNotFound;
    next.pop_back();
  }
  if (!name || name->empty()) {
    if (!parent) next.clear();
    current_ = next;
    return kSuccess;
  }
  if (!IsPlainName(*name)) return kNotFound;
  fs::path target = root_;
  for (const std::string& part : next) target /= part;
  target /= *name;
  std::error_code ec;
  fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) {
    // entered below
  } else if (fs::exists(status)) {
    return kForbidden;
  } else if (!create) {
    return kNotFound;
  } else if (!fs::create_directory(target, ec)) {
    return kForbidden;
  }
  next.push_back(*name);
  current_ = next;
  return kSuccess;
}

uint8_t ObexFileStore::List(const std::string& sub, std::vector<ListingEntry>& out) const {
  fs::path folder;
  if (!Resolve(sub, folder)) return kNotFound;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return kNotFound;
  out.clear();
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    struct stat st{};
    if (stat(it->path().c_str(), &st) != 0) continue;
    ListingEntry entry;
    entry.name = it->path().filename().string();
    entry.folder = S_ISDIR(st.st_mode);
    entry.size = entry.folder ? 0 : static_cast<uint64_t>(st.st_size);
    entry.modified = st.st_mtime;
    out.push_back(entry);
  }
  std::sort(out.begin(), out.end(), [](const ListingEntry& a, const ListingEntry& b) {
    return a.folder != b.folder ? a.folder : a.name < b.name;
  });
  return ec ? kInternalError : kSuccess;
}

uint8_t ObexFileStore::Read(const std::string& name, std::string& data) const {
  fs::path path;
  std::error_code ec;
  if (!Resolve(name, path) || !fs::is_regular_file(path, ec)) return kNotFound;
  std::ifstream in(path, std::ios::binary);
  if (!in) return kForbidden;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? kInternalError : kSuccess;
}

uint8_t ObexFileStore::Write(const std::string& name, const std::string& data, std::optional<std::time_t> modified,
                             uint64_t memoryFree) {
  fs::path path;
  std::error_code ec;
  if (!Resolve(name, path) || path == root_) return kBadRequest;
  if (!fs::is_directory(path.parent_path(), ec)) return kNotFound;
  if (fs::is_directory(path, ec)) return kForbidden;
  uint64_t replaced = fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0;
  if (data.size() > memoryFree + replaced) return kEntityTooLarge;
  {
    std::ofstream outFile(path, std::ios::binary | std::ios::trunc);
    if (!outFile.write(data.data(), static_cast<std::streamsize>(data.size()))) return kInternalError;
  }
  if (modified) {
    timeval times[2] = {{*modified, 0}, {*modified, 0}};
    utimes(path.c_str(), times);
  }
  return kSuccess;
}

uint8_t ObexFileStore::Remove(const std::string& name) {
  fs::path path;
  std::error_code ec;
  if (!Resolve(name, path) || path == root_) return kForbidden;
  if (!fs::exists(fs::symlink_status(path, ec))) return kNotFound;
  if (fs::is_directory(path, ec) && !fs::is_empty(path, ec)) return kPreconditionFailed;
  return fs::remove(path, ec) ? kSuccess : kForbidden;
}

uint8_t ObexFileStore::CheckTransfer(const std::string& from, const std::string& to, fs::path& source,
                                     fs::path& target) const {
  std::error_code ec;
  if (!Resolve(from, source) || !Resolve(to, target) || source == root_ || target == root_) return kForbidden;
  if (!fs::exists(source, ec)) return kNotFound;
  if (fs::exists(fs::symlink_status(target, ec))) return kForbidden;
  if (!fs::is_directory(target.parent_path(), ec)) return kNotFound;
  // A folder cannot go into itself.
  if (target.string().rfind(source.string() + "/", 0) == 0) return kForbidden;
  return kSuccess;
}

uint8_t ObexFileStore::Move(const std::string& from, const std::string& to) {
  fs::path source;
  fs::path target;
  uint8_t code = CheckTransfer(from, to, source, target);
  if (code != kSuccess) return code;
  std::error_code ec;
  fs::rename(source, target, ec);
  return ec ? kForbidden : kSuccess;
}

uint8_t ObexFileStore::Copy(const std::string& from, const std::string& to) {
  fs::path source;
  fs::path target;
  uint8_t code = CheckTransfer(from, to, source, target);
  if (code != kSuccess) return code;
  std::error_code ec;
  fs::copy(source, target, fs::copy_options::recursive, ec);
  return ec ? kForbidden : kSuccess;
}

uint64_t ObexFileStore::UsedBytes() const {
  uint64_t used = 0;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) used += it->file_size(ec);
  }
  return used;
}
