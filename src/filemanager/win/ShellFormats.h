// The clipboard formats of the desktop shell that the file manager speaks: virtual files
// (the ANSI file group descriptor and a stream per file) and the receiver's report of what it
// did with a paste.
#pragma once

#include <windows.h>
#include <ole2.h>

struct ShellFormats {
    CLIPFORMAT fileDescriptor;       // "FileGroupDescriptor"
    CLIPFORMAT fileContents;         // "FileContents"
    CLIPFORMAT performedDropEffect;  // "Performed DropEffect"
};

// Registered with the system on the first call; the program makes it at start.
const ShellFormats& TheShellFormats();
