#include "bindings/MainLibraryBinding.h"

#include <utility>

#include "bindings/LeadingInteger.h"

namespace qel
{

namespace
{

// In resolution order; every one is needed.
const char* const kFunctionNames[] = {
    "QelEnvironment_Set",      "QelEnvironment_Get",      "QelCreateFile_Sat",
    "QelCreateFile_Iges",      "QelCreateFile_VdaFs",     "QelCreateFile_Dxf3d",
    "QelCreateFile_Step",      "QelCreateFile_Jpg",       "QelCreateFile_Bmp",
    "QelCreateFile_Tif",       "QelCreateFile_Pcx",       "QelCreateFile_Png",
    "QelPreView2D_SetBkColor", "QelPreView3D_SetBkColor", "QelPreView3D_SetBkColorFromTo",
    "QelVar_OnChange_GetWhat", "QelVar_OnChange_GetFlag", "QelVar_OnChange_GetHWnd",
};

const char kOneBodyKey[] = "QEL_3D_FORCE_ONE_BODY_IN_SAT";
const char kPreviewTemplateKey[] = "QEL_3D_PREVIEW_SET_TEMPLATE";
const char kShowLineTypesKey[] = "QEL_2D_PREVIEW_SHOW_LINETYPES";

// Runs a step when the scope ends, also by a throw (a library of another build
// is reported by throwing); the step's own failure is dropped there.
template <typename Step> class CAtScopeEnd
{
public:
    explicit CAtScopeEnd(Step step) : m_step(std::move(step)) {}
    CAtScopeEnd(const CAtScopeEnd&) = delete;
    CAtScopeEnd& operator=(const CAtScopeEnd&) = delete;
    ~CAtScopeEnd()
    {
        try
        {
            m_step();
        }
        catch (...)
        {
            // Nothing may leave a destructor; the call's own failure goes on.
        }
    }

private:
    Step m_step;
};

} // namespace

int CMainLibraryBinding::s_nLoadCount = 0;

CMainLibraryBinding::CMainLibraryBinding() : CLibraryBinding("QelMain.dll", s_nLoadCount)
{
    static_assert(sizeof kFunctionNames / sizeof kFunctionNames[0] == kFunctionCount,
                  "one name per function");
    for (std::size_t i = 0; i < m_functions.size(); ++i)
        m_functions[i] = SFunction{kFunctionNames[i], nullptr};
}

bool CMainLibraryBinding::Load()
{
    LoadFunctions(m_functions.data(), m_functions.size());
    return true;
}

template <typename... Args>
int CMainLibraryBinding::CallWithOneBody(EFunction function, Args... args)
{
    Load();
    // The host leaves the buffer untouched when it has no value: then the
    // empty text is what is put back.
    char saved[256] = {};
    EnvironmentGet(kOneBodyKey, saved, sizeof saved - 1);
    saved[sizeof saved - 1] = '\0';
    EnvironmentSet(kOneBodyKey, "1");
    // The host's own library may be shared with the host: its setting is put
    // back whatever the call does.
    const CAtScopeEnd restore([this, &saved] { EnvironmentSet(kOneBodyKey, saved); });
    return Call(function, args...);
}

int CMainLibraryBinding::EnvironmentSet(const char* key, const char* value)
{
    return Call(kEnvironmentSet, key, value);
}

int CMainLibraryBinding::EnvironmentGet(const char* key, char* buffer, int size)
{
    return Call(kEnvironmentGet, key, buffer, size);
}

int CMainLibraryBinding::CreateFileSat(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kCreateFileSat, arg1, arg2, arg3, arg4);
}

int CMainLibraryBinding::CreateFileIges(Arg arg1, Arg arg2)
{
    return CallWithOneBody(kCreateFileIges, arg1, arg2);
}

int CMainLibraryBinding::CreateFileVdaFs(Arg arg1, Arg arg2)
{
    return CallWithOneBody(kCreateFileVdaFs, arg1, arg2);
}

int CMainLibraryBinding::CreateFileDxf3d(Arg arg1, Arg arg2)
{
    return CallWithOneBody(kCreateFileDxf3d, arg1, arg2);
}

int CMainLibraryBinding::CreateFileStep(Arg arg1, const char* protocol, Arg arg3)
{
    return CallWithOneBody(kCreateFileStep, arg1, protocol, arg3);
}

int CMainLibraryBinding::CreateFileStepAp203(Arg arg1, Arg arg3)
{
    return CreateFileStep(arg1, "AP203", arg3);
}

int CMainLibraryBinding::CreateFileStepAp214(Arg arg1, Arg arg3)
{
    return CreateFileStep(arg1, "AP214", arg3);
}

int CMainLibraryBinding::CreateFileJpg(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kCreateFileJpg, arg1, arg2, arg3, arg4);
}

int CMainLibraryBinding::CreateFileBmp(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kCreateFileBmp, arg1, arg2, arg3, arg4);
}

int CMainLibraryBinding::CreateFileTif(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kCreateFileTif, arg1, arg2, arg3, arg4);
}

int CMainLibraryBinding::CreateFilePcx(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kCreateFilePcx, arg1, arg2, arg3, arg4);
}

int CMainLibraryBinding::CreateFilePng(Arg arg1, Arg arg2, Arg arg3, Arg arg4)
{
    return Call(kCreateFilePng, arg1, arg2, arg3, arg4);
}

int CMainLibraryBinding::PreView2DSetBkColor(Arg arg1, Arg arg2)
{
    return Call(kPreView2DSetBkColor, arg1, arg2);
}

int CMainLibraryBinding::PreView3DSetBkColor(Arg arg1, Arg arg2)
{
    return Call(kPreView3DSetBkColor, arg1, arg2);
}

int CMainLibraryBinding::PreView3DSetBkColorFromTo(Arg arg1, Arg arg2, Arg arg3)
{
    return Call(kPreView3DSetBkColorFromTo, arg1, arg2, arg3);
}

int CMainLibraryBinding::OnChangeGetWhat()
{
    return Call(kOnChangeGetWhat);
}

int CMainLibraryBinding::OnChangeGetFlag()
{
    return Call(kOnChangeGetFlag);
}

int CMainLibraryBinding::OnChangeGetHWnd()
{
    return Call(kOnChangeGetHWnd);
}

int CMainLibraryBinding::SetPreviewTemplate(int templateNumber)
{
    char text[80];
    FormatBounded(text, sizeof text, "%ld", static_cast<long>(templateNumber));
    Load();
    return EnvironmentSet(kPreviewTemplateKey, text);
}

int CMainLibraryBinding::SetShowLineTypes(int show)
{
    return EnvironmentSet(kShowLineTypesKey, show != 0 ? "1" : "0");
}

bool CMainLibraryBinding::GetShowLineTypes()
{
    char text[10] = "0";
    EnvironmentGet(kShowLineTypesKey, text, sizeof text);
    text[sizeof text - 1] = '\0'; // the host may fill the whole buffer
    return ReadLeadingInteger(text) != 0;
}

} // namespace qel
