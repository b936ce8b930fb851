// The object on which every exported call does its work: for one call it holds
// the settings, the link to the running SolidWorks, its main window, the part's
// attributes, the part and SAT file names and the document type.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

#include "cad/AttributeList.h"
#include "cad/SwApp.h"
#include "cad/SwDoc.h"
#include "common/BoundedString.h"
#include "common/WaitOutcome.h"
#include "ui/IPartFileDialog.h"

namespace qel
{

class CPartDirectoryLock;
class CSettingsFile;

class CInsertionDriver
{
public:
    CInsertionDriver();
    CInsertionDriver(const CInsertionDriver&) = delete;
    CInsertionDriver& operator=(const CInsertionDriver&) = delete;
    virtual ~CInsertionDriver();

    // Attributes
    const char* GetPartFile() const { return m_szPartFile; }
    const char* GetSatFile() const { return m_szSatFile; }
    HWND GetMainWindow() const { return m_hMainWnd; }
    long GetDocType() const { return m_nDocType; }
    const CAttributeList& GetAttributes() const { return m_attributes; }
    const CSettingsFile* GetSettings() const { return m_pSettings.get(); }

    // Operations
    // The whole insertion of the host's part; 1 when the part file was opened
    // in SolidWorks, 0 when the user cancelled. Failures are thrown as error texts.
    int Run(const void* part);
    // The options dialog of the settings.
    int ShowOptions();
    // Has the SAT writer library write part to fileName; 1 when written.
    int WriteSatFile(const void* part, const char* fileName);
    // The Save dialog that names a part when no name can be built (borrowed;
    // the system's own dialog unless a caller sets another).
    void SetPartFileDialog(IPartFileDialog* dialog) { m_pFileDialog = dialog; }
    // Whether the call may show boxes (the export's policy for its errors):
    // a wait for the part directory then shows one the user can cancel.
    void SetMessagesShown(bool shown) { m_bShowMessages = shown; }

    // Steps of Run, in their order
    int Connect();
    HWND FindMainWindow();
    void CollectAttributes(const void* part);
    int MakeSatFileName();
    int ChoosePartFile(int pass, int dialogAllowed);
    int FindExistingPartFile();
    int CreatePartDocument();
    int InsertIntoAssembly();
    void LockUpdates();
    void UnlockUpdates();
    void ReleaseResources();

    // Parts of the steps
    // Joins the attribute values into buffer (mode 0 letters and digits, 1
    // file-safe); 1 when a stem was written. A capacity of 1 or less, negative
    // ones included, leaves no room and gives 0.
    int MakeFileNameFromAttributes(char* buffer, int capacity, int mode);
    // Sets m_refDoc; 1 when a document was found. view receives the
    // reference document's view when the search read it (empty when it has
    // none) and stays unset when it did not.
    int FindReferenceDocument(std::optional<CSwView>& view);
    void PlacePartWindow(IDispatch* document);
    void RefreshPartView(IDispatch* document);
    void BringToForeground(HWND window);
    // Restores and raises SolidWorks' main window, and the window it waits in
    // (an enabled window the main window owns: its question), if any.
    void SwitchToSolidWorks();

private:
    class CSolidWorksRelease;

    // Message 121 for the part file, with reason as its exception text.
    [[noreturn]] void ThrowCannotCreatePart(const std::string& reason);
    [[noreturn]] void ThrowCannotInsertPart(const std::string& reason);
    // A failure's text as the messages carry it: at most 254 characters.
    static std::string FailureText(const std::string& reason);
    // One trace line with the settings of the call: what ("read from"...) and
    // the file.
    void TraceSettings(const char* what) const;
    void AppendPartFileExtension();
    // Fails the step when SolidWorks holds a document of the part file's
    // name other than imported: it would be taken for the part.
    void RefuseOpenNamesake(const CSwDoc& imported);
    // The part file's name without its folder, and without its extension.
    const char* PartFileName() const;
    std::string PartFileStem() const;
    // Whether a document's title names the part file, with or without the
    // extension (Windows may hide it).
    bool NamesPartFile(const std::wstring& title) const;
    // The name SolidWorks knows the part's document by: its title with the
    // extension that Windows may hide added back, so that a part and an
    // assembly of one name are never confused. Other titles stay as they are.
    std::wstring DocumentName(const std::wstring& title) const;
    // Deletes the part file this call saved, closing the document that holds
    // it first unless the call was cancelled; false when the file stays.
    bool DiscardPartFile(CSwDoc& document, bool cancelled);
    // Gives SolidWorks' references back while the call filter still stands.
    void ReleaseSolidWorks();
    void ShowMainWindow();
    // Writes the SAT file and has SolidWorks make the part file of it.
    void CreateFromSatFile(const void* part);
    // Takes the part directory's lock for a part that is to be created or
    // opened; throws when the call cannot go on.
    void LockPartDirectory(CPartDirectoryLock& lock, bool create);
    // Waits for the lock, after a quiet second with the box: Done, Failed,
    // TimedOut or Cancelled.
    WaitOutcome WaitWithBox(CPartDirectoryLock& lock, DWORD timeoutMs);
    // The part directory stopped the call: message 121 when the part was to
    // be created, 1100 when it exists.
    [[noreturn]] void ThrowDirectoryFailure(bool creating, const std::string& reason);

    char m_szPartFile[kPathBufferSize];
    char m_szSatFile[kPathBufferSize];
    HWND m_hMainWnd;
    CSwApp m_app;
    CSwDoc m_refDoc;
    long m_nDocType;
    std::unique_ptr<CSettingsFile> m_pSettings;
    CAttributeList m_attributes;
    IPartFileDialog* m_pFileDialog;
    bool m_bShowMessages = false;
    // The type of the part file extension that the user typed or picked in
    // the Save dialog: that name means that one file. 0 for a built name.
    int m_nChosenType = 0;
};

} // namespace qel
