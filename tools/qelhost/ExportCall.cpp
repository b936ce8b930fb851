#include "tools/qelhost/ExportCall.h"

#include <cstdio>

#include "tools/partblock/TextEscapes.h"
#include "tools/qelhost/BinaryFile.h"

namespace qel::test
{

namespace
{

// Larger buffers are certainly a typo on the command line.
constexpr unsigned long kMaxBufferSize = 16u * 1024 * 1024;
const char kNull[] = "null";
// A faulty host's pointer: an address in the first 64 KB, which Windows never
// maps, so the first read through it faults.
const char kNowhere[] = "nowhere";
const void* const kUnmappedAddress = reinterpret_cast<const void*>(0x100);

bool ParseSize(const std::string& text, unsigned& size)
{
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    unsigned long value = std::stoul(text);
    if (value > kMaxBufferSize)
        return false;
    size = static_cast<unsigned>(value);
    return true;
}

void PrintLine(const std::string& line)
{
    std::printf("%s\n", line.c_str());
}

} // namespace

bool CExportCall::Prepare(const CHostCommandLine& commandLine, std::string& error)
{
    m_command = commandLine.Command();
    const std::vector<std::string>& args = commandLine.Arguments();
    if (m_command == "QelCreate")
        return PreparePart(args[0], error);
    if (m_command == "QelCreate_2")
    {
        PrepareParams(args[1]);
        return PreparePart(args[0], error) && PrepareErrorBuffer(args[2], error);
    }
    if (m_command == "QelOptions_2")
        PrepareParams(args[0]);
    if (m_command == "QelCreateDirectFile")
        return PreparePart(args[0], error) && PrepareFileBuffer(args[1], args[2], error);
    if (m_command == "QelCreateDirectFile_2")
    {
        PrepareParams(args[1]);
        return PreparePart(args[0], error) && PrepareFileBuffer(args[2], args[3], error);
    }
    return true;
}

bool CExportCall::PreparePart(const std::string& argument, std::string& error)
{
    if (argument == kNull)
        return true;
    if (argument == kNowhere)
    {
        m_partAddress = kUnmappedAddress;
        return true;
    }
    if (!ReadBinaryFile(argument, m_part))
    {
        error = "cannot read part file " + argument;
        return false;
    }
    // Even an empty file is passed as a pointer, not as null.
    if (m_part.empty())
        m_part.push_back(0);
    m_hasPart = true;
    return true;
}

void CExportCall::PrepareParams(const std::string& argument)
{
    m_hasParams = argument != kNull;
    m_params = argument;
    if (argument == kNowhere)
        m_paramsAddress = static_cast<const char*>(kUnmappedAddress);
}

bool CExportCall::PrepareErrorBuffer(const std::string& sizeArgument, std::string& error)
{
    unsigned size = 0;
    if (!ParseSize(sizeArgument, size))
    {
        error = "ERRSIZE must be a number from 0 to " + std::to_string(kMaxBufferSize);
        return false;
    }
    // '#' bytes show afterwards which part of the buffer the export wrote.
    if (size > 0)
        m_buffer = std::make_unique<CGuardedBuffer>(size, '#');
    return true;
}

bool CExportCall::PrepareFileBuffer(const std::string& fileName, const std::string& sizeArgument,
                                    std::string& error)
{
    unsigned size = 0;
    if (!ParseSize(sizeArgument, size))
    {
        error = "BUFSIZE must be a number from 0 to " + std::to_string(kMaxBufferSize);
        return false;
    }
    if (size == 0)
        return true;
    if (size < fileName.size() + 1)
    {
        error = "BUFSIZE " + std::to_string(size) + " cannot hold the file name and its NUL";
        return false;
    }
    m_buffer = std::make_unique<CGuardedBuffer>(size, '\0');
    m_buffer->SetText(fileName);
    return true;
}

int CExportCall::CallExport(const CPluginHost& host, int& result, std::string& error)
{
    const char* name = m_command.c_str();
    if (m_command == "QelCreate")
    {
        auto function = host.Export<QelCreateFunction>(name, error);
        if (function == nullptr)
            return kExitNotLoadable;
        result = function(Part());
    }
    else if (m_command == "QelCreate_2")
    {
        auto function = host.Export<QelCreate2Function>(name, error);
        if (function == nullptr)
            return kExitNotLoadable;
        result = function(Part(), Params(), Buffer(), BufferSize());
    }
    else if (m_command == "QelOptions")
    {
        auto function = host.Export<QelOptionsFunction>(name, error);
        if (function == nullptr)
            return kExitNotLoadable;
        result = function();
    }
    else if (m_command == "QelOptions_2")
    {
        auto function = host.Export<QelOptions2Function>(name, error);
        if (function == nullptr)
            return kExitNotLoadable;
        result = function(Params(), nullptr, 0);
    }
    else if (m_command == "QelCreateDirectFile")
    {
        auto function = host.Export<QelCreateDirectFileFunction>(name, error);
        if (function == nullptr)
            return kExitNotLoadable;
        result = function(Part(), Buffer(), BufferSize());
    }
    else
    {
        auto function = host.Export<QelCreateDirectFile2Function>(name, error);
        if (function == nullptr)
            return kExitNotLoadable;
        result = function(Part(), Params(), nullptr, 0, Buffer(), BufferSize());
    }
    return kExitCalled;
}

int CExportCall::Run(const CPluginHost& host)
{
    int result = 0;
    std::string error;
    int exitCode = CallExport(host, result, error);
    if (exitCode != kExitCalled)
    {
        std::fprintf(stderr, "qelhost: %s\n", error.c_str());
        return exitCode;
    }
    PrintLine("result: " + std::to_string(result));
    if (m_command == "QelCreate_2")
        exitCode = ReportErrorBuffer();
    else if (m_command == "QelCreateDirectFile" || m_command == "QelCreateDirectFile_2")
        exitCode = ReportFileBuffer();
    std::fflush(stdout);
    return exitCode;
}

int CExportCall::ReportErrorBuffer() const
{
    if (!m_buffer)
    {
        PrintLine("error buffer: unchanged");
        return kExitCalled;
    }
    bool written = !m_buffer->IsUnchanged();
    PrintLine(written ? "error: " + EscapeText(m_buffer->Text()) : "error buffer: unchanged");
    return ReportBufferFaults("error", written);
}

int CExportCall::ReportFileBuffer() const
{
    if (!m_buffer)
    {
        PrintLine("file buffer: null");
        return kExitCalled;
    }
    PrintLine("file: " + EscapeText(m_buffer->Text()));
    return ReportBufferFaults("file name", true);
}

int CExportCall::ReportBufferFaults(const char* what, bool mustBeTerminated) const
{
    int exitCode = kExitCalled;
    if (mustBeTerminated && !m_buffer->IsTerminated())
    {
        PrintLine(std::string("warning: the ") + what + " buffer holds no NUL");
        exitCode = kExitBufferFault;
    }
    if (!m_buffer->GuardIntact())
    {
        PrintLine(std::string("warning: the export wrote past the ") +
                  std::to_string(m_buffer->Size()) + "-byte " + what + " buffer");
        exitCode = kExitBufferFault;
    }
    return exitCode;
}

} // namespace qel::test
