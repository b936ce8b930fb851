// CInsertionDriver, naming the files: the temporary SAT file, the part file
// from the attribute values or the Save dialog, and an existing part file.
#include "cad/InsertionDriver.h"

#include "cad/PartFileName.h"
#include "common/StringTable.h"
#include "common/Trace.h"
#include "resources/resource.h"
#include "settings/SettingsFile.h"

namespace qel
{

int CInsertionDriver::MakeSatFileName()
{
    MakeSatFilePath(m_pSettings->GetPartPath(), m_szSatFile, sizeof(m_szSatFile));
    return 1;
}

int CInsertionDriver::ChoosePartFile(int pass, int dialogAllowed)
{
    char name[kPathBufferSize] = {};
    const std::size_t length = CopyPartDirectory(m_pSettings->GetPartPath(), name, sizeof(name));
    m_nChosenType = kDocTypeUnknown;
    if (MakeFileNameFromAttributes(name + length, StemCapacity(length), pass) == 1)
    {
        CopyBounded(m_szPartFile, sizeof(m_szPartFile), name);
        return 1;
    }
    if (dialogAllowed == 0)
        return 0;

    CTrace::Line("no part file name from %d attributes in a part directory of %u characters: the "
                 "Save dialog asks",
                 m_attributes.GetCount(), static_cast<unsigned>(length));
    char chosen[kPathBufferSize] = {};
    if (!m_pFileDialog->Choose(m_pSettings->GetPartPath(),
                               LoadMessage(IDS_SAVE_DIALOG_TITLE).c_str(), chosen, sizeof(chosen)))
    {
        CTrace::Line("Save dialog cancelled: nothing inserted");
        return 0;
    }
    CopyBounded(m_szPartFile, sizeof(m_szPartFile), chosen);
    // A name with a part file's extension means that file, made if it holds
    // nothing yet; only a name without one is looked up under both.
    m_nChosenType = PartFileTypeOfExtension(m_szPartFile);
    // A new name keeps to the bound of a built one.
    if (!HoldsPartFile(m_szPartFile))
        CutNewName(m_szPartFile);
    // Found or made, the file is never a device.
    KeepTypedNameClearOfDevices(m_szPartFile, sizeof(m_szPartFile));
    return 1;
}

int CInsertionDriver::FindExistingPartFile()
{
    if (m_nChosenType != kDocTypeUnknown)
    {
        if (!HoldsPartFile(m_szPartFile))
            return 1;
        m_nDocType = m_nChosenType;
        return 0;
    }
    const int type = FindPartFile(m_szPartFile, sizeof(m_szPartFile));
    if (type == kDocTypeUnknown)
        return 1;
    m_nDocType = type;
    return 0;
}

} // namespace qel
