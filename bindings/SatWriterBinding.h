// Binding of the maker's SAT writer QelSatWr.dll, which writes the host's part
// as an ACIS SAT file.
#pragma once

#include <array>

#include "bindings/LibraryBinding.h"

namespace qel
{

class CSatWriterBinding : public CLibraryBinding
{
public:
    CSatWriterBinding();

    // Attributes
    // Objects of this class that currently hold the library.
    static int GetLoadCount() { return __atomic_load_n(&s_nLoadCount, __ATOMIC_RELAXED); }

    // Overrideables
    bool Load() override;

    // Operations: each loads the library first and returns the function's
    // result unchanged (non-zero for success).
    // The SAT version of the files written next, as two numbers.
    int SaveVersion(int major, int minor);
    // Writes the host part block part into the file fileName.
    int CreateSatFile(const void* part, const char* fileName);

private:
    enum EFunction
    {
        kSaveVersion,
        kCreateSatFile,
        kFunctionCount
    };

    std::array<SFunction, kFunctionCount> m_functions;

    static int s_nLoadCount;
};

} // namespace qel
