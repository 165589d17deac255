// The x-obex/folder-listing parser. Not an XML parser: elements are found by text search and
// attributes by substring match, accepting exactly the shapes phones send; only the
// references in attribute values are decoded.
#include <cstring>
#include <string>
#include <string_view>

#include "core/ByteFormat.h"
#include "core/MessageReporter.h"
#include "obex/OBEX_FTP.h"
#include "obex/Utf8ToAnsi.h"
#include "obex/XmlReferences.h"

namespace {
// The Win32 code for a name that does not fit its buffer, which is what a failed name
// conversion amounts to.
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kNoLimit = 0xFFFFFFFFu;

std::string_view View(const GString& s)
{
    return std::string_view(s.CStr(), s.Length());
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading decimal number as the C library reads it, but unsigned: a sign '-' gives 0
// and a number beyond 32 bits stops at 0xFFFFFFFF.
uint32_t LeadingNumber(const char* s, uint32_t length)
{
    uint32_t i = 0;
    while (i < length && IsSpace(s[i]))
        ++i;
    if (i < length && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            return 0;
        ++i;
    }
    uint64_t value = 0;
    for (; i < length && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint32_t>(s[i] - '0');
        if (value > 0xFFFFFFFFull)
            return 0xFFFFFFFFu;
    }
    return static_cast<uint32_t>(value);
}
}  // namespace

void OBEX_FTP::ParseListingTime(SystemTime& time, const char* text, uint32_t length)
{
    if (text == nullptr || length == 0)
        return;
    const uint32_t d = LeadingNumber(text, length);
    time.year = static_cast<uint16_t>(d / 10000);
    time.month = static_cast<uint16_t>(d % 10000 / 100);
    time.day = static_cast<uint16_t>(d % 100);
    const uint32_t t = length > 9 ? LeadingNumber(text + 9, length - 9) : 0;
    time.hour = static_cast<uint16_t>(t / 10000);
    time.minute = static_cast<uint16_t>(t % 10000 / 100);
    time.second = static_cast<uint16_t>(t % 100);
    time.dayOfWeek = 0;
    time.milliseconds = 0;
}

bool OBEX_FTP::NextElement()
{
    const std::string_view text = View(listingText);
    for (;;) {
        const size_t from = parsePos > 0 ? parsePos - 1 : 0;
        if (from >= text.size())
            return false;
        const size_t open = text.find('<', from);
        if (open == std::string_view::npos)
            return false;
        const size_t nameStart = open + 1;
        size_t nameEnd = text.find(' ', nameStart);
        if (nameEnd == std::string_view::npos)
            nameEnd = text.size();
        const std::string_view name = text.substr(nameStart, nameEnd - nameStart);
        if (name == "folder" || name == "file" || name == "parent-folder") {
            tagName.Assign(name.data(), static_cast<uint32_t>(name.size()));
            // Once a search for "/>" failed, every later one (they start further on) fails too.
            size_t close = std::string_view::npos;
            if (noCloseFrom == kNoLimit || open < noCloseFrom) {
                close = text.find("/>", open);
                if (close == std::string_view::npos)
                    noCloseFrom = static_cast<uint32_t>(open);
            }
            if (close != std::string_view::npos) {
                element.Assign(text.data() + nameStart,
                               static_cast<uint32_t>(close + 2 - nameStart));
                parsePos = static_cast<uint32_t>(close + 1) + 1;  // the '>' of "/>"
                return true;
            }
        }
        parsePos = static_cast<uint32_t>(nameEnd) + 1;
    }
}

bool OBEX_FTP::ReadAttribute(const char* name)
{
    const std::string_view text = View(element);
    // name + '=' + '"', or name + " =" + '"'; attribute names here are short words.
    char pattern[32];
    const size_t n = std::strlen(name);
    if (n + 3 > sizeof pattern)
        return false;
    std::memcpy(pattern, name, n);
    std::memcpy(pattern + n, "=\"", 2);
    size_t patternLength = n + 2;
    size_t at = text.find(std::string_view(pattern, patternLength));
    if (at == std::string_view::npos) {
        std::memcpy(pattern + n, " =\"", 3);
        patternLength = n + 3;
        at = text.find(std::string_view(pattern, patternLength));
        if (at == std::string_view::npos)
            return false;
    }
    const size_t start = at + patternLength;
    size_t end = text.find('"', start);
    if (end == std::string_view::npos)
        end = text.size();
    const std::string_view value = text.substr(start, end - start);
    if (value.find('&') == std::string_view::npos) {
        attributeValue.Assign(value.data(), static_cast<uint32_t>(value.size()));
    } else {
        // Listings escape & < > " in names; the phone knows the file by the plain name.
        const std::string plain = DecodeXmlReferences(value);
        attributeValue.Assign(plain.data(), static_cast<uint32_t>(plain.size()));
    }
    return true;
}

bool OBEX_FTP::ParseListing()
{
    entries.DeleteAll();
    parsePos = 1;
    noCloseFrom = kNoLimit;
    bool reported = false;
    while (NextElement()) {
        const bool isFile = tagName.Equals("file");
        if (!isFile && !tagName.Equals("folder"))
            continue;
        auto* entry = new FolderObject;
        const bool hasName = ReadAttribute("name");
        if (hasName && Utf8ToAnsi(attributeValue.CStr(), attributeValue.Length(), byteName,
                                  sizeof byteName)) {
            entry->name = byteName;
        } else {
            if (hasName && !reported) {
                // Once per listing: a phone full of such names must not bury the user in boxes.
                reported = true;
                Reporter().Report(MessageKind::SystemError, kErrorInsufficientBuffer);
            }
            entry->name = isFile ? "?.?" : "[ERROR]";
        }
        if (ReadAttribute("modified") || ReadAttribute("created"))
            ParseListingTime(entry->time, attributeValue.CStr(), attributeValue.Length());
        if (isFile) {
            if (ReadAttribute("size")) {
                entry->sizeText = attributeValue;
                entry->size = LeadingNumber(attributeValue.CStr(), attributeValue.Length());
                GroupDigits(entry->sizeText);
            }
            entry->type = FolderObject::kFile;
            entry->SetExtensionFromName();
        } else {
            entry->sizeText = "Папка";
            entry->type = FolderObject::kFolder;
        }
        entries.Append(entry);
    }
    return true;
}
