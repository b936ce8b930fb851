// CInsertionDriver, the part document: SolidWorks imports the SAT file, the
// attributes become "Text" properties, and the document is saved as the part
// file and closed again.
#include "cad/InsertionDriver.h"

#include <cstring>

#include "cad/PartFileName.h"
#include "common/AutomationFailure.h"
#include "common/ErrorMessage.h"
#include "common/StringTable.h"
#include "common/Trace.h"
#include "resources/resource.h"

namespace qel
{

namespace
{
// The auxiliary buffers of the attribute texts: each text keeps 1022 characters.
constexpr unsigned kAttributeTextSize = 1023;

// A step of the document that cannot go on: reported like a failing call.
[[noreturn]] void FailStep(const std::string& reason)
{
    throw CAutomationFailure(E_FAIL, reason);
}
} // namespace

int CInsertionDriver::CreatePartDocument()
{
    bool ownSaveName = false;
    try
    {
        // A file SolidWorks could not read opens nothing: the active document
        // is then the user's own (whichever was active before, not only the
        // one known from the main window), which must never be saved as this part.
        const CSwDoc before = m_app.GetActiveDocument();
        if (!m_app.LoadSatFile(m_szSatFile))
            FailStep(FormatMessageText(IDS_SAT_FILE_NOT_IMPORTED, m_szSatFile));
        CSwDoc document = m_app.GetActiveDocument();
        // Without a new document the properties and the save would go nowhere.
        if (document.IsEmpty())
            FailStep(LoadMessage(IDS_NO_ACTIVE_DOCUMENT));
        if (document.IsSameObject(m_refDoc) || document.IsSameObject(before))
            FailStep(FormatMessageText(IDS_SAT_FILE_NOT_IMPORTED, m_szSatFile));
        m_nDocType = document.GetType();
        AppendPartFileExtension();
        ownSaveName = true;

        char name[kAttributeTextSize];
        char value[kAttributeTextSize];
        for (int i = 0; i < m_attributes.GetCount(); ++i)
        {
            AttributeAux aux1 = {};
            AttributeAux aux2 = {};
            m_attributes.GetAt(static_cast<unsigned>(i), name, sizeof(name), value, sizeof(value),
                               &aux1, &aux2);
            document.AddTextProperty(name, value);
        }
        document.SaveAs(m_szPartFile);
        document.SaveAs(m_szPartFile);
        const std::wstring title = document.GetTitle();
        m_app.CloseDocument(title.c_str());
    }
    catch (const CAutomationFailure& failure)
    {
        // Only a name that this call completed can hold this call's save; a
        // name without the extension may be a file of the user's.
        if (ownSaveName)
        {
            const BOOL deleted = DeleteFileA(m_szPartFile);
            CTrace::Line("part file %s: %s", deleted ? "deleted" : "not deleted", m_szPartFile);
        }
        ThrowCannotCreatePart(failure.what());
    }
    return 1;
}

void CInsertionDriver::AppendPartFileExtension()
{
    // The name the user typed with its extension is kept as typed, unless
    // SolidWorks made the other kind of document of the SAT file.
    if (m_nChosenType != kDocTypeUnknown)
    {
        if (m_nChosenType == m_nDocType)
            return;
        DropExtensionOfNewName(m_szPartFile);
    }
    const char* extension = PartFileExtension(static_cast<int>(m_nDocType));
    // A cut extension would save a file that is never found again.
    if (BoundedLength(m_szPartFile, sizeof(m_szPartFile)) + std::strlen(extension) >=
        sizeof(m_szPartFile))
        FailStep(LoadMessage(IDS_PART_NAME_TOO_LONG));
    AppendBounded(m_szPartFile, sizeof(m_szPartFile), extension);
}

void CInsertionDriver::ThrowCannotCreatePart(const std::string& reason)
{
    static CErrorMessage s_message;
    s_message.Throw(
        FormatMessageText(IDS_CANNOT_CREATE_PART, m_szPartFile, FailureText(reason).c_str()));
}

} // namespace qel
