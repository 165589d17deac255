// The folder-listing parser on arbitrary text: it must not read or write out of bounds, and
// every entry it makes must be well formed.
#include <cstdlib>
#include <cstring>

#include "obex/OBEX_FTP.h"
#include "obex/Utf8ToAnsi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static OBEX_FTP* obex = new OBEX_FTP;
    obex->listingText.Assign(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    if (!obex->ParseListing())
        std::abort();
    for (ListIterator<FolderObject> it(obex->entries); !it.IsDone(); it.Next()) {
        const FolderObject* e = it.CurrentItem();
        if (e->type != FolderObject::kFile && e->type != FolderObject::kFolder)
            std::abort();
        if (e->name.Length() >= 260 || std::strlen(e->name.CStr()) != e->name.Length())
            std::abort();
        if (e->type == FolderObject::kFolder && e->size != 0)
            std::abort();
    }

    // The decoder alone, into a small buffer: never beyond it, always terminated.
    char small[8];
    std::memset(small, 'X', sizeof small);
    if (Utf8ToAnsi(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size), small,
                   sizeof small) &&
        std::memchr(small, 0, sizeof small) == nullptr)
        std::abort();
    return 0;
}
