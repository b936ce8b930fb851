#include "bindings/ConverterBinding.h"

namespace qel
{

namespace
{

// In resolution order; every one is needed once the library is loaded.
const char* const kFunctionNames[] = {
    "MORPH_SAT2VRML",
    "MORPH_SAT2VRML_USE_SETTINGS",
    "MORPH_SAT2DXF",
    "MORPH_SAT2DXF_USE_SETTINGS",
    "MORPH_SAT2STEP",
    "MORPH_SAT2IGES_SET_MSBO",
    "MORPH_SAT2IGES_CATIA_5",
    "MORPH_SAT2VDAFS",
    "MORPH_STEP2SAT",
    "MORPH_SAT2SAT",
    "MORPH_SAT2SAT_MM",
    "MORPH_ACIS_WITH_HIDDEN_LINES",
    "MORPH_ACIS_NO_HIDDEN_LINES",
};

} // namespace

int CConverterBinding::s_nLoadCount = 0;

CConverterBinding::CConverterBinding() : CLibraryBinding("morphkit.dll", s_nLoadCount)
{
    static_assert(sizeof kFunctionNames / sizeof kFunctionNames[0] == kFunctionCount,
                  "one name per function");
    for (std::size_t i = 0; i < m_functions.size(); ++i)
        m_functions[i] = SFunction{kFunctionNames[i], nullptr};
}

bool CConverterBinding::Load()
{
    LoadFunctions(m_functions.data(), m_functions.size());
    return true;
}

int CConverterBinding::Sat2Vrml(Arg arg1, Arg arg2)
{
    return Call(kSat2Vrml, arg1, arg2);
}

int CConverterBinding::Sat2VrmlUseSettings(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kSat2VrmlUseSettings, arg1, arg2, arg3, arg4);
}

int CConverterBinding::Sat2Dxf(Arg arg1, Arg arg2)
{
    return Call(kSat2Dxf, arg1, arg2);
}

int CConverterBinding::Sat2DxfUseSettings(Arg arg1, Arg arg2, Arg arg3)
{
    return Call(kSat2DxfUseSettings, arg1, arg2, arg3);
}

int CConverterBinding::Sat2Step(Arg arg1, Arg arg2, Arg arg3)
{
    return Call(kSat2Step, arg1, arg2, arg3);
}

int CConverterBinding::Sat2IgesSetMsbo(Arg arg1, Arg arg2, Arg arg3)
{
    return Call(kSat2IgesSetMsbo, arg1, arg2, arg3);
}

int CConverterBinding::Sat2IgesCatia5(Arg arg1, Arg arg2)
{
    return Call(kSat2IgesCatia5, arg1, arg2);
}

int CConverterBinding::Sat2VdaFs(Arg arg1, Arg arg2)
{
    return Call(kSat2VdaFs, arg1, arg2);
}

int CConverterBinding::Step2Sat(Arg arg1, Arg arg2)
{
    return Call(kStep2Sat, arg1, arg2);
}

int CConverterBinding::Sat2Sat(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kSat2Sat, arg1, arg2, arg3, arg4);
}

int CConverterBinding::Sat2SatMm(Arg arg1, Arg arg2)
{
    return Call(kSat2SatMm, arg1, arg2);
}

int CConverterBinding::AcisWithHiddenLines(Arg arg1, Arg arg2)
{
    return Call(kAcisWithHiddenLines, arg1, arg2);
}

int CConverterBinding::AcisNoHiddenLines(Arg arg1, Arg arg2)
{
    return Call(kAcisNoHiddenLines, arg1, arg2);
}

} // namespace qel
