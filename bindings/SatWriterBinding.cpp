#include "bindings/SatWriterBinding.h"

namespace qel
{

int CSatWriterBinding::s_nLoadCount = 0;

CSatWriterBinding::CSatWriterBinding()
    : CLibraryBinding("QelSatWr.dll", s_nLoadCount),
      m_functions{{{"QelSatWriter_SaveVersion", nullptr}, {"QelSatWriter_CreateSatFile", nullptr}}}
{
}

bool CSatWriterBinding::Load()
{
    LoadFunctions(m_functions.data(), m_functions.size());
    return true;
}

int CSatWriterBinding::SaveVersion(int major, int minor)
{
    Load();
    return CallFunction(m_functions[kSaveVersion], major, minor);
}

int CSatWriterBinding::CreateSatFile(const void* part, const char* fileName)
{
    Load();
    return CallFunction(m_functions[kCreateSatFile], part, fileName);
}

} // namespace qel
