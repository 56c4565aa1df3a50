// Cost of ScaleTable::findRow per lookup, for each of the six columns, on
// texts that hit a row and on texts that miss, plus the number of heap
// allocations per lookup, which must be 0.
//
// Arguments of each benchmark: the column's index in allScaleColumns
// (0 Force, 1 Description, 2 Knots, 3 MetresPerSecond, 4 MilesPerHour,
// 5 WaveHeight). One iteration is one lookup, so the reported time per
// iteration is nanoseconds per lookup. The program exits 1 if any lookup
// allocated.

#include "core/scale/scalecolumn.h"
#include "core/scale/scalerow.h"
#include "core/scale/scaletable.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

// The lookup reads UTF-16 text, as QString holds it.
std::u16string_view utf16(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}

} // namespace

// Every heap allocation of the process goes through these, so the loops below
// can tell exactly how many happened while they ran.
namespace {
std::atomic<long long> allocationCount{0};
std::atomic<bool> lookupAllocated{false};

void *countedAllocation(std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void *countedAlignedAllocation(std::size_t size, std::align_val_t alignment)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    if (void *p = std::aligned_alloc(align, rounded ? rounded : align))
        return p;
    throw std::bad_alloc();
}
} // namespace

void *operator new(std::size_t size)
{
    return countedAllocation(size);
}
void *operator new[](std::size_t size)
{
    return countedAllocation(size);
}
void *operator new(std::size_t size, std::align_val_t alignment)
{
    return countedAlignedAllocation(size, alignment);
}
void *operator new[](std::size_t size, std::align_val_t alignment)
{
    return countedAlignedAllocation(size, alignment);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

namespace {

ScaleColumn columnOf(const benchmark::State &state)
{
    return allScaleColumns.at(std::size_t(state.range(0)));
}

// The 13 texts of the column, as a box hands them to the lookup.
std::vector<QString> hitTexts(ScaleColumn column)
{
    std::vector<QString> texts;
    for (std::string_view text : ScaleTable::columnTexts(column))
        texts.push_back(QString::fromLatin1(text.data(), qsizetype(text.size())));
    return texts;
}

// Texts a user may type that match no row of any column: near misses that
// differ in one character at the end (the costliest miss for a text
// comparison), wrong case, other lengths, empty, and out-of-range numbers.
std::vector<QString> missTexts()
{
    return {
        u"Gale "_qs,   u"hurricane"_qs,   u"Calm."_qs,        u"64 -"_qs,
        u"0 - 0.3"_qs, u"14.5"_qs,        u"13"_qs,           u"-1"_qs,
        u""_qs,        u"1e1"_qs,         u"0x0C"_qs,         u"2.5"_qs,
        u"Stormy"_qs,  u"Less than 2"_qs, u"Light Breezy"_qs, u"11 - 17"_qs,
    };
}

void runLookups(benchmark::State &state, const std::vector<QString> &texts, bool expectHits)
{
    const ScaleColumn column = columnOf(state);
    for (const QString &text : texts) {
        if ((ScaleTable::findRow(column, utf16(text)) != nullptr) != expectHits) {
            state.SkipWithError("a text does not hit or miss as the benchmark assumes");
            return;
        }
    }
    std::size_t next = 0;
    const long long allocationsBefore = allocationCount.load();
    for (auto _ : state) {
        const ScaleRow *row = ScaleTable::findRow(column, utf16(texts[next]));
        benchmark::DoNotOptimize(row);
        if (++next == texts.size())
            next = 0;
    }
    const long long allocations = allocationCount.load() - allocationsBefore;
    if (allocations != 0)
        lookupAllocated = true;
    state.SetItemsProcessed(state.iterations());
    state.counters["allocs_per_lookup"] =
        benchmark::Counter(double(allocations), benchmark::Counter::kAvgIterations);
}

void BM_FindRowHit(benchmark::State &state)
{
    runLookups(state, hitTexts(columnOf(state)), true);
}

void BM_FindRowMiss(benchmark::State &state)
{
    runLookups(state, missTexts(), false);
}

BENCHMARK(BM_FindRowHit)->DenseRange(0, 5)->ArgName("column");
BENCHMARK(BM_FindRowMiss)->DenseRange(0, 5)->ArgName("column");

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (lookupAllocated) {
        std::fprintf(stderr, "bench_findrow: FAIL, a lookup allocated memory\n");
        return 1;
    }
    std::fprintf(stderr, "bench_findrow: PASS, no lookup allocated memory\n");
    return 0;
}
