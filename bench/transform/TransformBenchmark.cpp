// The transform class side by side with Eigen on the same inputs: 4x4 product,
// inverse and mapping of points. After the runs the executable prints one line
// "ratio NAME VALUE" per pair (our time / Eigen's time, medians of the
// repetitions).
#include "geometry/Transform.h"

#include <Eigen/Dense>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

using qel::CTransform;
using qel::Vector3;
using EigenMatrix = Eigen::Matrix<double, 4, 4, Eigen::RowMajor>;
using Values = std::array<double, 16>;

constexpr int kMatrixCount = 256;
constexpr int kPointCount = 10000;

// Well-conditioned random matrices (diagonally dominant), the same for both sides.
const std::vector<Values>& Matrices()
{
    static const std::vector<Values> matrices = []
    {
        std::mt19937 random(12345);
        std::uniform_real_distribution<double> element(-1.0, 1.0);
        std::vector<Values> result(kMatrixCount);
        for (Values& m : result)
        {
            for (int i = 0; i < 16; ++i)
                m[i] = element(random) + (i % 5 == 0 ? 4.0 : 0.0);
        }
        return result;
    }();
    return matrices;
}

// General matrices: the same with their rows in a shuffled order, so that
// elimination has to swap rows.
const std::vector<Values>& GeneralMatrices()
{
    static const std::vector<Values> matrices = []
    {
        std::mt19937 random(54321);
        std::vector<Values> result = Matrices();
        for (Values& m : result)
        {
            std::array<int, 4> order = {0, 1, 2, 3};
            std::shuffle(order.begin(), order.end(), random);
            Values shuffled;
            for (int row = 0; row < 4; ++row)
                std::copy_n(m.begin() + 4 * order[row], 4, shuffled.begin() + 4 * row);
            m = shuffled;
        }
        return result;
    }();
    return matrices;
}

std::vector<EigenMatrix> EigenMatrices(const std::vector<Values>& source = Matrices())
{
    std::vector<EigenMatrix> result;
    for (const Values& m : source)
        result.push_back(Eigen::Map<const EigenMatrix>(m.data()));
    return result;
}

const double (*AsRows(const Values& m))[4]
{
    return reinterpret_cast<const double(*)[4]>(m.data());
}

// Rotation, translation and a mild perspective: w stays near 1.
void SetPointTransform(CTransform& t)
{
    t.RotateX(30);
    t.RotateY(-20);
    t.RotateZ(75);
    t.Translate(1, 2, 3);
    const double perspective[4][4] = {
        {1, 0, 0, 0.001}, {0, 1, 0, 0.002}, {0, 0, 1, -0.001}, {0, 0, 0, 1}};
    t.Multiply(perspective);
}

std::vector<Vector3> Points()
{
    std::mt19937 random(99);
    std::uniform_real_distribution<double> coordinate(-100.0, 100.0);
    std::vector<Vector3> points(kPointCount);
    for (Vector3& p : points)
        p = {coordinate(random), coordinate(random), coordinate(random)};
    return points;
}

void BM_Multiply_Qel(benchmark::State& state)
{
    const std::vector<Values>& matrices = Matrices();
    CTransform t;
    for (auto _ : state)
    {
        for (int k = 0; k < kMatrixCount; ++k)
        {
            t.SetProduct(AsRows(matrices[k]), AsRows(matrices[(k + 1) % kMatrixCount]));
            benchmark::DoNotOptimize(t);
        }
    }
    state.SetItemsProcessed(state.iterations() * kMatrixCount);
}

void BM_Multiply_Eigen(benchmark::State& state)
{
    const std::vector<EigenMatrix> matrices = EigenMatrices();
    EigenMatrix product;
    for (auto _ : state)
    {
        for (int k = 0; k < kMatrixCount; ++k)
        {
            product.noalias() = matrices[k] * matrices[(k + 1) % kMatrixCount];
            benchmark::DoNotOptimize(product);
        }
    }
    state.SetItemsProcessed(state.iterations() * kMatrixCount);
}

void InvertQel(benchmark::State& state, const std::vector<Values>& matrices)
{
    CTransform t;
    for (auto _ : state)
    {
        for (int k = 0; k < kMatrixCount; ++k)
        {
            t.SetValues(matrices[k].data());
            benchmark::DoNotOptimize(t.Invert());
            benchmark::DoNotOptimize(t);
        }
    }
    state.SetItemsProcessed(state.iterations() * kMatrixCount);
}

void InvertEigen(benchmark::State& state, const std::vector<EigenMatrix>& matrices)
{
    EigenMatrix inverse;
    for (auto _ : state)
    {
        for (int k = 0; k < kMatrixCount; ++k)
        {
            inverse = matrices[k].inverse();
            benchmark::DoNotOptimize(inverse);
        }
    }
    state.SetItemsProcessed(state.iterations() * kMatrixCount);
}

void BM_Invert_Qel(benchmark::State& state)
{
    InvertQel(state, Matrices());
}

void BM_Invert_Eigen(benchmark::State& state)
{
    InvertEigen(state, EigenMatrices());
}

void BM_InvertGeneral_Qel(benchmark::State& state)
{
    InvertQel(state, GeneralMatrices());
}

void BM_InvertGeneral_Eigen(benchmark::State& state)
{
    InvertEigen(state, EigenMatrices(GeneralMatrices()));
}

void BM_TransformPoint_Qel(benchmark::State& state)
{
    CTransform t;
    SetPointTransform(t);
    const std::vector<Vector3> points = Points();
    std::vector<Vector3> mapped(points.size());
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < points.size(); ++i)
        {
            mapped[i] = points[i];
            t.TransformPoint(mapped[i]);
        }
        benchmark::DoNotOptimize(mapped.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPointCount);
}

void BM_TransformPoint_Eigen(benchmark::State& state)
{
    CTransform t;
    SetPointTransform(t);
    const EigenMatrix m = Eigen::Map<const EigenMatrix>(&t.GetMatrix()[0][0]);
    std::vector<Eigen::Vector3d> points;
    for (const Vector3& p : Points())
        points.emplace_back(p.x, p.y, p.z);
    std::vector<Eigen::Vector3d> mapped(points.size());
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < points.size(); ++i)
        {
            const Eigen::RowVector4d h = points[i].homogeneous().transpose() * m;
            mapped[i] = h.head<3>().transpose() / h(3);
        }
        benchmark::DoNotOptimize(mapped.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPointCount);
}

BENCHMARK(BM_Multiply_Qel);
BENCHMARK(BM_Multiply_Eigen);
BENCHMARK(BM_Invert_Qel);
BENCHMARK(BM_Invert_Eigen);
BENCHMARK(BM_InvertGeneral_Qel);
BENCHMARK(BM_InvertGeneral_Eigen);
BENCHMARK(BM_TransformPoint_Qel);
BENCHMARK(BM_TransformPoint_Eigen);

// Shows the runs as the console reporter does and keeps the CPU time of each
// benchmark: the median when repetitions were run, else the single run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    // Colours only on a terminal: the scripts read the output as text.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports)
        {
            if (run.error_occurred)
                continue;
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_medians[name] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration)
                m_singles[name] = run.GetAdjustedCPUTime();
        }
    }

    void PrintRatios(std::ostream& out) const
    {
        const std::pair<const char*, const char*> pairs[] = {
            {"transform_multiply_vs_eigen", "BM_Multiply"},
            {"transform_invert_vs_eigen", "BM_Invert"},
            {"transform_invert_general_vs_eigen", "BM_InvertGeneral"},
            {"transform_point_vs_eigen", "BM_TransformPoint"},
        };
        for (const auto& [ratioName, benchmarkName] : pairs)
        {
            const double ours = Time(std::string(benchmarkName) + "_Qel");
            const double eigen = Time(std::string(benchmarkName) + "_Eigen");
            if (ours > 0 && eigen > 0)
                out << "ratio " << ratioName << " " << ours / eigen << "\n";
        }
        out.flush();
    }

private:
    double Time(const std::string& name) const
    {
        const auto median = m_medians.find(name);
        if (median != m_medians.end())
            return median->second;
        const auto single = m_singles.find(name);
        return single == m_singles.end() ? 0.0 : single->second;
    }

    std::map<std::string, double> m_medians;
    std::map<std::string, double> m_singles;
};

} // namespace

int main(int argc, char** argv)
{
    // Defaults that steady the ratios on a busy machine; flags given on the
    // command line come later and win.
    std::vector<char*> args = {argv[0]};
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    char repetitions[] = "--benchmark_repetitions=5";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    args.push_back(interleave);
    args.push_back(repetitions);
    args.push_back(aggregatesOnly);
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(std::cout);
    benchmark::Shutdown();
    return 0;
}
