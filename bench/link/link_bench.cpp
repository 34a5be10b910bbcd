// What a live label costs: one update of a linked source against the same work written by hand,
// in drawings of 100 to 100,000 links; and the pass over queued self-links.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AcContentModifier.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyLinkStyleMgr.h"
#include "AcPropertyReader.h"
#include "bench_support.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/polyline.h"
#include "db/rtos.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "rx/dynlinker.h"

namespace {

using benchsupport::besideMe;
using benchsupport::openAs;
using benchsupport::square;
using Clock = std::chrono::steady_clock;

// `count` squares, each with a text beside it; linked through an area style when `links`,
// or linked to themselves (area into their own colour) when `selfLinks`.
struct Drawing {
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>();
    std::vector<AcDbObjectId> sources, labels, links;

    Drawing(int count, bool linked, bool selfLinked) {
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        AcDbObjectId style;
        if (linked || selfLinked) {
            auto* s = new AcPropertyLinkStyle;
            s->setPropertyReader(new AcAreaReader);
            s->setContentModifier(selfLinked ? static_cast<AcContentModifier*>(new AcColorModifier)
                                             : new AcTextModifier);
            AcDbDictionary* nod =
                openAs<AcDbDictionary>(db->namedObjectsDictionaryId(), AcDb::kForWrite);
            nod->setAt(L"Area", s, style);
            s->close();
            nod->close();
        }
        AcDbBlockTableRecord* space =
            openAs<AcDbBlockTableRecord>(db->modelSpaceId(), AcDb::kForWrite);
        for (int i = 0; i < count; ++i) {
            AcDbObjectId source, label;
            AcDbPolyline* outline = square(3.0 * i);
            space->appendAcDbEntity(source, outline);
            outline->close();
            auto* text = new AcDbText(AcGePoint3d(3.0 * i, 3.0, 0.0), L"?", AcDbObjectId(), 1.0);
            space->appendAcDbEntity(label, text);
            text->close();
            sources.push_back(source);
            labels.push_back(label);
        }
        space->close();
        if (!linked && !selfLinked)
            return;
        for (int i = 0; i < count; ++i)
            links.push_back(benchsupport::linkSource(sources[i], style,
                                                     selfLinked ? AcDbObjectId() : labels[i]));
    }
};

// Out of line, as byHand is, so that a profile tells the two apart.
[[gnu::noinline]] void moveCorner(AcDbObjectId source, double x, double height) {
    AcDbPolyline* outline = openAs<AcDbPolyline>(source, AcDb::kForWrite);
    outline->setPointAt(2, AcGePoint2d(x + 2.0, height));
    outline->close();
}

// The same effect written by hand: change the source, then read its area, format it as the
// drawing's units say and write it into the label.
[[gnu::noinline]] void byHand(AcDbObjectId source, AcDbObjectId label, double x, double height) {
    AcDbPolyline* outline = openAs<AcDbPolyline>(source, AcDb::kForWrite);
    outline->setPointAt(2, AcGePoint2d(x + 2.0, height));
    double area = 0.0;
    outline->getArea(area);
    outline->close();
    AcDbText* text = openAs<AcDbText>(label, AcDb::kForWrite);
    wchar_t buffer[132];
    acdbRToS(area, -1, -1, buffer);
    text->setTextString(buffer);
    text->close();
}

// Keyed by drawing size and access pattern.
std::map<std::pair<int64_t, int64_t>, double> g_liveNs;

// Pattern 0 edits the same 100 sources whatever the drawing's size, so only the drawing's size
// differs; pattern 1 spreads the edits over the whole drawing, so memory caches count too.
void LiveUpdate(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool spread = state.range(1) != 0;
    Drawing linked(n, true, false);
    Drawing plain(n, false, false);
    double liveNs = 0.0, handNs = 0.0;
    std::int64_t done = 0;
    for (auto _ : state) {
        const int i = static_cast<int>(spread ? (done * 7919) % n : done % 100);
        const double height = 3.0 + static_cast<double>(done % 5);
        acdbHostApplicationServices()->setWorkingDatabase(linked.db.get());
        const auto t0 = Clock::now();
        moveCorner(linked.sources[i], 3.0 * i, height);
        const auto t1 = Clock::now();
        acdbHostApplicationServices()->setWorkingDatabase(plain.db.get());
        const auto t2 = Clock::now();
        byHand(plain.sources[i], plain.labels[i], 3.0 * i, height);
        const auto t3 = Clock::now();
        const double live = std::chrono::duration<double, std::nano>(t1 - t0).count();
        liveNs += live;
        handNs += std::chrono::duration<double, std::nano>(t3 - t2).count();
        state.SetIterationTime(live * 1e-9);
        ++done;
    }
    state.counters["live_ns"] = liveNs / done;
    state.counters["by_hand_ns"] = handNs / done;
    state.counters["ratio"] = liveNs / handNs;
    g_liveNs[{n, state.range(1)}] = liveNs / done;
}
BENCHMARK(LiveUpdate)
    ->ArgNames({"links", "spread"})
    ->ArgsProduct({{100, 1000, 10000, 100000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// Made before the service exists: with it, every link created would queue itself at once.
std::map<int, std::unique_ptr<Drawing>> g_selfLinked;

// The pending list is filled through the service; only the pass is timed.
void DelayedPass(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Drawing& drawing = *g_selfLinked.at(n);
    acdbHostApplicationServices()->setWorkingDatabase(drawing.db.get());
    AcPropertyLinkStyleMgrInterface* manager = svFindStyleMgr();
    double fillSeconds = 0.0, passSeconds = 0.0;
    std::int64_t passes = 0;
    for (auto _ : state) {
        const auto f0 = Clock::now();
        for (AcDbObjectId link : drawing.links)
            manager->queueDelayedModification(link);
        const auto t0 = Clock::now();
        manager->performDelayedModifications();
        const auto t1 = Clock::now();
        fillSeconds += std::chrono::duration<double>(t0 - f0).count();
        const double pass = std::chrono::duration<double>(t1 - t0).count();
        passSeconds += pass;
        state.SetIterationTime(pass);
        ++passes;
    }
    state.counters["links_per_s"] = static_cast<double>(n) * passes / passSeconds;
    state.counters["queue_fill_s"] = fillSeconds / passes;
}
BENCHMARK(DelayedPass)->Arg(10000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DelayedPass)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!acrxLoadModule(besideMe(L"sentavell17.dbx").c_str(), false)) {
        std::fprintf(stderr, "cannot load sentavell17.dbx\n");
        return 1;
    }
    for (int n : {10000, 100000})
        g_selfLinked[n] = std::make_unique<Drawing>(n, false, true);
    if (!acrxLoadModule(besideMe(L"SentavellUi17.arx").c_str(), false)) {
        std::fprintf(stderr, "cannot load SentavellUi17.arx\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    for (int spread : {0, 1}) {
        const auto small = g_liveNs.find({100, spread}), large = g_liveNs.find({100000, spread});
        if (small != g_liveNs.end() && large != g_liveNs.end())
            std::printf("one update, 100,000 links against 100 links, %s: ratio %.2f\n",
                        spread ? "edits spread over the drawing" : "the same 100 sources edited",
                        large->second / small->second);
    }
    benchmark::Shutdown();
    g_selfLinked.clear();
    return 0;
}
