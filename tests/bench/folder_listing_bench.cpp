// The folder-listing parser on listings of 1 000 and 10 000 entries: time (best of several
// runs) and the peak heap the parse takes, to show that both grow linearly.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "obex/OBEX_FTP.h"

namespace {

std::atomic<size_t> current{0};
std::atomic<size_t> peak{0};

void Count(size_t add)
{
    const size_t now = current.fetch_add(add) + add;
    size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
}

void* Allocate(size_t size)
{
    void* block = std::malloc(size + 16);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    Count(size);
    return static_cast<char*>(block) + 16;
}

void Release(void* p)
{
    if (p == nullptr)
        return;
    void* block = static_cast<char*>(p) - 16;
    current.fetch_sub(*static_cast<size_t*>(block));
    std::free(block);
}

}  // namespace

// Every block from new (the strings' buffers included) carries its size in front, so that
// delete can subtract it.
void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

namespace {

// A listing as obexftpd writes it, with every fourth name in Cyrillic and every tenth
// entry a folder.
std::string MakeListing(int entries)
{
    std::string text =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE folder-listing SYSTEM \"obex-folder-listing.dtd\">\n"
        "<folder-listing version=\"1.0\">\n";
    char line[512];
    for (int i = 0; i < entries; ++i) {
        const char* stem = i % 4 == 0 ? "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE" : "picture";
        if (i % 10 == 9)
            std::snprintf(line, sizeof line,
                          "<folder name=\"%s_%05d\" size=\"4096\" user-perm=\"RWD\" "
                          "modified=\"20070315T142501Z\" created=\"20070315T142501Z\" />\n",
                          stem, i);
        else
            std::snprintf(line, sizeof line,
                          "<file name=\"%s_%05d.jpg\" size=\"%d\" user-perm=\"RWD\" "
                          "modified=\"20070315T142501Z\" created=\"20070315T142501Z\" />\n",
                          stem, i, 1000 + i * 37);
        text += line;
    }
    return text + "</folder-listing>\n";
}

struct Figures {
    double ms;
    size_t peakBytes;
    size_t bytes;
};

// Each sample parses the listing enough times to cover about 10 000 entries, so that both
// sizes are timed over the same amount of work; the best of the samples counts.
Figures Measure(int entries)
{
    const std::string text = MakeListing(entries);
    auto* obex = new OBEX_FTP;
    obex->listingText.Assign(text.data(), static_cast<uint32_t>(text.size()));
    Figures f{1e300, 0, text.size()};
    const int repeats = 10000 / entries;
    for (int run = 0; run < 7; ++run) {
        double ms = 0;
        for (int r = 0; r < repeats; ++r) {
            obex->entries.DeleteAll();
            const size_t base = current.load();
            peak.store(base);
            const auto start = std::chrono::steady_clock::now();
            obex->ParseListing();
            const auto end = std::chrono::steady_clock::now();
            ms += std::chrono::duration<double, std::milli>(end - start).count();
            f.peakBytes = peak.load() - base;
        }
        ms /= repeats;
        if (ms < f.ms)
            f.ms = ms;
        if (obex->entries.Count() != static_cast<uint32_t>(entries))
            std::printf("entry count wrong: %u\n", obex->entries.Count());
    }
    delete obex;
    return f;
}

}  // namespace

int main()
{
    const Figures small = Measure(1000);
    const Figures large = Measure(10000);
    for (const auto& [n, f] : {std::pair<int, Figures>{1000, small}, {10000, large}})
        std::printf("listing parser, %5d entries (%7zu bytes): %8.2f ms, peak heap %8zu bytes "
                    "(%zu per entry)\n",
                    n, f.bytes, f.ms, f.peakBytes, f.peakBytes / static_cast<size_t>(n));
    std::printf("listing parser growth for 10x entries: time x%.1f, peak heap x%.1f "
                "(linear: at most x12)\n",
                large.ms / small.ms, static_cast<double>(large.peakBytes) / small.peakBytes);
    return 0;
}
