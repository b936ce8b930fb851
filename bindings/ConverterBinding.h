// Binding of the maker's converter library morphkit.dll (conversions between
// SAT, VRML, DXF, STEP, IGES and VDA-FS). The plug-in never calls it, so the
// library need not be present.
#pragma once

#include <array>

#include "bindings/LibraryBinding.h"

namespace qel
{

class CConverterBinding : public CLibraryBinding
{
public:
    CConverterBinding();

    // Attributes
    // Objects of this class that currently hold the library.
    static int GetLoadCount() { return __atomic_load_n(&s_nLoadCount, __ATOMIC_RELAXED); }

    // Overrideables
    bool Load() override;

    // Operations: one wrapper per function; each loads the library first and
    // returns the function's result unchanged.
    int Sat2Vrml(Arg arg1, Arg arg2);
    int Sat2VrmlUseSettings(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    int Sat2Dxf(Arg arg1, Arg arg2);
    int Sat2DxfUseSettings(Arg arg1, Arg arg2, Arg arg3);
    int Sat2Step(Arg arg1, Arg arg2, Arg arg3);
    int Sat2IgesSetMsbo(Arg arg1, Arg arg2, Arg arg3);
    int Sat2IgesCatia5(Arg arg1, Arg arg2);
    int Sat2VdaFs(Arg arg1, Arg arg2);
    int Step2Sat(Arg arg1, Arg arg2);
    int Sat2Sat(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    int Sat2SatMm(Arg arg1, Arg arg2);
    int AcisWithHiddenLines(Arg arg1, Arg arg2);
    int AcisNoHiddenLines(Arg arg1, Arg arg2);

private:
    enum EFunction
    {
        kSat2Vrml,
        kSat2VrmlUseSettings,
        kSat2Dxf,
        kSat2DxfUseSettings,
        kSat2Step,
        kSat2IgesSetMsbo,
        kSat2IgesCatia5,
        kSat2VdaFs,
        kStep2Sat,
        kSat2Sat,
        kSat2SatMm,
        kAcisWithHiddenLines,
        kAcisNoHiddenLines,
        kFunctionCount
    };

    template <typename... Args> int Call(EFunction function, Args... args)
    {
        Load();
        return CallFunction(m_functions[function], args...);
    }

    std::array<SFunction, kFunctionCount> m_functions;

    static int s_nLoadCount;
};

} // namespace qel
