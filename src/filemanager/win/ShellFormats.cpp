#include "filemanager/win/ShellFormats.h"

#include <shlobj.h>

#include <cstddef>

#include "filemanager/FileDescriptors.h"

// The descriptor block is built as bytes; they must lie where the shell's records have them.
static_assert(sizeof(FILEDESCRIPTORA) == file_descriptor::kRecordSize);
static_assert(offsetof(FILEGROUPDESCRIPTORA, fgd) == file_descriptor::kCountSize);
static_assert(offsetof(FILEDESCRIPTORA, dwFileAttributes) == file_descriptor::kAttributesAt);
static_assert(offsetof(FILEDESCRIPTORA, ftLastWriteTime) == file_descriptor::kWriteTimeAt);
static_assert(offsetof(FILEDESCRIPTORA, nFileSizeHigh) == file_descriptor::kSizeHighAt);
static_assert(offsetof(FILEDESCRIPTORA, nFileSizeLow) == file_descriptor::kSizeLowAt);
static_assert(offsetof(FILEDESCRIPTORA, cFileName) == file_descriptor::kNameAt);
static_assert(FD_ATTRIBUTES == file_descriptor::kHasAttributes && FD_WRITESTIME == file_descriptor::kHasWriteTime &&
              FD_FILESIZE == file_descriptor::kHasFileSize);

const ShellFormats& TheShellFormats()
{
    static const ShellFormats formats{
        static_cast<CLIPFORMAT>(RegisterClipboardFormatA("FileGroupDescriptor")),
        static_cast<CLIPFORMAT>(RegisterClipboardFormatA("FileContents")),
        static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Performed DropEffect")),
    };
    return formats;
}
