// Stand-in for the host's main library QelMain.dll: an in-memory environment
// store, file-creation functions that only record how they were called, and
// fixed answers for the preview and change-notification functions.
#include <windows.h>

#include <string>

#include "tools/qelmain/EnvironmentStore.h"
#include "tools/qelmain/StandinLog.h"

using qel::test::AppendStandinLog;
using qel::test::LogText;

namespace
{

const char kLibrary[] = "QelMain.dll";
const char kOneBodyKey[] = "QEL_3D_FORCE_ONE_BODY_IN_SAT";
const char kLastCallKey[] = "QEL_STANDIN_LAST_CALL";

qel::test::CEnvironmentStore& Environment()
{
    static qel::test::CEnvironmentStore store;
    return store;
}

std::string Number(int value)
{
    return std::to_string(value);
}

int LogCall(const std::string& call, int result)
{
    AppendStandinLog(std::string(kLibrary) + " " + call + " -> " + Number(result));
    return result;
}

// What a file creation would have produced depends on the one-body setting at
// the moment of the call; tests read it back from QEL_STANDIN_LAST_CALL.
int RecordFileCreation(const std::string& function, const std::string& arguments,
                       const std::string& extra = std::string())
{
    std::string record = function + " ONE_BODY=" + Environment().Value(kOneBodyKey);
    if (!extra.empty())
        record += " " + extra;
    Environment().Set(kLastCallKey, record);
    return LogCall(function + " " + arguments, 1);
}

std::string Args(int a1, int a2)
{
    return Number(a1) + " " + Number(a2);
}

std::string Args(int a1, int a2, int a3)
{
    return Args(a1, a2) + " " + Number(a3);
}

std::string Args(int a1, int a2, int a3, int a4)
{
    return Args(a1, a2, a3) + " " + Number(a4);
}

} // namespace

extern "C"
{

    int __stdcall QelEnvironment_Set(const char* key, const char* value)
    {
        std::string call = std::string("QelEnvironment_Set ") + LogText(key) + " " + LogText(value);
        if (key == nullptr)
            return LogCall(call, 0);
        Environment().Set(key, value == nullptr ? "" : value);
        return LogCall(call, 1);
    }

    int __stdcall QelEnvironment_Get(const char* key, char* buffer, int size)
    {
        std::string call = std::string("QelEnvironment_Get ") + LogText(key) + " " + Number(size);
        bool found = key != nullptr && Environment().Get(key, buffer, size);
        return LogCall(call, found ? 1 : 0);
    }

    int __stdcall QelCreateFile_Sat(int a1, int a2, int a3, int a4)
    {
        return RecordFileCreation("QelCreateFile_Sat", Args(a1, a2, a3, a4));
    }

    int __stdcall QelCreateFile_Iges(int a1, int a2)
    {
        return RecordFileCreation("QelCreateFile_Iges", Args(a1, a2));
    }

    int __stdcall QelCreateFile_VdaFs(int a1, int a2)
    {
        return RecordFileCreation("QelCreateFile_VdaFs", Args(a1, a2));
    }

    int __stdcall QelCreateFile_Dxf3d(int a1, int a2)
    {
        return RecordFileCreation("QelCreateFile_Dxf3d", Args(a1, a2));
    }

    int __stdcall QelCreateFile_Step(int a1, const char* protocol, int a3)
    {
        return RecordFileCreation("QelCreateFile_Step",
                                  Number(a1) + " " + LogText(protocol) + " " + Number(a3),
                                  "PROTOCOL=" + LogText(protocol));
    }

    int __stdcall QelCreateFile_Jpg(int a1, int a2, int a3, int a4)
    {
        return RecordFileCreation("QelCreateFile_Jpg", Args(a1, a2, a3, a4));
    }

    int __stdcall QelCreateFile_Bmp(int a1, int a2, int a3, int a4)
    {
        return RecordFileCreation("QelCreateFile_Bmp", Args(a1, a2, a3, a4));
    }

    int __stdcall QelCreateFile_Tif(int a1, int a2, int a3, int a4)
    {
        return RecordFileCreation("QelCreateFile_Tif", Args(a1, a2, a3, a4));
    }

    int __stdcall QelCreateFile_Pcx(int a1, int a2, int a3, int a4)
    {
        return RecordFileCreation("QelCreateFile_Pcx", Args(a1, a2, a3, a4));
    }

    int __stdcall QelCreateFile_Png(int a1, int a2, int a3, int a4)
    {
        return RecordFileCreation("QelCreateFile_Png", Args(a1, a2, a3, a4));
    }

    int __stdcall QelPreView2D_SetBkColor(int a1, int a2)
    {
        return LogCall("QelPreView2D_SetBkColor " + Args(a1, a2), 1);
    }

    int __stdcall QelPreView3D_SetBkColor(int a1, int a2)
    {
        return LogCall("QelPreView3D_SetBkColor " + Args(a1, a2), 1);
    }

    int __stdcall QelPreView3D_SetBkColorFromTo(int a1, int a2, int a3)
    {
        return LogCall("QelPreView3D_SetBkColorFromTo " + Args(a1, a2, a3), 1);
    }

    int __stdcall QelVar_OnChange_GetWhat()
    {
        return LogCall("QelVar_OnChange_GetWhat", 0);
    }

    int __stdcall QelVar_OnChange_GetFlag()
    {
        return LogCall("QelVar_OnChange_GetFlag", 0);
    }

#ifndef QEL_STANDIN_NO_GETHWND
    int __stdcall QelVar_OnChange_GetHWnd()
    {
        return LogCall("QelVar_OnChange_GetHWnd", 0);
    }
#endif

    BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
    {
        if (reason == DLL_PROCESS_ATTACH)
            AppendStandinLog(std::string(kLibrary) + " attach");
        else if (reason == DLL_PROCESS_DETACH)
            AppendStandinLog(std::string(kLibrary) + " detach");
        return TRUE;
    }

} // extern "C"
