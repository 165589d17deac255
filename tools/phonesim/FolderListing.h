#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "Faults.h"

struct ListingEntry {
  std::string name;  // UTF-8
  bool folder = false;
  uint64_t size = 0;
  std::time_t modified = 0;
};

// The x-obex/folder-listing document of one folder, entries in the order given. A fault
// makes it malformed in the chosen way.
std::string BuildFolderListing(const std::vector<ListingEntry>& entries, bool atRoot, ListingFault fault);

// "YYYYMMDDTHHMMSS" in local time, as phones without a time zone write it.
std::string ObexLocalTime(std::time_t t);
// Parses the Time header ("YYYYMMDDTHHMMSS", optionally with Z for UTC).
bool ParseObexTime(const std::string& text, std::time_t& out);
