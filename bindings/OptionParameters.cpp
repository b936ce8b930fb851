#include "bindings/OptionParameters.h"

namespace qel
{

namespace
{

// The host's spelling, "FondUnderlined" included.
const char* const kOptionKeys[COptionParameters::kKeyCount + 1] = {
    "ShowMessages",
    "LanguageId",
    "OutputFileName",
    "IniFileName",
    "AP",
    "Attributes",
    "Color",
    "Compressed",
    "CreateAdditionalBlock",
    "CurvePreferences",
    "Decimals",
    "ElementTyp",
    "EndOfLine",
    "FontBold",
    "FontItalic",
    "FontName",
    "FondUnderlined",
    "FontStrikeout",
    "Force1Wirebody106",
    "ForceBounded143",
    "ForceTrimmedNURBS128",
    "Height",
    "InfoPoint",
    "Layer",
    "Line1Color",
    "Line1Group",
    "Line1Layer",
    "Line1Linetype",
    "Line1Linewidth",
    "Line1Pen",
    "Line2Color",
    "Line2Group",
    "Line2Layer",
    "Line2Linetype",
    "Line2Linewidth",
    "Line2Pen",
    "Line3Color",
    "Line3Group",
    "Line3Layer",
    "Line3Linetype",
    "Line3Linewidth",
    "Line3Pen",
    "Line4Color",
    "Line4Group",
    "Line4Layer",
    "Line4Linetype",
    "Line4Linewidth",
    "Line4Pen",
    "Line5Color",
    "Line5Group",
    "Line5Layer",
    "Line5Linetype",
    "Line5Linewidth",
    "Line5Pen",
    "Line6Color",
    "Line6Group",
    "Line6Layer",
    "Line6Linetype",
    "Line6Linewidth",
    "Line6Pen",
    "MSBO",
    "MSBOparameterized",
    "PartPath",
    "Placing",
    "PointResolution",
    "Segments",
    "UserResolution",
    "Version",
    "Width",
    "Xref",
    "Internal_1",
    nullptr,
};

} // namespace

COptionParameters::COptionParameters() : CParameterList(kOptionKeys, '=', '|') {}

void COptionParameters::OnValueChanged(unsigned /*keyIndex*/) {}

} // namespace qel
