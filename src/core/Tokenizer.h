// Splits the comma-separated fields of an AT reply. Empty fields are skipped, so the tokens
// keep consecutive numbers; a field that starts with a double quote may hold commas, and its
// surrounding quotes are removed.
#pragma once

#include "core/GString.h"
#include "core/List.h"

#include <cstdint>

class Tokenizer {
public:
    Tokenizer() = default;
    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;
    ~Tokenizer();

    // Replaces the tokens by those of text; true when there is at least one.
    bool Split(const GString& text);
    // The i-th token, 1-based, or an empty string when i is out of range. The string is the
    // tokenizer's own and is overwritten by the next call.
    const GString& Token(uint32_t i);
    uint32_t Count() const { return tokens.Count(); }

private:
    void EndToken(GString& token);

    char separator = ',';
    List<GString> tokens;  // owned
    GString scratch;
};
