// Conversions between the system's ANSI code page and UTF-16, and ANSI upper-casing.
// Windows uses the system code page (CP_ACP); the native build has a fixed Windows-1251 table.
//
// The counted forms behave like MultiByteToWideChar / WideCharToMultiByte:
// - n is the number of input units; n < 0 means the input is NUL-terminated, and the
//   terminator is converted too (so it counts in the result).
// - With out null or outCap 0 nothing is written and the answer is the number of output
//   units the conversion needs.
// - Otherwise the answer is the number of units written; 0 when the input is empty or null,
//   when the conversion fails, or when outCap is too small (then out holds no useful text).
// - A UTF-16 unit with no ANSI byte becomes '?' (one per unit); the conversion still succeeds
//   and *usedDefault (when given) is set to true. The native table does no best-fit mapping.
// No terminator is appended beyond what the input holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

int AnsiToUtf16(const char* s, int n, char16_t* out, int outCap);
int Utf16ToAnsi(const char16_t* s, int n, char* out, int outCap, bool* usedDefault = nullptr);

// Whole-string forms (no terminator in the result).
std::u16string AnsiToUtf16(std::string_view s);
std::string Utf16ToAnsi(std::u16string_view s, bool* usedDefault = nullptr);

// Upper-cases n bytes in place, as CharUpperBuffA does (Cyrillic letters included).
void AnsiUpper(char* s, uint32_t n);
