// A library the dependent variant of the SAT writer stand-in imports: it
// stands for one of the real writer's own dependencies.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall QelSatWrDependency_Version()
{
    return 1;
}
