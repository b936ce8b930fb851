// How collecting attributes scales, and how fast the host part block is read
// compared with a plain scan of its bytes.
//
// After the runs the program prints the raw figures ("figure NAME VALUE") and
//   ratio attributes_100k_vs_5k VALUE   time for 100,000 pairs / time for 5,000 (goal <= 25)
//   ratio load_text_file_4m_vs_64k_per_byte VALUE
//                                       loading a 4 MB attribute file / a 64 KB one, per
//                                       byte (1 when linear)
//   ratio read_vs_scan_SHAPE VALUE      reading a block / scanning its bytes (goal <= 3), for
//                                       each block shape
// Times are CPU times per iteration, the fastest of five repetitions.
#include "cad/AttributeList.h"
#include "cad/PartBlockReader.h"
#include "tools/partblock/PartBlockBuilder.h"

#include <benchmark/benchmark.h>
#include <emmintrin.h>

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

constexpr int kSmallTextFile = 64 * 1024;
constexpr int kLargeTextFile = 4 * 1024 * 1024;

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
Bytes LargeBlock()
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
}

// A catalogue part as the host hands it over: 40 attributes of a norm part,
// then geometry items up to 64 KB.
Bytes TypicalPartBlock()
{
    qel::test::CPartBlockBuilder builder;
    for (int i = 0; i < 40; ++i)
        builder.AddAttribute("Attribute " + std::to_string(i), "Value " + std::to_string(i * 7));
    std::size_t size = builder.Build().size();
    for (int i = 0; size < 64 * 1024; ++i)
    {
        const std::size_t length = 8 + (i * 37) % 120;
        builder.AddItem(static_cast<std::int16_t>(1 + i % 90), Bytes(length, 0x5A));
        size += qel::test::CPartBlockBuilder::kItemHeaderSize + length;
    }
    return builder.Build();
}

// count attributes whose values have the given length.
Bytes LongValueBlock(int count, std::size_t valueLength)
{
    qel::test::CPartBlockBuilder builder;
    for (int i = 0; i < count; ++i)
    {
        std::string value = std::to_string(i) + " ";
        value.resize(valueLength, static_cast<char>('a' + i % 26));
        builder.AddAttribute("Attribute " + std::to_string(i), value);
    }
    return builder.Build();
}

// The blocks the reader is measured on, by the benchmarks' argument.
enum Shape
{
    kTypicalPart,        // 64 KB, 40 attributes
    kThousandAttributes, // 1,000 attributes with values of 60 characters
    kLongValues,         // 40 values of 30,000 characters
    kLargeGeometry,      // about 32 MB, one million records
    kShapeCount
};

const char* const kShapeNames[kShapeCount] = {"part_64k_40_attributes", "attributes_1000x60",
                                              "values_40x30000", "large_block"};
const int kShapeAttributes[kShapeCount] = {40, 1000, 40, 10};

const Bytes& ShapeBlock(int shape)
{
    static const Bytes blocks[kShapeCount] = {TypicalPartBlock(), LongValueBlock(1000, 60),
                                              LongValueBlock(40, 30000), LargeBlock()};
    return blocks[shape];
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

void BM_ReadBlock(benchmark::State& state)
{
    const auto shape = static_cast<int>(state.range(0));
    const Bytes& block = ShapeBlock(shape);
    for (auto _ : state)
    {
        qel::CAttributeList list;
        auto result = qel::CPartBlockReader(block.data()).CollectAttributes(list);
        benchmark::DoNotOptimize(result);
        if (result != qel::PartBlockResult::Collected || list.GetCount() != kShapeAttributes[shape])
            state.SkipWithError("the block was not read");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(BM_ReadBlock)
    ->DenseRange(0, kShapeCount - 1)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(Repeated);

// The yardstick: every byte of the block loaded and summed, 16 bytes a step
// with SSE2's sum of absolute differences (the bytes against zero).
std::uint64_t SumOfBytes(const Bytes& bytes)
{
    const std::size_t whole = bytes.size() / 16 * 16;
    __m128i sums = _mm_setzero_si128();
    const __m128i zero = _mm_setzero_si128();
    for (std::size_t i = 0; i < whole; i += 16)
    {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&bytes[i]));
        sums = _mm_add_epi64(sums, _mm_sad_epu8(chunk, zero));
    }
    std::uint64_t sum =
        static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
        static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    for (std::size_t i = whole; i < bytes.size(); ++i)
        sum += bytes[i];
    return sum;
}

void BM_ScanBlock(benchmark::State& state)
{
    const Bytes& block = ShapeBlock(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        std::uint64_t sum = SumOfBytes(block);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(BM_ScanBlock)
    ->DenseRange(0, kShapeCount - 1)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(Repeated);

// A text file of attribute lines (name, value, name, ...) of about the given
// size, written once per size into the temporary folder.
std::string AttributeTextFile(std::size_t bytes)
{
    const std::string path = "/tmp/qel-bench-attributes-" + std::to_string(bytes) + ".txt";
    std::string text;
    for (int i = 0; text.size() < bytes; ++i)
        text +=
            "Attribute " + std::to_string(i) + "\nValue of attribute " + std::to_string(i) + "\n";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr)
    {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    return path;
}

void BM_LoadFromTextFile(benchmark::State& state)
{
    const std::string path = AttributeTextFile(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
    {
        qel::CAttributeList list;
        if (list.LoadFromTextFile(path.c_str(), 1) != 1 || list.GetCount() == 0)
            state.SkipWithError("the file was not loaded");
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadFromTextFile)
    ->RangeMultiplier(4)
    ->Range(kSmallTextFile, kLargeTextFile)
    ->Unit(benchmark::kMillisecond)
    ->Apply(Repeated);

// Keeps the fastest CPU time per iteration (in the benchmark's own unit) of
// each benchmark. CPU time rather than wall time, so that
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
                m_times[NameAndArguments(run)] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Time(const std::string& name) const
    {
        auto found = m_times.find(name);
        return found == m_times.end() ? 0.0 : found->second;
    }

private:
    // "BM_CollectAttributes/5000", without the repetitions.
    static std::string NameAndArguments(const Run& run)
    {
        const std::string& args = run.run_name.args;
        return run.run_name.function_name + (args.empty() ? "" : "/" + args);
    }

    std::map<std::string, double> m_times;
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

    const double few = reporter.Time("BM_CollectAttributes/" + std::to_string(kFewAttributes));
    const double many = reporter.Time("BM_CollectAttributes/" + std::to_string(kManyAttributes));
    std::printf("figure collect_5k_ms %.3f\n", few);
    std::printf("figure collect_100k_ms %.3f\n", many);
    std::printf("ratio attributes_100k_vs_5k %.2f\n", Ratio(many, few));

    // Reading is linear when 64 times the bytes take about 64 times as long.
    const double small = reporter.Time("BM_LoadFromTextFile/" + std::to_string(kSmallTextFile));
    const double large = reporter.Time("BM_LoadFromTextFile/" + std::to_string(kLargeTextFile));
    std::printf("figure load_text_file_64k_ms %.3f\n", small);
    std::printf("figure load_text_file_4m_ms %.3f\n", large);
    std::printf("ratio load_text_file_4m_vs_64k_per_byte %.2f\n",
                Ratio(large, small) * kSmallTextFile / kLargeTextFile);

    for (int shape = 0; shape < kShapeCount; ++shape)
    {
        const double read = reporter.Time("BM_ReadBlock/" + std::to_string(shape));
        const double scan = reporter.Time("BM_ScanBlock/" + std::to_string(shape));
        const double megabytes = static_cast<double>(ShapeBlock(shape).size()) / 1e6;
        std::printf("figure %s_kilobytes %.0f\n", kShapeNames[shape], megabytes * 1000.0);
        std::printf("figure %s_read_megabytes_per_second %.0f\n", kShapeNames[shape],
                    Ratio(megabytes * 1e6, read));
        std::printf("figure %s_scan_megabytes_per_second %.0f\n", kShapeNames[shape],
                    Ratio(megabytes * 1e6, scan));
        std::printf("ratio read_vs_scan_%s %.2f\n", kShapeNames[shape], Ratio(read, scan));
    }
    return 0;
}
