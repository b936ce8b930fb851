// CInsertionDriver, the part document: SolidWorks imports the SAT file, the
// attributes become "Text" properties, and the document is saved as the part
// file and closed again.
#include "cad/InsertionDriver.h"

#include <cstring>

#include "cad/CaseFoldedText.h"
#include "cad/PartFileName.h"
#include "common/AnsiPath.h"
#include "cad/SolidWorksCallFilter.h"
#include "common/AutomationFailure.h"
#include "common/ComOwners.h"
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

bool PathExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

int CInsertionDriver::CreatePartDocument()
{
    bool ownSaveName = false;
    CSwDoc document;
    try
    {
        // A file SolidWorks could not read opens nothing: the active document
        // is then the user's own (whichever was active before, not only the
        // one known from the main window), which must never be saved as this part.
        const CSwDoc before = m_app.GetActiveDocument();
        if (!m_app.LoadSatFile(m_szSatFile))
            FailStep(FormatMessageText(IDS_SAT_FILE_NOT_IMPORTED, m_szSatFile));
        document = m_app.GetActiveDocument();
        // Without a new document the properties and the save would go nowhere.
        if (document.IsEmpty())
            FailStep(LoadMessage(IDS_NO_ACTIVE_DOCUMENT));
        if (document.IsSameObject(m_refDoc) || document.IsSameObject(before))
        {
            document.Empty(); // the user's document: never closed as this part
            FailStep(FormatMessageText(IDS_SAT_FILE_NOT_IMPORTED, m_szSatFile));
        }
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
        const bool saved = document.SaveAs(m_szPartFile);
        const bool savedAgain = document.SaveAs(m_szPartFile);
        // A refused save leaves nothing to open: the open would fail with a
        // misleading reason. Nothing was written, so nothing is undone. A
        // document of the part's name open from elsewhere is the likely why.
        if (!saved && !savedAgain && !PathExists(m_szPartFile))
        {
            ownSaveName = false;
            RefuseOpenNamesake(document);
            document.Empty();
            FailStep(FormatMessageText(IDS_PART_FILE_NOT_SAVED, m_szPartFile));
        }
        const std::wstring title = document.GetTitle();
        // An empty title would close whatever is active, maybe the user's own
        // document: the saved part file stays, and its document open.
        if (title.empty())
        {
            ownSaveName = false;
            FailStep(LoadMessage(IDS_NO_DOCUMENT_TITLE));
        }
        // A save that did not take leaves the new document's title.
        if (!NamesPartFile(title))
            RefuseOpenNamesake(document);
        m_app.CloseDocument(DocumentName(title).c_str());
    }
    catch (const CAutomationFailure& failure)
    {
        // Only a name that this call completed can hold this call's save; a
        // name without the extension may be a file of the user's.
        const bool cancelled = dynamic_cast<const CCallCancelled*>(&failure) != nullptr;
        std::string reason = failure.what();
        if (ownSaveName && !DiscardPartFile(document, cancelled))
            reason += " " + LoadMessage(IDS_PART_FILE_LEFT);
        ThrowCannotCreatePart(reason);
    }
    return 1;
}

bool CInsertionDriver::DiscardPartFile(CSwDoc& document, bool cancelled)
{
    // SolidWorks holds the files of its open documents: the document this
    // call saved is closed first. After a cancel SolidWorks is still busy,
    // and nothing more is asked of it.
    if (!cancelled && !document.IsEmpty() && PathExists(m_szPartFile))
    {
        try
        {
            const std::wstring title = document.GetTitle();
            if (!title.empty())
                m_app.CloseDocument(DocumentName(title).c_str());
        }
        catch (const CAutomationFailure&)
        {
            // Not closed (a cancel included): the file then stays, and the
            // message says so.
        }
    }
    const BOOL deleted = DeleteFileA(m_szPartFile);
    CTrace::Line("part file %s: %s", deleted ? "deleted" : "not deleted", m_szPartFile);
    return deleted || !PathExists(m_szPartFile);
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
    // The other kind's file of the typed name was never looked for: one that
    // holds a part is another part, never saved over.
    if (m_nChosenType != kDocTypeUnknown && HoldsPartFile(m_szPartFile))
        FailStep(DescribeFailureCode(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)));
}

void CInsertionDriver::RefuseOpenNamesake(const CSwDoc& imported)
{
    for (CSwDoc document = m_app.GetFirstDocument(); !document.IsEmpty();
         document = document.GetNextDocument())
    {
        // Without its extension (Windows hides it) the title may name an
        // assembly of the part's name, which SolidWorks keeps apart.
        const std::wstring title = document.GetTitle();
        const bool stemOnly = DocumentName(title) != title;
        if (!document.IsSameObject(imported) && NamesPartFile(title) &&
            (!stemOnly || document.GetType() == m_nDocType))
            FailStep(FormatMessageText(IDS_NAMESAKE_OPEN, PartFileName()));
    }
}

const char* CInsertionDriver::PartFileName() const
{
    const std::size_t separator = FindLastSeparator(m_szPartFile);
    return m_szPartFile + (separator == std::string::npos ? 0 : separator + 1);
}

std::string CInsertionDriver::PartFileStem() const
{
    const std::string name = PartFileName();
    const bool extension = PartFileTypeOfExtension(name.c_str()) != kDocTypeUnknown;
    return name.substr(0, name.size() - (extension ? std::strlen(".SLDPRT") : 0));
}

bool CInsertionDriver::NamesPartFile(const std::wstring& title) const
{
    const std::string text = NarrowText(title.c_str());
    return CCaseFoldedText::Equal(text, PartFileName()) ||
           CCaseFoldedText::Equal(text, PartFileStem());
}

std::wstring CInsertionDriver::DocumentName(const std::wstring& title) const
{
    if (!CCaseFoldedText::Equal(NarrowText(title.c_str()), PartFileStem()))
        return title;
    const std::string extension = PartFileExtension(static_cast<int>(m_nDocType));
    return title + std::wstring(extension.begin(), extension.end());
}

void CInsertionDriver::ThrowCannotCreatePart(const std::string& reason)
{
    CErrorMessage::Throw(
        FormatMessageText(IDS_CANNOT_CREATE_PART, m_szPartFile, FailureText(reason).c_str()));
}

} // namespace qel
