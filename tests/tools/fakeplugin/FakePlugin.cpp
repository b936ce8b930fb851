// A fake plug-in for the tests of qelhost: exports the six functions of the
// real plug-in under their plain names and records every argument it receives
// in the file named by QEL_FAKEPLUGIN_RECORD, one line per call.
// Behaviour switches (environment):
//   QEL_FAKEPLUGIN_RESULT   the value every export returns (default 1)
//   QEL_FAKEPLUGIN_ERROR    QelCreate_2 copies this text into the error buffer
//   QEL_FAKEPLUGIN_APPEND   the direct-file exports append this to the file name
//   QEL_FAKEPLUGIN_OVERRUN  "1": the export writes one byte past its buffer
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace
{

// Blocks are recorded up to this many bytes.
constexpr unsigned kMaxRecordedPart = 4096;

std::string Environment(const char* name)
{
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void Record(const std::string& line)
{
    std::string path = Environment("QEL_FAKEPLUGIN_RECORD");
    if (path.empty())
        return;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "ab"));
    if (file)
        std::fprintf(file.get(), "%s\n", line.c_str());
}

int Result()
{
    std::string text = Environment("QEL_FAKEPLUGIN_RESULT");
    return text.empty() ? 1 : std::atoi(text.c_str());
}

// The block as hex, up to the total size it states at offset 0.
std::string Part(const void* part)
{
    if (part == nullptr)
        return "part=null";
    const unsigned char* bytes = static_cast<const unsigned char*>(part);
    unsigned total = 0;
    std::memcpy(&total, bytes, sizeof total);
    std::string text = "part=";
    for (unsigned i = 0; i < total && i < kMaxRecordedPart; ++i)
    {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += digits;
    }
    return text;
}

std::string Params(const char* params)
{
    return std::string("params=") + (params == nullptr ? "null" : params);
}

std::string Unread(int first, int second)
{
    return "unread=" + std::to_string(first) + " " + std::to_string(second);
}

void OverrunIfAsked(char* buffer, unsigned size)
{
    if (buffer != nullptr && Environment("QEL_FAKEPLUGIN_OVERRUN") == "1")
        buffer[size] = 'X';
}

// How the error buffer arrived: null, or whether every byte was still '#'.
std::string ErrorBuffer(const char* buffer, unsigned size)
{
    std::string text = "errsize=" + std::to_string(size) + " errbuf=";
    if (buffer == nullptr)
        return text + "null";
    for (unsigned i = 0; i < size; ++i)
    {
        if (buffer[i] != '#')
            return text + "dirty";
    }
    return text + "prefilled";
}

void WriteErrorIfAsked(char* buffer, unsigned size)
{
    std::string error = Environment("QEL_FAKEPLUGIN_ERROR");
    if (error.empty() || buffer == nullptr || size == 0)
        return;
    std::size_t length = error.size() < size - 1 ? error.size() : size - 1;
    std::memcpy(buffer, error.data(), length);
    buffer[length] = '\0';
}

// How the file name buffer arrived: the name, its size, whether every byte
// behind the name's NUL was zero.
std::string FileBuffer(const char* buffer, unsigned size)
{
    if (buffer == nullptr)
        return "filebuf=null size=" + std::to_string(size);
    std::size_t length = strnlen(buffer, size);
    bool zeroTail = true;
    for (std::size_t i = length; i < size; ++i)
        zeroTail = zeroTail && buffer[i] == '\0';
    return "file=" + std::string(buffer, length) + " size=" + std::to_string(size) +
           (zeroTail ? " tail=zero" : " tail=dirty");
}

void AppendToFileNameIfAsked(char* buffer, unsigned size)
{
    std::string suffix = Environment("QEL_FAKEPLUGIN_APPEND");
    if (suffix.empty() || buffer == nullptr)
        return;
    std::size_t length = strnlen(buffer, size);
    if (length + suffix.size() + 1 <= size)
        std::memcpy(buffer + length, suffix.c_str(), suffix.size() + 1);
}

// Which QelMain.dll a plug-in gets when it loads the library by its name.
std::string MainLibrary()
{
    HMODULE module = LoadLibraryA("QelMain.dll");
    if (module == nullptr)
        return "qelmain=none";
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, sizeof path);
    FreeLibrary(module);
    return std::string("qelmain=") + path;
}

} // namespace

extern "C"
{

    int __stdcall QelCreate(const void* part)
    {
        Record("QelCreate " + Part(part));
        return Result();
    }

    int __stdcall QelCreate_2(const void* part, const char* params, char* errorBuffer,
                              unsigned errorSize)
    {
        Record("QelCreate_2 " + Part(part) + " " + Params(params) + " " +
               ErrorBuffer(errorBuffer, errorSize));
        WriteErrorIfAsked(errorBuffer, errorSize);
        OverrunIfAsked(errorBuffer, errorSize);
        return Result();
    }

    int __stdcall QelOptions()
    {
        Record("QelOptions " + MainLibrary());
        return Result();
    }

    int __stdcall QelOptions_2(const char* params, int first, int second)
    {
        Record("QelOptions_2 " + Params(params) + " " + Unread(first, second));
        return Result();
    }

    int __stdcall QelCreateDirectFile(const void* part, char* fileName, unsigned size)
    {
        Record("QelCreateDirectFile " + Part(part) + " " + FileBuffer(fileName, size));
        AppendToFileNameIfAsked(fileName, size);
        OverrunIfAsked(fileName, size);
        return Result();
    }

    int __stdcall QelCreateDirectFile_2(const void* part, const char* params, int first, int second,
                                        char* fileName, unsigned size)
    {
        Record("QelCreateDirectFile_2 " + Part(part) + " " + Params(params) + " " +
               Unread(first, second) + " " + FileBuffer(fileName, size));
        AppendToFileNameIfAsked(fileName, size);
        OverrunIfAsked(fileName, size);
        return Result();
    }

} // extern "C"
