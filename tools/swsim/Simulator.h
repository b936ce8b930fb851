// The simulated program: its documents, settings, journal and planned
// faults, and the behaviour behind every dispatch id it honours. The
// automation objects (CSimObject) forward their calls here.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <oaidl.h>

#include "tools/swsim/CallResult.h"
#include "tools/swsim/CallSignature.h"
#include "tools/swsim/DocumentSet.h"
#include "tools/swsim/FaultPlan.h"
#include "tools/swsim/Journal.h"
#include "tools/swsim/SimObject.h"
#include "tools/swsim/SimOptions.h"

namespace swsim
{

class CDispatchCall;
class CSimMainWindow;

class CSimulator
{
public:
    explicit CSimulator(CSimMainWindow& window);
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;
    ~CSimulator();

    // Attributes
    // The application object (borrowed), for the running object table.
    IDispatch* Application() const { return m_application.get(); }
    // Sum of the external references on every object handed out, closed
    // documents' objects included.
    long OutstandingReferences() const;
    std::wstring JournalText() const { return m_journal.Text(); }
    std::wstring DocumentsText() const { return m_documents.Describe(); }

    // Operations
    void Configure(const CSimOptions& options);
    void ClearJournal() { m_journal.Clear(); }
    HRESULT Invoke(const CSimObject& target, DISPID id, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argErr);

    // Every live object registers itself, so that its references are counted.
    void Track(CSimObject& object) { m_objects.push_back(&object); }
    void Untrack(const CSimObject& object);

private:
    CCallResult Run(const CSimObject& target, DISPID id, const CDispatchCall& call, UINT* argErr);
    CCallResult RunApplication(DISPID id, const CDispatchCall& call);
    CCallResult RunDocument(CSimDocument& document, DISPID id, const CDispatchCall& call);
    CCallResult RunView(const CSimDocument& document, DISPID id);

    CCallResult LoadSatFile(const CDispatchCall& call);
    CCallResult SaveDocument(CSimDocument& document, const std::wstring& path);
    CCallResult CloseDocument(const CDispatchCall& call);
    CCallResult OpenDocument(const CDispatchCall& call);
    CCallResult ActivateDocument(const CDispatchCall& call);
    CCallResult DocumentTitle(const CSimDocument& document) const;
    // SaveAs' file-name rules: no '@' in the file name, at most 255
    // characters, no name that another open document holds.
    bool SaveRefused(const CSimDocument& document, const std::wstring& path) const;
    // Opens a saved document file as app 0x63 would (option open=).
    void OpenFile(const std::wstring& path);

    static CCallResult DocumentResult(const CSimDocument* document);
    void Reset();
    void HangUntilReleased();
    void AskQuestion();
    void AnswerQuestion();

    CSimMainWindow& m_window;
    std::vector<CSimObject*> m_objects; // borrowed; each object untracks itself
    CJournal m_journal;
    CFaultPlan m_faults;
    std::wstring m_revision;
    long m_importType = 1;
    bool m_importRefused = false;
    bool m_emptyAsVariantEmpty = false;
    bool m_newAssembly = true;
    bool m_hangReleased = false;
    bool m_showExtensions = true;
    bool m_holdFiles = false;
    bool m_saveRefused = false;
    CSimObjectPtr m_application;
    CDocumentSet m_documents;
};

} // namespace swsim
