// How collecting attributes scales, and how fast the host part block is read
// compared with a plain scan of its bytes.
//
// After the runs the program prints the raw figures ("figure NAME VALUE") and
//   ratio attributes_100k_vs_5k VALUE         time for 100,000 pairs / time for 5,000 (goal <= 25)
//   ratio part_block_read_time_vs_scan VALUE  read time / scan time of one block (goal <= 2)
// Times are CPU times per iteration, the fastest of five repetitions.
#include "cad/AttributeList.h"
#include "cad/PartBlockReader.h"
#include "tools/partblock/PartBlockBuilder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

constexpr int kFewAttributes = 5000;
constexpr int kManyAttributes = 100000;
constexpr int kLargeBlockRecords = 1000000;

constexpr int kRepetitions = 5;

// Every benchmark runs five times and reports, besides mean and median, the
// fastest run: the figure least disturbed by other work on the machine.
void Repeated(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", [](const std::vector<double>& times)
                            { return *std::min_element(times.begin(), times.end()); });
}

// A block of count distinct attributes, named like a catalogue's.
Bytes AttributeBlock(int count)
{
    qel::test::CPartBlockBuilder builder;
    for (int i = 0; i < count; ++i)
        builder.AddAttribute("Attribute" + std::to_string(i), "Value " + std::to_string(i * 7));
    return builder.Build();
}

// One million records of geometry-like items with payloads of 0 to 52 bytes
// (about 32 MB), a few attribute items among them.
const Bytes& LargeBlock()
{
    static const Bytes block = []
    {
        qel::test::CPartBlockBuilder builder;
        std::uint32_t seed = 12345;
        for (int i = 0; i < kLargeBlockRecords; ++i)
        {
            if (i % 100000 == 0)
            {
                builder.AddAttribute("Name" + std::to_string(i), "Value");
                continue;
            }
            seed = seed * 1103515245u + 12345u;
            const std::size_t length = (seed >> 16) % 53;
            const auto code = static_cast<std::int16_t>(1 + (seed >> 8) % 90);
            builder.AddItem(code, Bytes(length, static_cast<std::uint8_t>(seed)));
        }
        return builder.Build();
    }();
    return block;
}

void BM_CollectAttributes(benchmark::State& state)
{
    const Bytes block = AttributeBlock(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        qel::CAttributeList list;
        auto result = qel::CPartBlockReader(block.data()).CollectAttributes(list);
        benchmark::DoNotOptimize(result);
        if (list.GetCount() != state.range(0))
            state.SkipWithError("not every attribute was collected");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CollectAttributes)
    ->Arg(kFewAttributes)
    ->Arg(kManyAttributes)
    ->Unit(benchmark::kMillisecond)
    ->Apply(Repeated);

void BM_ReadLargeBlock(benchmark::State& state)
{
    const Bytes& block = LargeBlock();
    for (auto _ : state)
    {
        qel::CAttributeList list;
        auto result = qel::CPartBlockReader(block.data()).CollectAttributes(list);
        benchmark::DoNotOptimize(result);
        if (result != qel::PartBlockResult::Collected || list.GetCount() != 10)
            state.SkipWithError("the large block was not read");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(BM_ReadLargeBlock)->Unit(benchmark::kMillisecond)->Apply(Repeated);

// The yardstick: every byte of the block loaded and summed. The bytes are
// summed in 32-bit parts of 64 KB, a loop the compiler vectorises; a 64-bit
// sum byte by byte would stay scalar and make the yardstick slow.
std::uint64_t SumOfBytes(const Bytes& bytes)
{
    constexpr std::size_t kPart = 64 * 1024; // 255 * 64 K fits into 32 bits
    std::uint64_t sum = 0;
    for (std::size_t start = 0; start < bytes.size(); start += kPart)
    {
        const std::size_t end = std::min(bytes.size(), start + kPart);
        std::uint32_t part = 0;
        for (std::size_t i = start; i < end; ++i)
            part += bytes[i];
        sum += part;
    }
    return sum;
}

void BM_ScanLargeBlock(benchmark::State& state)
{
    const Bytes& block = LargeBlock();
    for (auto _ : state)
    {
        std::uint64_t sum = SumOfBytes(block);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(BM_ScanLargeBlock)->Unit(benchmark::kMillisecond)->Apply(Repeated);

// Keeps the fastest CPU time per iteration (in milliseconds, the unit of every
// benchmark here) of each benchmark. CPU time rather than wall time, so that
// other work on the machine counts less.
class CRecordingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            if (run.error_occurred)
                continue;
            const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
            if (run.run_type == Run::RT_Iteration || fastest)
                m_milliseconds[NameAndArguments(run)] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Milliseconds(const std::string& name) const
    {
        auto found = m_milliseconds.find(name);
        return found == m_milliseconds.end() ? 0.0 : found->second;
    }

private:
    // "BM_CollectAttributes/5000", without the repetitions.
    static std::string NameAndArguments(const Run& run)
    {
        const std::string& args = run.run_name.args;
        return run.run_name.function_name + (args.empty() ? "" : "/" + args);
    }

    std::map<std::string, double> m_milliseconds;
};

double Ratio(double numerator, double denominator)
{
    return denominator > 0.0 ? numerator / denominator : 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double few =
        reporter.Milliseconds("BM_CollectAttributes/" + std::to_string(kFewAttributes));
    const double many =
        reporter.Milliseconds("BM_CollectAttributes/" + std::to_string(kManyAttributes));
    const double read = reporter.Milliseconds("BM_ReadLargeBlock");
    const double scan = reporter.Milliseconds("BM_ScanLargeBlock");
    const double megabytes = static_cast<double>(LargeBlock().size()) / 1e6;

    std::printf("figure collect_5k_ms %.3f\n", few);
    std::printf("figure collect_100k_ms %.3f\n", many);
    std::printf("figure part_block_megabytes %.1f\n", megabytes);
    std::printf("figure part_block_read_megabytes_per_second %.0f\n",
                Ratio(megabytes * 1000.0, read));
    std::printf("figure part_block_scan_megabytes_per_second %.0f\n",
                Ratio(megabytes * 1000.0, scan));
    std::printf("ratio attributes_100k_vs_5k %.2f\n", Ratio(many, few));
    std::printf("ratio part_block_read_time_vs_scan %.2f\n", Ratio(read, scan));
    return 0;
}
