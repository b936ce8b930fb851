// The plug-in's exports against what they cannot do without, under Wine:
// - one full insertion (QelCreate_2 creating a new part) against the
//   SolidWorks simulator, next to a replay of the calls it made, with the same
//   arguments and SAT file, by a minimal client, taken in turns: the median of
//   each insertion's time over the replay right after it ("ratio
//   insertion_vs_replay N"), and what the difference is made of;
// - taking and releasing the part directory's lock (opening its lock file,
//   locking, unlocking, closing) next to that insertion ("ratio
//   lock_vs_insertion N");
// - QelCreateDirectFile per call next to the SAT writer's own load, its two
//   calls and its release, with and without OLE started on the calling thread
//   ("ratio directfile_vs_writer_ole N", "ratio directfile_vs_writer_no_ole N").
// QEL_BENCH_TRACE=1 in the environment runs all of it with the trace switched
// on (Trace=1 in the settings); otherwise it is off.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>
#include <wrl/client.h>

#include "bench/insertion/JournalReplay.h"
#include "cad/PartDirectoryLock.h"
#include "settings/SettingsFile.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/swsim/ControlConnection.h"
#include "tools/swsim/SimulatorClient.h"

namespace
{

using InsertFunction = int(__stdcall*)(const void*, const char*, char*, unsigned);

double Seconds()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

using DirectFileFunction = int(__stdcall*)(const void*, char*, unsigned);
using SaveVersionFunction = int(__stdcall*)(int, int);
using CreateSatFileFunction = int(__stdcall*)(const void*, const char*);

// Median time of one call of work over rounds of calls.
// Few enough loads in all: each load of a library built with the static
// posix-thread runtime of mingw keeps one TLS slot (about 1,080 in a process).
template <class Work> double PerCall(Work&& work, int rounds = 9, int calls = 10)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round)
    {
        const double start = Seconds();
        for (int call = 0; call < calls; ++call)
            work();
        times.push_back((Seconds() - start) / calls);
    }
    return Median(times);
}

// The writer as a program would use it without the plug-in.
int WriteWithTheWriterAlone(const std::string& writer, const void* part, const char* file)
{
    HMODULE module = LoadLibraryA(writer.c_str());
    auto saveVersion = reinterpret_cast<SaveVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "QelSatWriter_SaveVersion")));
    auto create = reinterpret_cast<CreateSatFileFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "QelSatWriter_CreateSatFile")));
    if (saveVersion == nullptr || create == nullptr)
        return 0;
    const int written = saveVersion(4, 0) != 0 && create(part, file) != 0 ? 1 : 0;
    FreeLibrary(module);
    return written;
}

void BenchDirectFile(HMODULE plugin, const std::vector<uint8_t>& part, const std::string& folder)
{
    auto direct = reinterpret_cast<DirectFileFunction>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "QelCreateDirectFile")));
    const std::string writer = qel::test::BinFolder() + "\\QelSatWr.dll";
    const std::string file = folder + "\\direct.sat";
    auto plugIn = [&]
    {
        char name[260] = {};
        std::snprintf(name, sizeof(name), "%s", file.c_str());
        direct(part.data(), name, sizeof(name));
    };
    auto alone = [&] { WriteWithTheWriterAlone(writer, part.data(), file.c_str()); };
    for (bool ole : {true, false})
    {
        if (ole)
            OleInitialize(nullptr); // as a catalogue program's thread has it
        const double ours = PerCall(plugIn);
        const double theirs = PerCall(alone);
        if (ole)
            OleUninitialize();
        std::printf("QelCreateDirectFile %s OLE: %.3f ms, the writer alone: %.3f ms\n",
                    ole ? "with" : "without", ours * 1e3, theirs * 1e3);
        std::printf("ratio directfile_vs_writer_%s %.2f\n", ole ? "ole" : "no_ole", ours / theirs);
    }
}

// The plug-in's own work in an insertion, measured piece by piece.
struct Breakdown
{
    double ole = 0;
    double settings = 0;
    double mainLibrary = 0;
    double satFile = 0;
};

Breakdown MeasureOwnWork(const std::vector<uint8_t>& part, const std::string& folder)
{
    Breakdown parts;
    parts.ole = PerCall(
        []
        {
            OleInitialize(nullptr);
            OleUninitialize();
        });
    parts.settings = PerCall([] { qel::CSettingsFile settings("QelSW99_3D.ini"); });
    const std::string main = qel::test::BinFolder() + "\\QelMain.dll";
    parts.mainLibrary = PerCall([&] { FreeLibrary(LoadLibraryA(main.c_str())); });
    const std::string writer = qel::test::BinFolder() + "\\QelSatWr.dll";
    const std::string sat = folder + "\\breakdown.sat";
    parts.satFile = PerCall([&] { WriteWithTheWriterAlone(writer, part.data(), sat.c_str()); });
    return parts;
}

} // namespace

int Run();

int main()
{
    try
    {
        return Run();
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "bench_insertion: %s\n", error.what());
        return 1;
    }
    catch (...)
    {
        std::fprintf(stderr, "bench_insertion: unexpected failure\n");
        return 1;
    }
}

int Run()
{
    constexpr int kRounds = 30;
    swsim::CSimulatorClient simulator("docs=assembly");
    qel::test::CScratchFolder folder("bench-insertion");
    const char* trace = std::getenv("QEL_BENCH_TRACE");
    qel::test::CSettingsFileOverride settings("[Options]\r\nPartPath=" + folder.Path() +
                                              "\r\nTrace=" + (trace != nullptr ? trace : "0") +
                                              "\r\n");
    HMODULE plugin = LoadLibraryA((qel::test::BinFolder() + "\\QelSW99_3D.dll").c_str());
    auto insert = reinterpret_cast<InsertFunction>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "QelCreate_2")));
    if (insert == nullptr)
    {
        std::fprintf(stderr, "cannot load the plug-in\n");
        return 1;
    }
    qel::test::CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    builder.AddAttribute("Strength class", "8.8");
    const std::vector<uint8_t> part = builder.Build();
    const std::string partFile = folder.PathOf("M8x20_DIN 933_8.8.SLDPRT");

    // One insertion as the host makes it (1 when it worked).
    auto insertOnce = [&](std::vector<double>* times)
    {
        simulator.Configure("reset=1 docs=assembly");
        DeleteFileA(partFile.c_str());
        char error[512] = {};
        const double start = Seconds();
        const int result = insert(part.data(), "ShowMessages=0", error, sizeof(error));
        if (times != nullptr)
            times->push_back(Seconds() - start);
        if (result != 1)
            std::fprintf(stderr, "insertion failed: %s\n", error);
        return result == 1;
    };
    if (!insertOnce(nullptr))
        return 1;
    // The yardstick: the calls of that insertion replayed by a minimal client,
    // against the SAT file it left, so that the simulator does the same work.
    const std::vector<std::string> journal = simulator.JournalLines();
    const std::size_t calls = journal.size();
    const CJournalReplay replay(journal);
    auto replayOnce = [&](std::vector<double>* times)
    {
        simulator.Configure("reset=1 docs=assembly");
        DeleteFileA(partFile.c_str());
        CoInitialize(nullptr); // a client has OLE on its thread before it starts
        const double start = Seconds();
        bool done = false;
        {
            Microsoft::WRL::ComPtr<IDispatch> application;
            done = SUCCEEDED(swsim::GetActiveDispatch(L"SldWorks.Application", application)) &&
                   replay.Run(application.Get());
        }
        times->push_back(Seconds() - start);
        CoUninitialize();
        if (!done || simulator.JournalLines().size() != calls)
            std::fprintf(stderr, "the replay failed or made other calls than the insertion\n");
        return done && simulator.JournalLines().size() == calls;
    };
    // Taken in turns, and compared pair by pair: a machine that grows busier
    // or quieter during the run weighs on both of a pair alike.
    std::vector<double> insertions;
    std::vector<double> replays;
    std::vector<double> pairRatios;
    for (int round = 0; round < kRounds; ++round)
    {
        if (!insertOnce(&insertions) || !replayOnce(&replays))
            return 1;
        pairRatios.push_back(insertions.back() / replays.back());
    }
    const Breakdown parts = MeasureOwnWork(part, folder.Path());
    BenchDirectFile(plugin, part, folder.Path());
    FreeLibrary(plugin);

    const double lock = PerCall(
        [&]
        {
            qel::CPartDirectoryLock directoryLock(folder.Path().c_str());
            directoryLock.TryAcquire();
        },
        9, 100);

    const double insertion = Median(insertions);
    const double replayed = Median(replays);
    std::printf("calls per insertion: %zu\n", calls);
    std::printf("insertion (median of %d): %.2f ms\n", kRounds, insertion * 1e3);
    std::printf("replay of its %zu calls (median of %d): %.2f ms\n", calls, kRounds,
                replayed * 1e3);
    std::printf("insertion over replay: %.2f by the medians, %.2f to %.2f by the pairs\n",
                insertion / replayed, *std::min_element(pairRatios.begin(), pairRatios.end()),
                *std::max_element(pairRatios.begin(), pairRatios.end()));
    std::printf("ratio insertion_vs_replay %.2f\n", Median(pairRatios));
    const double own = parts.ole + parts.settings + parts.mainLibrary + parts.satFile;
    std::printf("the difference, %.2f ms: OLE started and ended (already started on this "
                "thread, as on a host's) %.2f, settings read %.2f, "
                "QelMain.dll loaded and freed %.2f, SAT file written (writer loaded, two calls, "
                "freed) %.2f, the rest (window steps, lock, file checks) %.2f\n",
                (insertion - replayed) * 1e3, parts.ole * 1e3, parts.settings * 1e3,
                parts.mainLibrary * 1e3, parts.satFile * 1e3, (insertion - replayed - own) * 1e3);
    std::printf("lock taken and released (median of 9 x 100): %.3f ms\n", lock * 1e3);
    std::printf("ratio lock_vs_insertion %.3f\n", lock / insertion);
    return 0;
}
