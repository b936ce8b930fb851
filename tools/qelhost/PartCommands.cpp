#include "tools/qelhost/PartCommands.h"

#include <cstdio>
#include <vector>

#include "tools/partblock/PartBlockDump.h"
#include "tools/partblock/PartDescription.h"
#include "tools/qelhost/BinaryFile.h"
#include "tools/qelhost/HostCommandLine.h"

namespace qel::test
{

int MakePart(const std::string& descriptionPath, const std::string& blockPath)
{
    std::vector<uint8_t> description;
    if (!ReadBinaryFile(descriptionPath, description))
    {
        std::fprintf(stderr, "qelhost: cannot read %s\n", descriptionPath.c_str());
        return kExitUsage;
    }
    CPartBlockBuilder builder;
    std::string error;
    if (!ParsePartDescription(std::string(description.begin(), description.end()), builder, error))
    {
        std::fprintf(stderr, "qelhost: %s: %s\n", descriptionPath.c_str(), error.c_str());
        return kExitPartError;
    }
    if (!WriteBinaryFile(blockPath, builder.Build()))
    {
        std::fprintf(stderr, "qelhost: cannot write %s\n", blockPath.c_str());
        return kExitUsage;
    }
    return kExitCalled;
}

int ShowPart(const std::string& blockPath)
{
    std::vector<uint8_t> block;
    if (!ReadBinaryFile(blockPath, block))
    {
        std::fprintf(stderr, "qelhost: cannot read %s\n", blockPath.c_str());
        return kExitUsage;
    }
    bool valid = false;
    std::string dump = DumpPartBlock(block.data(), block.size(), valid);
    std::fputs(dump.c_str(), stdout);
    std::fflush(stdout);
    return valid ? kExitCalled : kExitPartError;
}

} // namespace qel::test
