#include "tests/tools/ToolsTestFiles.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace qel::test
{

std::string BinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void WriteWholeFile(const std::string& path, const std::string& text)
{
    WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::istringstream text(ReadWholeFile(path));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(text, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace qel::test
