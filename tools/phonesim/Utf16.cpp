#include "Utf16.h"

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUnit(std::string& out, uint32_t unit) {
  out.push_back(static_cast<char>(unit >> 8));
  out.push_back(static_cast<char>(unit & 0xFF));
}

constexpr uint32_t kReplacement = 0xFFFD;

}  // namespace

std::string Utf16BeToUtf8(const uint8_t* data, size_t size) {
  std::string out;
  size_t i = 0;
  while (i + 1 < size) {
    uint32_t unit = (data[i] << 8) | data[i + 1];
    i += 2;
    if (unit == 0) return out;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < size) {
      uint32_t low = (data[i] << 8) | data[i + 1];
      if (low >= 0xDC00 && low < 0xE000) {
        i += 2;
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit);
  }
  if (i < size) AppendUtf8(out, kReplacement);
  return out;
}

std::string Utf8ToUtf16Be(std::string_view text, bool terminator) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    uint8_t lead = static_cast<uint8_t>(text[i]);
    size_t extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    uint32_t cp = extra == 0 ? (lead < 0x80 ? lead : kReplacement) : lead & (0x3F >> extra);
    size_t j = 1;
    for (; j <= extra && i + j < text.size(); ++j) {
      uint8_t next = static_cast<uint8_t>(text[i + j]);
      if ((next & 0xC0) != 0x80) break;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (j <= extra || cp > 0x10FFFF) cp = kReplacement;
    i += j;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      AppendUnit(out, 0xD800 + (cp >> 10));
      AppendUnit(out, 0xDC00 + (cp & 0x3FF));
    } else {
      AppendUnit(out, cp);
    }
  }
  if (terminator) AppendUnit(out, 0);
  return out;
}
