// One call of a plug-in export as qelhost makes it: the arguments are
// prepared (part block read, buffers filled) before the plug-in is loaded,
// then the export is called and what it returned or wrote is printed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/qelhost/GuardedBuffer.h"
#include "tools/qelhost/HostCommandLine.h"
#include "tools/qelhost/PluginHost.h"

namespace qel::test
{

class CExportCall
{
public:
    // False with the reason in error when an argument is unusable (part file
    // unreadable, size not a number, file name longer than its buffer).
    bool Prepare(const CHostCommandLine& commandLine, std::string& error);

    // Calls the export and prints "result: N" and the buffer lines; returns
    // the exit code of qelhost.
    int Run(const CPluginHost& host);

private:
    bool PreparePart(const std::string& argument, std::string& error);
    void PrepareParams(const std::string& argument);
    bool PrepareErrorBuffer(const std::string& sizeArgument, std::string& error);
    bool PrepareFileBuffer(const std::string& fileName, const std::string& sizeArgument,
                           std::string& error);

    const void* Part() const { return m_hasPart ? m_part.data() : m_partAddress; }
    const char* Params() const
    {
        if (m_paramsAddress != nullptr)
            return m_paramsAddress;
        return m_hasParams ? m_params.c_str() : nullptr;
    }
    char* Buffer() const { return m_buffer ? m_buffer->Data() : nullptr; }
    unsigned BufferSize() const { return m_buffer ? static_cast<unsigned>(m_buffer->Size()) : 0; }

    int CallExport(const CPluginHost& host, int& result, std::string& error);
    int ReportErrorBuffer() const;
    int ReportFileBuffer() const;
    int ReportBufferFaults(const char* what, bool mustBeTerminated) const;

    std::string m_command;
    bool m_hasPart = false;
    std::vector<uint8_t> m_part;
    const void* m_partAddress = nullptr; // "null" or "nowhere"
    bool m_hasParams = false;
    std::string m_params;
    const char* m_paramsAddress = nullptr; // "nowhere"
    std::unique_ptr<CGuardedBuffer> m_buffer;
};

} // namespace qel::test
