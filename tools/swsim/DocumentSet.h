// The open documents in opening order, the active one, and the counters that
// number them (serials 1, 2, 3... and the titles Part1, Assem1...).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/swsim/SimDocument.h"

namespace swsim
{

class CDocumentSet
{
public:
    CDocumentSet(CSimulator& simulator, const CSimMainWindow& window);

    // Attributes
    CSimDocument* First() const;
    CSimDocument* Next(const CSimDocument& document) const;
    CSimDocument* Active() const { return m_active; }
    CSimDocument* FindSerial(long serial) const;
    CSimDocument* FindTitle(const std::wstring& title) const;
    CSimDocument* FindPath(const std::wstring& path) const;
    // The first document in list order whose title is name, or whose title
    // without its part or assembly extension is: a name without extension
    // may find a part or an assembly.
    CSimDocument* FindName(const std::wstring& name) const;
    // The open document whose document or view object this is; null once the
    // document was closed.
    CSimDocument* FindOwner(const CSimObject& object) const;
    // One line per document: serial, title, type, path, frame window handle
    // (decimal) and 1 for the active document else 0, separated by tabs.
    std::wstring Describe() const;

    // Operations
    // A new empty document titled Part<n> (type 1) or Assem<n> (type 2).
    CSimDocument& CreateNew(long type);
    CSimDocument& Create(long type, std::wstring title, std::wstring path);
    // A component of an assembly: loaded without a view, not made active.
    CSimDocument& CreateComponent(long type);
    void Activate(CSimDocument& document);
    // Documents created from now on have a view (the default) or none.
    void SetWithViews(bool withViews) { m_withViews = withViews; }
    void Close(const CSimDocument& document);
    // Closes everything and starts the counters again.
    void Reset();

private:
    CSimulator& m_simulator;
    const CSimMainWindow& m_window;
    std::vector<std::unique_ptr<CSimDocument>> m_documents;
    CSimDocument* m_active = nullptr;
    long m_nextSerial = 1;
    bool m_withViews = true;
    long m_partCount = 0;
    long m_assemblyCount = 0;
};

} // namespace swsim
