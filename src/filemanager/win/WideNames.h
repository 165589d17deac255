// Desktop names as the program keeps them: in the system's ANSI code page. The shell and the
// file system hold them as UTF-16; a character the code page lacks must never turn into a
// look-alike ("é" into "e"), or the name would find another file. It becomes '?' instead,
// which the upload refuses and reports.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/GString.h"

// The ANSI form of length UTF-16 units (-1: up to the terminating zero).
GString AnsiName(const wchar_t* wide, int length = -1);

// The paths of a dropped or pasted file list (CF_HDROP, wide or ANSI), in order, each in full.
std::vector<GString> DroppedPaths(HDROP files);
