#include "FolderListing.h"

#include <cstdio>

namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::string ObexLocalTime(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}

bool ParseObexTime(const std::string& text, std::time_t& out) {
  std::tm tm{};
  char t = 0;
  int used = 0;
  if (std::sscanf(text.c_str(), "%4d%2d%2d%c%2d%2d%2d%n", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &t, &tm.tm_hour,
                  &tm.tm_min, &tm.tm_sec, &used) != 7 ||
      t != 'T' || used != 15) {
    return false;
  }
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  tm.tm_isdst = -1;
  bool utc = text.size() > 15 && text[15] == 'Z';
  out = utc ? timegm(&tm) : mktime(&tm);
  return out != static_cast<std::time_t>(-1);
}

std::string BuildFolderListing(const std::vector<ListingEntry>& entries, bool atRoot, ListingFault fault) {
  if (fault == ListingFault::Empty) return {};
  const char* afterName = fault == ListingFault::NoSpace ? "\n" : " ";
  const char q = fault == ListingFault::SingleQuotes ? '\'' : '"';
  auto attribute = [&](const char* name, const std::string& value) {
    return std::string(name) + "=" + q + value + q;
  };
  std::string xml =
      "<?xml version=\"1.0\"?>\r\n"
      "<!DOCTYPE folder-listing SYSTEM \"obex-folder-listing.dtd\">\r\n"
      "<folder-listing version=\"1.0\">\r\n";
  if (!atRoot) xml += "  <parent-folder/>\r\n";
  for (const ListingEntry& e : entries) {
    std::string name = fault == ListingFault::RawNames ? e.name : Escape(e.name);
    xml += std::string("  <") + (e.folder ? "folder" : "file") + afterName + attribute("name", name);
    if (!e.folder) xml += " " + attribute("size", std::to_string(e.size));
    xml += " " + attribute("modified", ObexLocalTime(e.modified));
    xml += " " + attribute("user-perm", "RWD") + "/>\r\n";
  }
  xml += "</folder-listing>\r\n";
  if (fault == ListingFault::Truncated) xml.resize(xml.size() / 2);
  return xml;
}
