// The object on which every exported call does its work: for one call it holds
// the settings, the link to the running SolidWorks, its main window, the part's
// attributes, the part and SAT file names and the document type.
#pragma once

#include <memory>

#include <windows.h>

#include "cad/AttributeList.h"
#include "cad/SwApp.h"
#include "cad/SwDoc.h"
#include "common/BoundedString.h"

namespace qel
{

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

    // Steps of Run
    int Connect();
    void CollectAttributes(const void* part);
    int MakeFileNameFromAttributes(char* buffer, unsigned capacity, int mode);
    void LockUpdates();
    void UnlockUpdates();
    void ReleaseResources();

private:
    char m_szPartFile[kPathBufferSize];
    char m_szSatFile[kPathBufferSize];
    HWND m_hMainWnd;
    CSwApp m_app;
    CSwDoc m_refDoc;
    long m_nDocType;
    std::unique_ptr<CSettingsFile> m_pSettings;
    CAttributeList m_attributes;
};

} // namespace qel
