#include "tools/qelsatwr/SatFileText.h"

namespace qel::test
{

namespace
{

const char kProduct[] = "QelSatWr stand-in";
const char kUnitsLine[] = "1 9.9999999999999995e-007 1e-010 ";
const char kEndMarker[] = "End-of-ACIS-data";

// A string field of the SAT text format: "@", its length in bytes, a blank
// and the bytes themselves.
std::string StringField(const std::string& text)
{
    return "@" + std::to_string(text.size()) + " " + text;
}

std::string Pointer(long index)
{
    return "$" + std::to_string(index);
}

} // namespace

CSatFileText::CSatFileText(int major, int minor) : m_major(major), m_minor(minor) {}

void CSatFileText::AddAttribute(const std::string& name, const std::string& value)
{
    m_attributes.push_back(Attribute{name, value});
}

std::string CSatFileText::Header(const std::string& date) const
{
    std::string acisVersion =
        "ACIS " + std::to_string(m_major) + "." + std::to_string(m_minor) + " NT";
    // Version, record count (0: not given), body count, history flag.
    return std::to_string(m_major * 100 + m_minor) + " 0 1 0\n" + StringField(kProduct) + " " +
           StringField(acisVersion) + " " + StringField(date) + "\n" + kUnitsLine + "\n";
}

// Record 0: the body; its attribute chain starts at record 1.
std::string CSatFileText::BodyRecord() const
{
    long firstAttribute = m_attributes.empty() ? -1 : 1;
    return "body " + Pointer(firstAttribute) + " $-1 $-1 $-1 #\n";
}

// Record index + 1: next and previous attribute, owner (the body), name, value.
std::string CSatFileText::AttributeRecord(std::size_t index) const
{
    long record = static_cast<long>(index) + 1;
    long next = index + 1 < m_attributes.size() ? record + 1 : -1;
    long previous = index == 0 ? -1 : record - 1;
    const Attribute& attribute = m_attributes[index];
    return "string_attrib-name_attrib-gen-attrib " + Pointer(next) + " " + Pointer(previous) +
           " $0 " + StringField(attribute.name) + " " + StringField(attribute.value) + " #\n";
}

std::string CSatFileText::Text(const std::string& date) const
{
    std::string text = Header(date) + BodyRecord();
    for (std::size_t i = 0; i < m_attributes.size(); ++i)
        text += AttributeRecord(i);
    return text + kEndMarker + "\n";
}

} // namespace qel::test
