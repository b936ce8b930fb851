#include "tools/qelmain/StandinLog.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace qel::test
{

namespace
{

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string LogFileName()
{
    char name[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("QEL_STANDIN_LOG", name, sizeof name);
    if (length == 0 || length >= sizeof name)
        return std::string();
    return std::string(name, length);
}

} // namespace

void AppendStandinLog(const std::string& line)
{
    std::string fileName = LogFileName();
    if (fileName.empty())
        return;
    // Opened per line: several processes and both libraries share one journal.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "ab"));
    if (!file)
        return;
    std::string text = line + "\n";
    std::fwrite(text.data(), 1, text.size(), file.get());
}

std::string LogText(const char* text)
{
    return text == nullptr ? std::string("(null)") : std::string(text);
}

} // namespace qel::test
