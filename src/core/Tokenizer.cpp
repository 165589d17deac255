#include "core/Tokenizer.h"

Tokenizer::~Tokenizer()
{
    tokens.DeleteAll();
}

void Tokenizer::EndToken(GString& token)
{
    if (*token.At(0) == '"' && token.Length() > 1)
        tokens.Append(new GString(token.CStr() + 1, token.Length() - 2));
    else
        tokens.Append(new GString(token));
    token.Assign("");
}

bool Tokenizer::Split(const GString& text)
{
    tokens.DeleteAll();
    GString token;
    bool quoted = false;
    const char* bytes = text.CStr();
    for (uint32_t i = 0; i < text.Length(); ++i) {
        const char c = bytes[i];
        if (c != separator) {
            if (c == '"' && token.IsEmpty())
                quoted = true;
            token.AppendChar(c);
        } else if (token.IsEmpty()) {
            continue;
        } else if (!quoted || bytes[i - 1] == '"') {
            EndToken(token);
            quoted = false;
        } else {
            token.AppendChar(c);
        }
    }
    if (!token.IsEmpty())
        EndToken(token);
    return tokens.Count() > 0;
}

const GString& Tokenizer::Token(uint32_t i)
{
    if (i >= 1 && i <= tokens.Count())
        scratch = *tokens.Get(i - 1);
    else
        scratch = "";
    return scratch;
}
