// Pieces of the Samsung AT replies shared by the file system and the media store.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/GString.h"
#include "obex/FTP.h"

// Cuts text into records, each starting at one occurrence of prefix and running up to the
// next one (the last to the end of the text). Text before the first prefix is dropped.
std::vector<std::string_view> SplitRecords(std::string_view text, std::string_view prefix);

// The text after the first occurrence of marker in text; empty when marker is absent.
GString TextAfter(const GString& text, const char* marker);

// The leading decimal number of text, as C atoi reads it but clamped to 0 ... 2^32 - 1
// (a minus sign gives 0), so that no phone's digits can overflow it.
uint32_t LeadingNumber(const GString& text);

// An unsigned 16- or 32-bit field ('S' / 'L' of GString::ParseValue); 0 when it does not parse.
// FieldS reads count bytes or up to a NUL, whichever comes first.
uint16_t FieldS(const char* bytes, uint32_t count);
uint32_t FieldL(const GString& text);

// A file-system date "YYYY:MM:DD HH:MM:SS"; false (year 0) when the text is shorter than 19
// bytes or its fifth byte is not ':'. Parts that do not parse are 0.
bool ParseFileSystemTime(const GString& text, SystemTime& time);
// A photo date "DD/MM/YYYY HH:MM"; false (year 0) when the text is shorter than 15 bytes or
// its third byte is not '/'.
bool ParsePhotoTime(const GString& text, SystemTime& time);

// A name from the phone (UTF-8) into the ANSI code page; false when it is empty or does not
// fit the 260-byte name buffer.
bool NameFromWire(const GString& utf8, GString& name);

// sizeText := text, size := its leading number, then sizeText grouped in threes.
void SetGroupedSize(FolderObject& entry, const GString& text);

// The PC's local time now, as the media records carry no date.
SystemTime LocalTimeNow();
