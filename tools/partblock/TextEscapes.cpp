#include "tools/partblock/TextEscapes.h"

#include <cstdio>

namespace qel::test
{

namespace
{

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool UnescapeText(const std::string& text, std::string& result, std::string& error)
{
    result.clear();
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\')
        {
            result += text[i];
            continue;
        }
        if (i + 1 == text.size())
        {
            error = "backslash at the end of the text";
            return false;
        }
        char kind = text[++i];
        switch (kind)
        {
        case 'n':
            result += '\n';
            break;
        case 't':
            result += '\t';
            break;
        case 'r':
            result += '\r';
            break;
        case '\\':
            result += '\\';
            break;
        case 'x':
        {
            int high = i + 1 < text.size() ? HexDigitValue(text[i + 1]) : -1;
            int low = i + 2 < text.size() ? HexDigitValue(text[i + 2]) : -1;
            if (high < 0 || low < 0)
            {
                error = "\\x needs two hex digits";
                return false;
            }
            result += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + kind;
            return false;
        }
    }
    return true;
}

std::string EscapeText(const std::string& text)
{
    std::string result;
    for (char c : text)
    {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\n')
            result += "\\n";
        else if (c == '\t')
            result += "\\t";
        else if (c == '\r')
            result += "\\r";
        else if (c == '\\')
            result += "\\\\";
        else if (byte >= 0x20 && byte < 0x7F)
            result += c;
        else
        {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            result += hex;
        }
    }
    return result;
}

} // namespace qel::test
