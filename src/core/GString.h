// Byte string in the system's ANSI code page (Windows-1251 for the program's own texts).
// The buffer is always exactly length + 1 bytes and NUL-terminated; every change allocates a
// block of the new size. Comparison is byte-wise and case-sensitive.
#pragma once

#include <cstdint>
#include <cstdio>  // names the printf flavour of the C runtime on mingw

class GString {
public:
    GString();
    GString(const char* s);                        // null gives an empty string
    GString(const char* bytes, uint32_t count);    // exactly count bytes, then NUL
    explicit GString(const char16_t* s);           // UTF-16 to ANSI; null gives empty
    explicit GString(char c);                      // one byte; NUL gives empty
    explicit GString(uint32_t value);              // decimal text, see Assign(uint32_t)
    GString(const GString& other);
    GString& operator=(const GString& other);
    GString& operator=(const char* s);
    ~GString();

    void Assign(const char* s);
    void Assign(const char* bytes, uint32_t count);
    void Assign(const GString& s);
    void Assign(const char16_t* s);
    void Assign(const char16_t* s, uint32_t count);  // count UTF-16 units, need no NUL
    // Decimal text, the same in every locale: 1536 gives "1536".
    void Assign(uint32_t value);

    void Append(const GString& s);
    void Append(const char* s);
    void Append(const char* bytes, uint32_t count);
    void Append(int32_t value);   // as Assign(uint32_t), with a leading '-' when negative
    void Append(uint32_t value);
    void Append(char) = delete;   // a byte would silently print as a number: use AppendChar
    void AppendChar(char c);
    GString Concat(const GString& b) const;  // *this + b

    uint32_t Length() const { return length; }
    bool IsEmpty() const { return length == 0; }
    const char* CStr() const { return buffer; }
    // Byte at 0-based index i; i == Length() gives the terminator, any larger i a static NUL.
    const char* At(uint32_t i) const;

    // Exactly the bytes of s; an empty s (or an empty string) never matches.
    bool Equals(const char* s) const;
    bool Equals(const GString& s) const;
    bool NotEquals(const char* s) const { return !Equals(s); }
    bool NotEquals(const GString& s) const { return !Equals(s); }

    // 1-based position of the first occurrence of s; 0 when absent, empty or too long.
    uint32_t Find(const char* s) const;
    // As Find, starting at 1-based position from (0 and 1 both mean the start); the result is
    // relative to from (1 = match exactly at from). from beyond the length gives 0.
    uint32_t FindFrom(const char* s, uint32_t from) const;

    void Trim();     // removes the byte ' ' at both ends
    void ToUpper();  // in place, code-page aware (Cyrillic letters too)

    // printf-style; the result replaces the contents (empty when formatting fails).
    void Format(const char* fmt, ...)
#if defined(__MINGW_PRINTF_FORMAT)
        __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)))  // the C runtime actually used
#elif defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // Parses the whole string as one value of the type named by the letter and stores it in
    // the type's width at out: 'C' u8, 'S' u16, 'I'/'L' u32, 'c' i8, 's' i16, 'i'/'l' i32,
    // 'f' float, 'd' double, 'b' byte 0/1 from true/1/TRUE or false/0/FALSE. Leading and
    // trailing spaces and tabs are allowed; out is untouched on failure.
    bool ParseValue(void* out, char type) const;

private:
    void Replace(char* block, uint32_t newLength);  // takes ownership of block

    uint32_t length;
    char* buffer;
};
