#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "crt/format.h"
#include "db/database.h"
#include "db/entity.h"
#include "db/symboltable.h"

namespace {

using Clock = std::chrono::steady_clock;

// A drawing of `count` entities in model space; `probe` is one in the middle.
struct Drawing {
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>();
    AcDbObjectId probe;

    explicit Drawing(int count) {
        AcDbBlockTableRecord* space = nullptr;
        acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite);
        for (int i = 0; i < count; ++i) {
            auto* entity = new AcDbEntity;
            entity->setColorIndex(static_cast<Adesk::UInt16>(i % 256));
            AcDbObjectId id;
            space->appendAcDbEntity(id, entity);
            entity->close();
            if (i == count / 2)
                probe = id;
        }
        space->close();
    }
};

Drawing& drawingOf(int count) {
    static Drawing small(100);
    static Drawing large(100000);
    static Drawing medium(10000);
    return count == 100 ? small : count == 10000 ? medium : large;
}

void openModifyClose(const AcDbObjectId& id, Adesk::UInt16 color) {
    AcDbEntity* entity = nullptr;
    acdbOpenAcDbEntity(entity, id, AcDb::kForWrite);
    entity->setColorIndex(color);
    entity->close();
}

double secondsFor(int rounds, const AcDbObjectId& id) {
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        openModifyClose(id, static_cast<Adesk::UInt16>(i & 0xFF));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string tempFile(const char* name) {
    return "/tmp/sv_db_bench_" + std::to_string(::getpid()) + "_" + name;
}

std::string savedDrawing(int count) {
    const std::string path = tempFile(("load" + std::to_string(count) + ".svd").c_str());
    drawingOf(count).db->saveAs(svFromUtf8(path).c_str());
    return path;
}

double loadSeconds(const std::string& path) {
    const std::wstring file = svFromUtf8(path);
    const auto start = Clock::now();
    AcDbDatabase loaded(false);
    if (loaded.readDwgFile(file.c_str()) != Acad::eOk)
        return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

static void BM_OpenModifyClose(benchmark::State& state) {
    const AcDbObjectId id = drawingOf(static_cast<int>(state.range(0))).probe;
    Adesk::UInt16 color = 0;
    for (auto _ : state)
        openModifyClose(id, color++ & 0xFF);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OpenModifyClose)->Arg(100)->Arg(100000);

// One object's open-modify-close in a drawing of 100,000 objects against the same in 100 objects,
// measured side by side; the ratio should stay near 1.
static void BM_OpenModifyCloseScaling(benchmark::State& state) {
    const AcDbObjectId small = drawingOf(100).probe;
    const AcDbObjectId large = drawingOf(100000).probe;
    constexpr int kRounds = 20000;
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += secondsFor(kRounds, small);
        largeSeconds += secondsFor(kRounds, large);
    }
    const double ops = static_cast<double>(state.iterations()) * kRounds;
    state.counters["ns_100"] = smallSeconds / ops * 1e9;
    state.counters["ns_100k"] = largeSeconds / ops * 1e9;
    state.counters["ratio_100k_vs_100"] = largeSeconds / smallSeconds;
}
BENCHMARK(BM_OpenModifyCloseScaling)->Unit(benchmark::kMillisecond);

static void BM_Save(benchmark::State& state) {
    AcDbDatabase* db = drawingOf(static_cast<int>(state.range(0))).db.get();
    const std::string path = tempFile("save.svd");
    const std::wstring file = svFromUtf8(path);
    for (auto _ : state)
        db->saveAs(file.c_str());
    state.counters["objects_per_s"] = benchmark::Counter(
        static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    ::unlink(path.c_str());
}
BENCHMARK(BM_Save)->Arg(100000)->Unit(benchmark::kMillisecond);

static void BM_Load(benchmark::State& state) {
    const std::string path = savedDrawing(static_cast<int>(state.range(0)));
    const std::wstring file = svFromUtf8(path);
    for (auto _ : state) {
        AcDbDatabase loaded(false);
        benchmark::DoNotOptimize(loaded.readDwgFile(file.c_str()));
    }
    state.counters["objects_per_s"] = benchmark::Counter(
        static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    ::unlink(path.c_str());
}
BENCHMARK(BM_Load)->Arg(100000)->Unit(benchmark::kMillisecond);

// Loading ten times the objects should take about ten times as long (at most 12). The best of
// several loads of each is compared, so a busy machine does not decide the ratio.
static void BM_LoadScaling(benchmark::State& state) {
    const std::string small = savedDrawing(10000);
    const std::string large = savedDrawing(100000);
    double smallSeconds = 1e9;
    double largeSeconds = 1e9;
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i)
            smallSeconds = std::min(smallSeconds, loadSeconds(small));
        largeSeconds = std::min(largeSeconds, loadSeconds(large));
    }
    state.counters["ms_10k"] = smallSeconds * 1e3;
    state.counters["ms_100k"] = largeSeconds * 1e3;
    state.counters["ratio_100k_vs_10k"] = largeSeconds / smallSeconds;
    ::unlink(small.c_str());
    ::unlink(large.c_str());
}
BENCHMARK(BM_LoadScaling)->Unit(benchmark::kMillisecond)->Iterations(5);
