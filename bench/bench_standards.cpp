// How long one standard timing takes: each formula for a 1920x1080 request, the DMT and
// CTA-861 lookups the dialog's Show makes, and a match of a measurement against both lists.
#include <benchmark/benchmark.h>

#include "standards/Timing.h"

namespace {

void Formula(benchmark::State& state, standards::Formula formula) {
    const standards::Request request{1920, 1080, 59.94, false};
    for (auto _ : state)
        benchmark::DoNotOptimize(standards::Compute(formula, request));
}
BENCHMARK_CAPTURE(Formula, Cvt, standards::Formula::Cvt);
BENCHMARK_CAPTURE(Formula, CvtRb, standards::Formula::CvtRb);
BENCHMARK_CAPTURE(Formula, CvtRb2, standards::Formula::CvtRb2);
BENCHMARK_CAPTURE(Formula, CvtRb3, standards::Formula::CvtRb3);
BENCHMARK_CAPTURE(Formula, Gtf, standards::Formula::Gtf);

void FittingCta(benchmark::State& state) {
    const standards::Request request{1920, 1080, 0.0, false};
    for (auto _ : state)
        benchmark::DoNotOptimize(standards::FittingEntries(standards::TableEntry::Cta, request));
}
BENCHMARK(FittingCta);

void MatchBothLists(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(standards::MatchMeasurement(1920, 1080, 67.50, 0.5));
}
BENCHMARK(MatchBothLists);

}  // namespace

BENCHMARK_MAIN();
