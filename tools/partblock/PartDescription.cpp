#include "tools/partblock/PartDescription.h"

#include <cstdint>
#include <limits>
#include <sstream>
#include <vector>

#include "tools/partblock/TextEscapes.h"

namespace qel::test
{

namespace
{

// attr-long values beyond this are certainly a typo in the description.
constexpr uint32_t kMaxLongValueCount = 1000000;

const char* const kBlanks = " \t";

std::string Trim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return std::string();
    std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitBlanks(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream stream(text);
    std::string word;
    while (stream >> word)
        words.push_back(word);
    return words;
}

// Decimal or 0x-prefixed hexadecimal, within [minimum, maximum].
bool ParseNumber(const std::string& word, int64_t minimum, int64_t maximum, int64_t& number)
{
    bool negative = !word.empty() && word[0] == '-';
    std::string digits = negative ? word.substr(1) : word;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    {
        base = 16;
        digits = digits.substr(2);
    }
    if (digits.empty() || digits.size() > 10)
        return false;
    int64_t value = 0;
    for (char c : digits)
    {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        value = value * base + digit;
    }
    number = negative ? -value : value;
    return number >= minimum && number <= maximum;
}

bool ParseUnsigned(const std::string& word, uint32_t& number)
{
    int64_t value = 0;
    if (!ParseNumber(word, 0, std::numeric_limits<uint32_t>::max(), value))
        return false;
    number = static_cast<uint32_t>(value);
    return true;
}

bool ParseHexPayload(const std::string& text, std::vector<uint8_t>& payload)
{
    std::string digits;
    for (char c : text)
    {
        if (c != ' ' && c != '\t')
            digits += c;
    }
    if (digits.size() % 2 != 0)
        return false;
    payload.clear();
    for (std::size_t i = 0; i < digits.size(); i += 2)
    {
        int64_t byte = 0;
        if (!ParseNumber("0x" + digits.substr(i, 2), 0, 255, byte))
            return false;
        payload.push_back(static_cast<uint8_t>(byte));
    }
    return true;
}

// Applies one statement; false with the reason (without line number) on error.
class CStatementParser
{
public:
    explicit CStatementParser(CPartBlockBuilder& builder) : m_builder(builder) {}

    bool Apply(const std::string& keyword, const std::string& rest, std::string& error)
    {
        if (keyword == "attr")
            return Attr(rest, error);
        if (keyword == "attr-long")
            return AttrLong(rest, error);
        if (keyword == "item")
            return Item(rest, error);
        if (keyword == "format")
            return Format(rest, error);
        if (keyword == "total-size" || keyword == "item-count" || keyword == "truncate" ||
            keyword == "next-payload-length")
            return SingleNumber(keyword, rest, error);
        error = "unknown statement '" + keyword + "'";
        return false;
    }

private:
    // Splits "NAME = RIGHT" at the first '='; the name is unescaped.
    static bool SplitAssignment(const std::string& rest, const std::string& keyword,
                                std::string& name, std::string& right, std::string& error)
    {
        std::size_t equals = rest.find('=');
        if (equals == std::string::npos)
        {
            error = keyword + " needs NAME = VALUE";
            return false;
        }
        right = Trim(rest.substr(equals + 1));
        if (!UnescapeText(Trim(rest.substr(0, equals)), name, error))
        {
            error = "name: " + error;
            return false;
        }
        return true;
    }

    bool Attr(const std::string& rest, std::string& error)
    {
        std::string name;
        std::string right;
        std::string value;
        if (!SplitAssignment(rest, "attr", name, right, error))
            return false;
        if (!UnescapeText(right, value, error))
        {
            error = "value: " + error;
            return false;
        }
        m_builder.AddAttribute(name, value);
        return true;
    }

    bool AttrLong(const std::string& rest, std::string& error)
    {
        std::string name;
        std::string right;
        if (!SplitAssignment(rest, "attr-long", name, right, error))
            return false;
        std::vector<std::string> words = SplitBlanks(right);
        std::string character;
        int64_t count = 0;
        if (words.size() != 3 || words[1] != "x" || !UnescapeText(words[0], character, error) ||
            character.size() != 1 || !ParseNumber(words[2], 0, kMaxLongValueCount, count))
        {
            error = "attr-long needs NAME = CHAR x COUNT (one character, COUNT up to " +
                    std::to_string(kMaxLongValueCount) + ")";
            return false;
        }
        m_builder.AddAttribute(name, std::string(static_cast<std::size_t>(count), character[0]));
        return true;
    }

    bool Item(const std::string& rest, std::string& error)
    {
        std::string codeWord = rest.substr(0, rest.find_first_of(kBlanks));
        std::string hex = codeWord.size() < rest.size() ? rest.substr(codeWord.size()) : "";
        int64_t code = 0;
        if (!ParseNumber(codeWord, std::numeric_limits<int16_t>::min(),
                         std::numeric_limits<int16_t>::max(), code))
        {
            error = "item needs a code from -32768 to 32767, not '" + codeWord + "'";
            return false;
        }
        std::vector<uint8_t> payload;
        if (!ParseHexPayload(hex, payload))
        {
            error = "item payload must be pairs of hex digits";
            return false;
        }
        m_builder.AddItem(static_cast<int16_t>(code), payload);
        return true;
    }

    bool Format(const std::string& rest, std::string& error)
    {
        std::vector<std::string> words = SplitBlanks(rest);
        uint32_t w[4] = {};
        bool valid = words.size() == 4;
        for (std::size_t i = 0; valid && i < 4; ++i)
            valid = ParseUnsigned(words[i], w[i]);
        if (!valid)
        {
            error = "format needs four numbers";
            return false;
        }
        m_builder.SetFormatWords(w[0], w[1], w[2], w[3]);
        return true;
    }

    bool SingleNumber(const std::string& keyword, const std::string& rest, std::string& error)
    {
        std::vector<std::string> words = SplitBlanks(rest);
        uint32_t number = 0;
        if (words.size() != 1 || !ParseUnsigned(words[0], number))
        {
            error = keyword + " needs one number from 0 to 4294967295";
            return false;
        }
        if (keyword == "total-size")
            m_builder.OverrideTotalSize(number);
        else if (keyword == "item-count")
            m_builder.OverrideItemCount(number);
        else if (keyword == "truncate")
            m_builder.TruncateTo(number);
        else
            m_builder.OverrideNextPayloadLength(number);
        return true;
    }

    CPartBlockBuilder& m_builder;
};

} // namespace

bool ParsePartDescription(const std::string& text, CPartBlockBuilder& builder, std::string& error)
{
    CStatementParser parser(builder);
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string statement = Trim(line);
        if (statement.empty() || statement[0] == '#')
            continue;
        std::size_t keywordEnd = statement.find_first_of(kBlanks);
        std::string keyword = statement.substr(0, keywordEnd);
        std::string rest =
            keywordEnd == std::string::npos ? "" : Trim(statement.substr(keywordEnd));
        std::string reason;
        if (!parser.Apply(keyword, rest, reason))
        {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    return true;
}

} // namespace qel::test
