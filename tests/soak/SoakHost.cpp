// soakhost.exe N [MASK]: one host process calls every export kind N times in a row
// against the SolidWorks simulator and the stand-ins: new and existing parts,
// direct files, the options dialog opened and cancelled, and failures of each
// kind. Afterwards the process's handles, GDI and USER objects and private
// memory must equal those after the first 100 rounds within a small margin,
// the simulator must count no reference left, and the part directory must
// hold only part files, TempSW.sat and the lock file. Prints the figures; exit code 0 when
// all holds.
//
// The memory margin allows besides for what the system's COM itself keeps of
// each connection to SolidWorks, measured in the same process with bare
// connections that do not involve the plug-in (Wine's keeps about 100 bytes
// each).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>
#include <psapi.h>

#include "entry/QelSW99_3D.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/swsim/ControlConnection.h"
#include "tools/swsim/SimulatorClient.h"

namespace
{

using qel::test::CDialogDriver;

struct Usage
{
    DWORD handles = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    SIZE_T privateBytes = 0;
};

// The system's counts where it keeps them; under Wine, which reports none,
// the index the next new object gets: a leak uses up the free slots, and the
// index climbs.
DWORD NextKernelHandle()
{
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const DWORD index = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(probe)) / 4;
    CloseHandle(probe);
    return index;
}

DWORD NextGdiObject()
{
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    const DWORD index = LOWORD(reinterpret_cast<UINT_PTR>(probe));
    DeleteObject(probe);
    return index;
}

DWORD NextUserObject()
{
    HWND probe =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const DWORD index = LOWORD(reinterpret_cast<UINT_PTR>(probe));
    DestroyWindow(probe);
    return index;
}

Usage Measure()
{
    Usage usage;
    if (!GetProcessHandleCount(GetCurrentProcess(), &usage.handles) || usage.handles == 0)
        usage.handles = NextKernelHandle();
    usage.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (usage.gdi == 0)
        usage.gdi = NextGdiObject();
    usage.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (usage.user == 0)
        usage.user = NextUserObject();
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof(memory));
    usage.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    return usage;
}

template <class Function> Function Export(HMODULE plugin, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(plugin, name)));
}

struct Plugin
{
    HMODULE module;
    QelCreateProc create;
    QelCreate2Proc create2;
    QelOptionsProc options;
    QelOptions2Proc options2;
    QelCreateDirectFileProc direct;
    QelCreateDirectFile2Proc direct2;
};

// One connection as an export makes it, without the plug-in: OLE started,
// SolidWorks found in the running-object table, its revision asked, all
// released again.
void BareConnection()
{
    OleInitialize(nullptr);
    {
        Microsoft::WRL::ComPtr<IDispatch> application;
        if (SUCCEEDED(swsim::GetActiveDispatch(L"SldWorks.Application", application)))
        {
            DISPPARAMS none = {};
            VARIANT revision;
            VariantInit(&revision);
            application->Invoke(0xC, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                &revision, nullptr, nullptr);
            VariantClear(&revision);
        }
    }
    OleUninitialize();
}

// Private bytes the system keeps per connection (0 when it keeps nothing).
double SystemBytesPerConnection(int connections)
{
    const SIZE_T before = Measure().privateBytes;
    for (int i = 0; i < connections; ++i)
        BareConnection();
    const SIZE_T after = Measure().privateBytes;
    return after > before ? static_cast<double>(after - before) / connections : 0.0;
}

std::vector<std::string> PartFolderOddities(const std::string& folder)
{
    std::vector<std::string> odd;
    for (const std::string& name : qel::test::FileNamesIn(folder))
        if (name != "TempSW.sat" && name != "QelSW99_3D.lock" &&
            !(name.size() > 7 && name.compare(name.size() - 7, 7, ".SLDPRT") == 0))
            odd.push_back(name);
    return odd;
}

struct Context
{
    const Plugin& plugin;
    swsim::CSimulatorClient& simulator;
    const std::vector<uint8_t>& part;
    std::string folder;
};

bool Insert(int round, const Context& c)
{
    const bool extended = round % 2 == 1;
    c.simulator.Configure("reset=1 docs=assembly");
    if (round % 3 == 0) // every third round a new part; else the existing file is opened
        DeleteFileA((c.folder + "\\M8x20_DIN 933_8.8.SLDPRT").c_str());
    char error[512] = {};
    const int created = extended ? c.plugin.create2(c.part.data(), "", error, sizeof(error))
                                 : c.plugin.create(c.part.data());
    if (created != 1)
        std::printf("round %d: the insertion failed: %s\n", round, error);
    return created == 1;
}

// A failure of each kind in turn, reported in the buffer only.
bool Fail(int round, const Context& c)
{
    static const char* const kFaults[] = {"revision=10.0", "fail-call=app:0x31:Busy",
                                          "fail-call=app:0x63:Gone", "", ""};
    const int kind = round % 5;
    c.simulator.Configure(std::string("reset=1 docs=assembly ") + kFaults[kind]);
    DeleteFileA((c.folder + "\\M8x20_DIN 933_8.8.SLDPRT").c_str());
    qel::test::CPartBlockBuilder empty;
    empty.AddAttribute("Designation", "M8x20");
    empty.OverrideTotalSize(0); // a block without data: 124
    const std::vector<uint8_t> broken = empty.Build();
    const void* failing = kind == 3 ? nullptr : kind == 4 ? broken.data() : c.part.data();
    char error[512] = {};
    if (c.plugin.create2(failing, "ShowMessages=0", error, sizeof(error)) == 0)
        return true;
    std::printf("round %d: failure kind %d was not reported\n", round, kind);
    return false;
}

bool Direct(int round, const Context& c)
{
    char name[260] = {};
    std::snprintf(name, sizeof(name), "%s\\direct", c.folder.c_str());
    const int written = round % 2 == 1
                            ? c.plugin.direct2(c.part.data(), "", nullptr, 0, name, sizeof(name))
                            : c.plugin.direct(c.part.data(), name, sizeof(name));
    DeleteFileA(name);
    if (written != 1)
        std::printf("round %d: the direct file was not written\n", round);
    return written == 1;
}

bool Options(int round, const Context& c)
{
    CDialogDriver user(
        {{CDialogDriver::kOptions, [](HWND d) { CDialogDriver::Press(d, IDCANCEL); }}});
    const int options = round % 2 == 1 ? c.plugin.options2("", nullptr, 0) : c.plugin.options();
    user.Finish();
    if (options != 1)
        std::printf("round %d: the options failed\n", round);
    return options == 1;
}

// One round: every export kind once, and one failure of the kind the round
// number picks. mask picks the parts (1 insertion, 2 failure, 4 direct file,
// 8 options; 15 all).
bool Round(int round, const Context& c, int mask)
{
    return (!(mask & 1) || Insert(round, c)) && (!(mask & 2) || Fail(round, c)) &&
           (!(mask & 4) || Direct(round, c)) && (!(mask & 8) || Options(round, c));
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 500;
    const int mask = argc > 2 ? std::atoi(argv[2]) : 15;
    const int baselineRound = rounds < 500 ? rounds / 5 : 100;
    swsim::CSimulatorClient simulator("docs=assembly");
    qel::test::CScratchFolder folder("soak");
    qel::test::CSettingsFileOverride settings("[Options]\r\nPartPath=" + folder.Path() + "\r\n");
    qel::test::CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    builder.AddAttribute("Strength class", "8.8");
    const std::vector<uint8_t> part = builder.Build();

    // The host keeps the maker's libraries loaded, as the catalogue program
    // keeps its QelMain.dll: the stand-ins' own runtime keeps one handle at
    // every load, which would hide what the plug-in does.
    const HMODULE mainLibrary = LoadLibraryA((qel::test::BinFolder() + "\\QelMain.dll").c_str());
    const HMODULE satWriter = LoadLibraryA((qel::test::BinFolder() + "\\QelSatWr.dll").c_str());
    HMODULE module = LoadLibraryA((qel::test::BinFolder() + "\\QelSW99_3D.dll").c_str());
    const Plugin plugin = {module,
                           Export<QelCreateProc>(module, "QelCreate"),
                           Export<QelCreate2Proc>(module, "QelCreate_2"),
                           Export<QelOptionsProc>(module, "QelOptions"),
                           Export<QelOptions2Proc>(module, "QelOptions_2"),
                           Export<QelCreateDirectFileProc>(module, "QelCreateDirectFile"),
                           Export<QelCreateDirectFile2Proc>(module, "QelCreateDirectFile_2")};
    const Context context = {plugin, simulator, part, folder.Path()};
    Usage baseline;
    for (int round = 1; round <= rounds; ++round)
    {
        if (!Round(round, context, mask))
            return 1;
        if (round == baselineRound)
            baseline = Measure();
    }
    std::fflush(stdout);
    const Usage end = Measure();
    // Every insertion and every failure round connects once.
    const int connections = (rounds - baselineRound) * (((mask & 1) != 0) + ((mask & 2) != 0));
    const double systemShare = SystemBytesPerConnection(2000);
    const SIZE_T allowance = 2 * 1024 * 1024 + static_cast<SIZE_T>(systemShare * connections);
    const long references = simulator.OutstandingReferences();
    const std::vector<std::string> odd = PartFolderOddities(folder.Path());
    FreeLibrary(module);
    FreeLibrary(satWriter);
    FreeLibrary(mainLibrary);

    std::printf("rounds: %d (each: every export kind once and one failure)\n", rounds);
    std::printf("after round %d: %lu handles, %lu GDI, %lu USER objects, %lu KB private\n",
                baselineRound, baseline.handles, baseline.gdi, baseline.user,
                static_cast<unsigned long>(baseline.privateBytes / 1024));
    std::printf("after round %d: %lu handles, %lu GDI, %lu USER objects, %lu KB private\n", rounds,
                end.handles, end.gdi, end.user,
                static_cast<unsigned long>(end.privateBytes / 1024));
    std::printf("outstanding references: %ld; other files in the part directory: %zu\n", references,
                odd.size());
    std::printf("the system's COM keeps %.0f bytes per connection (2000 bare connections); "
                "memory allowed to grow: %lu KB (2 MB + %d connections)\n",
                systemShare, static_cast<unsigned long>(allowance / 1024), connections);
    // Margins: a few handles and objects for the system's own caches; 2 MB of
    // memory for the heap's growth and the system's share of the connections.
    const bool held = end.handles <= baseline.handles + 5 && end.gdi <= baseline.gdi + 5 &&
                      end.user <= baseline.user + 5 &&
                      end.privateBytes <= baseline.privateBytes + allowance && references == 0 &&
                      odd.empty();
    std::printf("%s\n", held ? "soak: held" : "soak: FAILED");
    return held ? 0 : 1;
}
