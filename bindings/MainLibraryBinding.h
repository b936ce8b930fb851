// Binding of the host's main library QelMain.dll: its environment store, file
// creation in CAD and image formats, preview colours and change notification.
// The plug-in loads it as a presence check before an insertion.
#pragma once

#include <array>

#include "bindings/LibraryBinding.h"

namespace qel
{

class CMainLibraryBinding : public CLibraryBinding
{
public:
    CMainLibraryBinding();

    // Attributes
    // Objects of this class that currently hold the library.
    static int GetLoadCount() { return __atomic_load_n(&s_nLoadCount, __ATOMIC_RELAXED); }

    // Overrideables
    bool Load() override;

    // Operations: one wrapper per function. Each loads the library first and
    // returns the function's result unchanged.
    int EnvironmentSet(const char* key, const char* value);
    int EnvironmentGet(const char* key, char* buffer, int size);
    int CreateFileSat(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    // The IGES, VDA-FS, DXF 3D and STEP creations write one body: the host's
    // one-body setting is "1" during the call and restored afterwards.
    int CreateFileIges(Arg arg1, Arg arg2);
    int CreateFileVdaFs(Arg arg1, Arg arg2);
    int CreateFileDxf3d(Arg arg1, Arg arg2);
    int CreateFileStep(Arg arg1, const char* protocol, Arg arg3);
    int CreateFileStepAp203(Arg arg1, Arg arg3);
    int CreateFileStepAp214(Arg arg1, Arg arg3);
    int CreateFileJpg(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    int CreateFileBmp(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    int CreateFileTif(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    int CreateFilePcx(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    int CreateFilePng(Arg arg1, Arg arg2, Arg arg3, Arg arg4);
    int PreView2DSetBkColor(Arg arg1, Arg arg2);
    int PreView3DSetBkColor(Arg arg1, Arg arg2);
    int PreView3DSetBkColorFromTo(Arg arg1, Arg arg2, Arg arg3);
    int OnChangeGetWhat();
    int OnChangeGetFlag();
    int OnChangeGetHWnd();

    // Settings kept in the host's environment.
    int SetPreviewTemplate(int templateNumber);
    int SetShowLineTypes(int show);
    // True when the stored setting reads as a non-zero number; false when the
    // host has none.
    bool GetShowLineTypes();

private:
    enum EFunction
    {
        kEnvironmentSet,
        kEnvironmentGet,
        kCreateFileSat,
        kCreateFileIges,
        kCreateFileVdaFs,
        kCreateFileDxf3d,
        kCreateFileStep,
        kCreateFileJpg,
        kCreateFileBmp,
        kCreateFileTif,
        kCreateFilePcx,
        kCreateFilePng,
        kPreView2DSetBkColor,
        kPreView3DSetBkColor,
        kPreView3DSetBkColorFromTo,
        kOnChangeGetWhat,
        kOnChangeGetFlag,
        kOnChangeGetHWnd,
        kFunctionCount
    };

    template <typename... Args> int Call(EFunction function, Args... args)
    {
        Load();
        return CallFunction(m_functions[function], args...);
    }
    template <typename... Args> int CallWithOneBody(EFunction function, Args... args);

    std::array<SFunction, kFunctionCount> m_functions;

    static int s_nLoadCount;
};

} // namespace qel
