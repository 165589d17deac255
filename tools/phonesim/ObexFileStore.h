#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FolderListing.h"

// The phone's memory: a folder tree on disk with a current folder. Names are UTF-8, may
// carry a relative path ('/' or '\' separated; a leading separator starts at the top) and
// never reach outside the tree. Operations answer an OBEX response code.
class ObexFileStore {
 public:
  explicit ObexFileStore(std::filesystem::path root);

  // SETPATH: parent first goes up one level; then a name enters (or creates) a folder,
  // no name without parent goes to the top.
  uint8_t SetPath(bool parent, bool create, const std::optional<std::string>& name);
  // Entries of the current folder, or of the subfolder `sub` of it: folders first, by name.
  uint8_t List(const std::string& sub, std::vector<ListingEntry>& out) const;
  uint8_t Read(const std::string& name, std::string& data) const;
  // Writes a whole file; refuses it when it does not fit in `memoryFree` (the file it
  // replaces counts as free).
  uint8_t Write(const std::string& name, const std::string& data, std::optional<std::time_t> modified,
                uint64_t memoryFree);
  // A file or an empty folder.
  uint8_t Remove(const std::string& name);
  uint8_t Move(const std::string& from, const std::string& to);
  uint8_t Copy(const std::string& from, const std::string& to);

  uint64_t UsedBytes() const;
  bool AtRoot() const { return current_.empty(); }
  std::string CurrentPath() const;

 private:
  bool Resolve(const std::string& name, std::filesystem::path& out) const;
  // Both names resolved, the source there, the target free and its folder there.
  uint8_t CheckTransfer(const std::string& from, const std::string& to, std::filesystem::path& source,
                        std::filesystem::path& target) const;

  std::filesystem::path root_;
  std::vector<std::string> current_;
};
