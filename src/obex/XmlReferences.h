// The references an XML attribute value may hold, as folder listings write names.
#pragma once

#include <string>
#include <string_view>

// Decodes the five predefined entities (&amp; &lt; &gt; &quot; &apos;) and numeric character
// references, decimal (&#38;) and hexadecimal (&#x26;), into UTF-8. A '&' that starts no
// complete reference, or one naming no character, stays as it is: some servers write names
// unescaped.
std::string DecodeXmlReferences(std::string_view text);
