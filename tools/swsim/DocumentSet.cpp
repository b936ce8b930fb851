#include "tools/swsim/DocumentSet.h"

#include <algorithm>
#include <cwchar>

namespace swsim
{
namespace
{

bool SameText(const std::wstring& left, const std::wstring& right)
{
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

CDocumentSet::CDocumentSet(CSimulator& simulator, const CSimMainWindow& window)
    : m_simulator(simulator), m_window(window)
{
}

CSimDocument* CDocumentSet::First() const
{
    return m_documents.empty() ? nullptr : m_documents.front().get();
}

CSimDocument* CDocumentSet::Next(const CSimDocument& document) const
{
    const auto it = std::find_if(m_documents.begin(), m_documents.end(),
                                 [&](const auto& entry) { return entry.get() == &document; });
    return it == m_documents.end() || it + 1 == m_documents.end() ? nullptr : (it + 1)->get();
}

CSimDocument* CDocumentSet::FindSerial(long serial) const
{
    for (const auto& document : m_documents)
    {
        if (document->Serial() == serial)
        {
            return document.get();
        }
    }
    return nullptr;
}

CSimDocument* CDocumentSet::FindTitle(const std::wstring& title) const
{
    for (const auto& document : m_documents)
    {
        if (SameText(document->Title(), title))
        {
            return document.get();
        }
    }
    return nullptr;
}

CSimDocument* CDocumentSet::FindPath(const std::wstring& path) const
{
    for (const auto& document : m_documents)
    {
        if (!document->Path().empty() && SameText(document->Path(), path))
        {
            return document.get();
        }
    }
    return nullptr;
}

CSimDocument* CDocumentSet::FindName(const std::wstring& name) const
{
    for (const auto& document : m_documents)
    {
        if (SameText(document->Title(), name) || SameText(StemOf(document->Title()), name))
        {
            return document.get();
        }
    }
    return nullptr;
}

CSimDocument* CDocumentSet::FindOwner(const CSimObject& object) const
{
    for (const auto& document : m_documents)
    {
        if (&document->DocumentObject() == &object || &document->ViewObject() == &object)
        {
            return document.get();
        }
    }
    return nullptr;
}

std::wstring CDocumentSet::Describe() const
{
    std::wstring text;
    for (const auto& document : m_documents)
    {
        text += std::to_wstring(document->Serial()) + L"\t" + document->Title() + L"\t" +
                std::to_wstring(document->Type()) + L"\t" + document->Path() + L"\t" +
                std::to_wstring(reinterpret_cast<UINT_PTR>(document->Frame())) + L"\t" +
                (document.get() == m_active ? L"1" : L"0") + L"\n";
    }
    return text;
}

CSimDocument& CDocumentSet::CreateNew(long type)
{
    const long number = type == 2 ? ++m_assemblyCount : ++m_partCount;
    return Create(type, (type == 2 ? L"Assem" : L"Part") + std::to_wstring(number), L"");
}

CSimDocument& CDocumentSet::Create(long type, std::wstring title, std::wstring path)
{
    m_documents.push_back(std::make_unique<CSimDocument>(m_simulator, m_window, m_nextSerial++,
                                                         type, std::move(title), std::move(path),
                                                         m_withViews));
    m_active = m_documents.back().get();
    return *m_active;
}

CSimDocument& CDocumentSet::CreateComponent(long type)
{
    const long number = type == 2 ? ++m_assemblyCount : ++m_partCount;
    m_documents.push_back(std::make_unique<CSimDocument>(
        m_simulator, m_window, m_nextSerial++, type,
        (type == 2 ? L"Assem" : L"Part") + std::to_wstring(number), L"", false));
    return *m_documents.back();
}

void CDocumentSet::Activate(CSimDocument& document)
{
    m_active = &document;
    document.BringToTop();
}

void CDocumentSet::Close(const CSimDocument& document)
{
    const bool wasActive = m_active == &document;
    m_documents.erase(std::remove_if(m_documents.begin(), m_documents.end(),
                                     [&](const auto& entry) { return entry.get() == &document; }),
                      m_documents.end());
    if (wasActive)
    {
        // The most recently opened document that remains becomes active.
        m_active = nullptr;
        if (!m_documents.empty())
        {
            Activate(*m_documents.back());
        }
    }
}

void CDocumentSet::Reset()
{
    m_active = nullptr;
    m_documents.clear();
    m_nextSerial = 1;
    m_withViews = true;
    m_partCount = 0;
    m_assemblyCount = 0;
}

} // namespace swsim
