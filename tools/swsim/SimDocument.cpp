#include "tools/swsim/SimDocument.h"

#include "tools/swsim/Handle.h"
#include "tools/swsim/MainWindow.h"
#include "tools/swsim/TextConversion.h"

namespace swsim
{

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring StemOf(const std::wstring& name)
{
    const size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos)
    {
        return name;
    }
    const std::wstring extension = name.substr(dot);
    const bool known =
        CompareStringOrdinal(extension.c_str(), -1, L".SLDPRT", -1, TRUE) == CSTR_EQUAL ||
        CompareStringOrdinal(extension.c_str(), -1, L".SLDASM", -1, TRUE) == CSTR_EQUAL;
    return known ? name.substr(0, dot) : name;
}

CSimDocument::CSimDocument(CSimulator& simulator, const CSimMainWindow& window, long serial,
                           long type, std::wstring title, std::wstring path, bool withView)
    : m_serial(serial), m_type(type), m_title(std::move(title)), m_path(std::move(path)),
      m_frame(withView ? std::make_unique<CDocumentFrame>(window.DocumentArea(), window.Instance(),
                                                          m_title)
                       : nullptr),
      m_documentObject(new CSimObject(simulator, ObjectKind::Doc, serial)),
      m_viewObject(new CSimObject(simulator, ObjectKind::View, serial))
{
}

void CSimDocument::AddTextProperty(std::wstring name, std::wstring value)
{
    m_properties.push_back({std::move(name), std::move(value)});
}

bool CSimDocument::SaveAs(const std::wstring& path)
{
    const CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
    {
        return false;
    }
    const std::string text = FileText();
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
    {
        return false;
    }
    m_path = path;
    m_title = FileNameOf(path);
    if (m_frame)
    {
        m_frame->SetTitle(m_title);
    }
    return true;
}

void CSimDocument::HoldFile()
{
    m_hold = CHandle(CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string CSimDocument::FileText() const
{
    std::string text = "QelSwSim document type=" + std::to_string(m_type);
    if (!m_imported.empty())
    {
        text += " sat=\"" + m_imported + "\"";
    }
    text += "\r\n";
    for (const Property& property : m_properties)
    {
        text += Utf8FromWide(property.name) + "=" + Utf8FromWide(property.value) + "\r\n";
    }
    return text;
}

} // namespace swsim
