// Paths read by character: in the run with code page 932 the second byte of
// 表 (95 5C), ソ (83 5C) and ポ (83 7C) is never a separator or a bar; on
// single-byte code pages every byte is a character, as always.
#include <string>

#include <gtest/gtest.h>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/Platform.h"

namespace
{

constexpr std::size_t kNone = std::string::npos;

struct AnsiPathCase
{
    const char* path;
    int codePage; // 0: every code page; 932: Japanese; 1252: single-byte
    char last;
    std::size_t lastSeparator;
    std::size_t forbidden; // the first of * ? | / < > "
    const char* withSeparator;
};

TEST(AnsiPath, ReadsThePathByCharacter)
{
    const int codePage = qel::IsLeadByte('\x95') ? 932 : 1252;
    const AnsiPathCase rows[] = {
        {"C:\\a\\b", 0, 'b', 4, kNone, "C:\\a\\b\\"},
        {"C:\\a|b/", 0, '/', 6, 4, "C:\\a|b/"},
        {"", 0, '\0', kNone, kNone, ""},
        {"C:\\dirs\\\x95\x5C", 932, '\0', 7, kNone, "C:\\dirs\\\x95\x5C\\"},
        {"C:\\dirs\\\x95\x5C", 1252, '\\', 9, kNone, "C:\\dirs\\\x95\x5C"},
        {"C:\\\x83\x7C\x83\x93\x83\x76|", 932, '|', 2, 9, "C:\\\x83\x7C\x83\x93\x83\x76|\\"},
        {"C:\\\x95", 932, '\x95', 2, kNone, "C:\\\x95\\"}, // a first byte alone at the end
    };
    for (const AnsiPathCase& row : rows)
    {
        if (row.codePage != 0 && row.codePage != codePage)
            continue;
        SCOPED_TRACE(row.path);
        EXPECT_EQ(row.last, qel::LastCharacter(row.path));
        EXPECT_EQ(row.lastSeparator, qel::FindLastSeparator(row.path));
        EXPECT_EQ(row.forbidden, qel::FindCharacterOf(row.path, "*?|/<>\""));
        char buffer[qel::kPathBufferSize];
        qel::CopyBounded(buffer, sizeof(buffer), row.path);
        qel::AppendSeparatorIfMissing(buffer, sizeof(buffer));
        std::string text = row.path;
        qel::AppendSeparatorIfMissing(text);
        EXPECT_STREQ(row.withSeparator, buffer);
        EXPECT_EQ(row.withSeparator, text);
    }
}

} // namespace
