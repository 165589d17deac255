#pragma once
#include <ctime>
#include <string>

// Files of the folder tree a test phone serves.
void WriteTreeFile(const std::string& path, const std::string& content, std::time_t modified = 0);
std::string ReadTreeFile(const std::string& path);
bool TreeEntryExists(const std::string& path);
