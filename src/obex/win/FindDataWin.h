// The local-file record of an upload from what FindFirstFileA reports.
#pragma once

#include <windows.h>

#include "obex/FTP.h"

void CopyFindData(const WIN32_FIND_DATAA& found, FindData& out);
// Looks the file up; false (info untouched but its path) when it does not exist.
bool FileInformationFromPath(const char* path, FileInformation& info);
