// loadprobe.exe DLL [N]: loads and frees DLL N times (default 300), as a host
// that loads a library for each call, and prints what that kept of the
// process: TLS slots and kernel handles (the index a new handle gets).
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <windows.h>

namespace
{

DWORD FreeTlsSlots()
{
    std::vector<DWORD> taken;
    for (DWORD slot; (slot = TlsAlloc()) != TLS_OUT_OF_INDEXES;)
        taken.push_back(slot);
    for (DWORD slot : taken)
        TlsFree(slot);
    return static_cast<DWORD>(taken.size());
}

DWORD NextHandleIndex()
{
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const DWORD index = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(probe)) / 4;
    CloseHandle(probe);
    return index;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: loadprobe DLL [N]\n");
        return 2;
    }
    const int loads = argc > 2 ? std::atoi(argv[2]) : 300;
    FreeLibrary(LoadLibraryA(argv[1])); // the first load's one-time work
    const DWORD slots = FreeTlsSlots();
    const DWORD handle = NextHandleIndex();
    for (int i = 0; i < loads; ++i)
    {
        HMODULE module = LoadLibraryA(argv[1]);
        if (module == nullptr)
        {
            std::printf("load %d failed: error %lu\n", i + 1, GetLastError());
            return 1;
        }
        FreeLibrary(module);
    }
    std::printf("%s, %d loads: %ld TLS slots and %ld handles kept\n", argv[1], loads,
                static_cast<long>(slots) - static_cast<long>(FreeTlsSlots()),
                static_cast<long>(NextHandleIndex()) - static_cast<long>(handle));
    return 0;
}
