// One open document of the simulated program: its serial number, title, type,
// path, text properties, windows, and the document and view objects that
// clients receive for it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "tools/swsim/DocumentFrame.h"
#include "tools/swsim/Handle.h"
#include "tools/swsim/SimObject.h"

namespace swsim
{

class CSimMainWindow;

class CSimDocument
{
public:
    // withView false: a document opened without a window (SolidWorks opens
    // documents invisibly too); it has no frame, and asking for its view
    // gives nothing.
    CSimDocument(CSimulator& simulator, const CSimMainWindow& window, long serial, long type,
                 std::wstring title, std::wstring path, bool withView = true);
    CSimDocument(const CSimDocument&) = delete;
    CSimDocument& operator=(const CSimDocument&) = delete;

    // Attributes
    long Serial() const { return m_serial; }
    long Type() const { return m_type; }
    const std::wstring& Title() const { return m_title; }
    const std::wstring& Path() const { return m_path; }
    bool HasView() const { return m_frame != nullptr; }
    HWND Frame() const { return m_frame ? m_frame->Frame() : nullptr; }
    HWND View() const { return m_frame ? m_frame->View() : nullptr; }
    CSimObject& DocumentObject() const { return *m_documentObject; }
    CSimObject& ViewObject() const { return *m_viewObject; }

    // Operations
    void AddTextProperty(std::wstring name, std::wstring value);
    // What was imported into the document (the SAT file's identity).
    void SetImported(std::string identity) { m_imported = std::move(identity); }
    // Writes the document file (a header line, with sat="identity" for an
    // imported one, then one name=value line per property, UTF-8, CRLF) and
    // takes the path and its file name as title.
    bool SaveAs(const std::wstring& path);
    // Holds the document's file against writing and deleting, as SolidWorks
    // holds the files of its open documents (until the document closes).
    void HoldFile();
    void ReleaseFile() { m_hold = CHandle(); }
    void BringToTop()
    {
        if (m_frame)
        {
            m_frame->BringToTop();
        }
    }

private:
    struct Property
    {
        std::wstring name;
        std::wstring value;
    };

    std::string FileText() const;

    long m_serial;
    long m_type;
    std::wstring m_title;
    std::wstring m_path;
    std::vector<Property> m_properties;
    std::string m_imported;
    std::unique_ptr<CDocumentFrame> m_frame; // null for a document without a view
    CHandle m_hold;
    CSimObjectPtr m_documentObject;
    CSimObjectPtr m_viewObject;
};

// The file name part of a path (after the last '\\' or '/').
std::wstring FileNameOf(const std::wstring& path);
// A name without its part or assembly extension (.SLDPRT, .SLDASM, any case).
std::wstring StemOf(const std::wstring& name);

} // namespace swsim
