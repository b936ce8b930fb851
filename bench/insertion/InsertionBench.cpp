// One full insertion (QelCreate_2 creating a new part) against the SolidWorks
// simulator, next to the same number of bare dispatch calls to it: what the
// plug-in adds to the calls it must make anyway. Prints the figures and
// "ratio insertion_vs_bare_calls N".
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>
#include <wrl/client.h>

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
    return values[values.size() / 2];
}

} // namespace

int main()
{
    constexpr int kRounds = 30;
    swsim::CSimulatorClient simulator("docs=assembly");
    qel::test::CScratchFolder folder("bench-insertion");
    qel::test::CSettingsFileOverride settings("[Options]\r\nPartPath=" + folder.Path() + "\r\n");
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

    std::vector<double> insertions;
    std::size_t calls = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        simulator.Configure("reset=1 docs=assembly");
        DeleteFileA(partFile.c_str());
        char error[512] = {};
        const double start = Seconds();
        const int result = insert(part.data(), "ShowMessages=0", error, sizeof(error));
        insertions.push_back(Seconds() - start);
        if (result != 1)
        {
            std::fprintf(stderr, "insertion failed: %s\n", error);
            return 1;
        }
        calls = simulator.JournalLines().size();
    }

    // The same number of calls made directly: the revision query, the
    // cheapest call the application answers.
    CoInitialize(nullptr);
    std::vector<double> bare;
    {
        Microsoft::WRL::ComPtr<IDispatch> application;
        if (FAILED(swsim::GetActiveDispatch(L"SldWorks.Application", application)))
            return 1;
        for (int round = 0; round < kRounds; ++round)
        {
            const double start = Seconds();
            for (std::size_t i = 0; i < calls; ++i)
            {
                DISPPARAMS none = {};
                VARIANT result;
                VariantInit(&result);
                application->Invoke(12, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                    &result, nullptr, nullptr);
                VariantClear(&result);
            }
            bare.push_back(Seconds() - start);
        }
    }
    CoUninitialize();
    FreeLibrary(plugin);

    const double insertion = Median(insertions);
    const double direct = Median(bare);
    std::printf("calls per insertion: %zu\n", calls);
    std::printf("insertion (median of %d): %.2f ms\n", kRounds, insertion * 1e3);
    std::printf("%zu bare calls (median of %d): %.2f ms\n", calls, kRounds, direct * 1e3);
    std::printf("ratio insertion_vs_bare_calls %.2f\n", insertion / direct);
    return 0;
}
