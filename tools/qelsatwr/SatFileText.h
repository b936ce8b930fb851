// The text of a small ACIS SAT file (text format) for one part: header,
// an empty body that carries the part's attributes as named string
// attributes, and the end marker. No geometry: the stand-in only shows that a
// file was written, for which part and in which version.
#pragma once

#include <string>
#include <vector>

namespace qel::test
{

class CSatFileText
{
public:
    // The version as the writer received it, e.g. 4 and 0 for "400".
    CSatFileText(int major, int minor);

    void AddAttribute(const std::string& name, const std::string& value);

    // The whole file; date is the save date text of the header (24 characters
    // in the form "Mon Jan 01 12:00:00 2024").
    std::string Text(const std::string& date) const;

private:
    struct Attribute
    {
        std::string name;
        std::string value;
    };

    std::string Header(const std::string& date) const;
    std::string BodyRecord() const;
    std::string AttributeRecord(std::size_t index) const;

    int m_major;
    int m_minor;
    std::vector<Attribute> m_attributes;
};

} // namespace qel::test
