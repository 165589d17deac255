#include "core/Tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Tokenizer, Split)
{
    const struct {
        const char* input;
        std::vector<std::string> tokens;
        bool result;
    } cases[] = {
        {"\"a,b\",12", {"a,b", "12"}, true},
        {"1,,2", {"1", "2"}, true},
        {"x \"a,b\"", {"x \"a", "b\""}, true},
        {"", {}, false},
        {",,", {}, false},
        {",a,", {"a"}, true},
        {"\"\",x", {"", "x"}, true},           // a pair of quotes is an empty field
        {"\"", {"\""}, true},                 // a lone quote stays as it is
        {"\"abc", {"ab"}, true},              // unterminated: first and last byte dropped
        {"\"a,\"b\",c", {"a,\"b", "c"}, true},  // only a quote right before the comma closes
        {"a\"b,c", {"a\"b", "c"}, true},
        {"+FSDI: 0,\"Фото\",\"12\"", {"+FSDI: 0", "Фото", "12"}, true},
    };
    for (const auto& c : cases) {
        Tokenizer t;
        EXPECT_EQ(t.Split(c.input), c.result) << c.input;
        ASSERT_EQ(t.Count(), c.tokens.size()) << c.input;
        for (uint32_t i = 0; i < c.tokens.size(); ++i)
            EXPECT_EQ(std::string(t.Token(i + 1).CStr()), c.tokens[i]) << c.input << " #" << i + 1;
    }
}

TEST(Tokenizer, TokenOutOfRangeAndResplit)
{
    Tokenizer t;
    ASSERT_TRUE(t.Split("a,b"));
    EXPECT_EQ(t.Token(0).Length(), 0u);
    EXPECT_EQ(t.Token(3).Length(), 0u);
    EXPECT_TRUE(t.Token(2).Equals("b"));
    EXPECT_TRUE(t.Split("c"));
    EXPECT_EQ(t.Count(), 1u);
    EXPECT_TRUE(t.Token(1).Equals("c"));
    EXPECT_FALSE(t.Split(""));
    EXPECT_EQ(t.Count(), 0u);
}

}  // namespace
