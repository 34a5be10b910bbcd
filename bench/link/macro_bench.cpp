// What a live label costs with the macros users write: one update through a style with a DIESEL
// macro against the same work written by hand (read the property, format it, build the final
// text, write the label); and the evaluator alone on those macros.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "AcContentModifier.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyReader.h"
#include "bench_support.h"
#include "crt/crt.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/line.h"
#include "db/rtos.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "ed/diesel.h"
#include "rx/dynlinker.h"

namespace {

using benchsupport::openAs;
using benchsupport::square;
using Clock = std::chrono::steady_clock;

constexpr int kLinks = 1000;

// The three labels users make most: an area into a block's attribute, a length into a text, an
// area into a marker's colour.
enum class Case { AreaIntoAttribute, LengthIntoText, AreaIntoColour };

const wchar_t* macroOf(Case c) {
    switch (c) {
    case Case::AreaIntoAttribute:
        return L"%PROPERTY m2";
    case Case::LengthIntoText:
        return L"$(rtos,%NPROPERTY,2,1) m";
    case Case::AreaIntoColour:
        return L"$(if,$(>,%NPROPERTY,25),1,3)";
    }
    return L"";
}

AcPropertyLinkStyle* styleFor(Case c) {
    auto* style = new AcPropertyLinkStyle;
    if (c == Case::LengthIntoText)
        style->setPropertyReader(new AcLengthReader);
    else
        style->setPropertyReader(new AcAreaReader);
    if (c == Case::AreaIntoAttribute) {
        auto* block = new AcBlockModifier;
        block->setAttribName(L"AREA");
        style->setContentModifier(block);
    } else if (c == Case::LengthIntoText) {
        style->setContentModifier(new AcTextModifier);
    } else {
        style->setContentModifier(new AcColorModifier);
    }
    style->setPostProcessingMacro(macroOf(c));
    return style;
}

// kLinks sources (outlines, or lines for lengths), each with its label; linked through the
// case's style when `linked`, left alone for the hand-written work otherwise.
struct Drawing {
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>();
    std::vector<AcDbObjectId> sources, labels;

    Drawing(Case c, bool linked) {
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        db->setLuprec(2);
        const AcDbObjectId room = c == Case::AreaIntoAttribute ? roomBlock() : AcDbObjectId();
        AcDbBlockTableRecord* space =
            openAs<AcDbBlockTableRecord>(db->modelSpaceId(), AcDb::kForWrite);
        for (int i = 0; i < kLinks; ++i) {
            AcDbObjectId source;
            AcDbEntity* shape =
                c == Case::LengthIntoText
                    ? static_cast<AcDbEntity*>(
                          new AcDbLine(AcGePoint3d(3.0 * i, 0, 0), AcGePoint3d(3.0 * i + 2, 0, 0)))
                    : square(3.0 * i);
            space->appendAcDbEntity(source, shape);
            shape->close();
            sources.push_back(source);
            labels.push_back(label(c, space, room, i));
        }
        space->close();
        if (linked)
            link(c);
    }

    AcDbObjectId roomBlock() {
        AcDbBlockTable* table = nullptr;
        db->getBlockTable(table, AcDb::kForWrite);
        auto* block = new AcDbBlockTableRecord;
        block->setName(L"ROOM");
        AcDbObjectId id;
        table->add(id, block);
        auto* area = new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), L"?", L"AREA", L"Area");
        block->appendAcDbEntity(area);
        area->close();
        block->close();
        table->close();
        return id;
    }

    AcDbObjectId label(Case c, AcDbBlockTableRecord* space, AcDbObjectId room, int i) {
        const AcGePoint3d at(3.0 * i, 3.0, 0.0);
        AcDbObjectId id;
        if (c == Case::AreaIntoAttribute) {
            auto* reference = new AcDbBlockReference(at, room);
            space->appendAcDbEntity(id, reference);
            auto* area = new AcDbAttribute(at, L"?", L"AREA");
            reference->appendAttribute(area);
            area->close();
            reference->close();
            return id;
        }
        auto* text = new AcDbText(at, L"?", AcDbObjectId(), 1.0);
        space->appendAcDbEntity(id, text);
        text->close();
        return id;
    }

    void link(Case c) {
        AcDbObjectId style;
        AcDbDictionary* nod =
            openAs<AcDbDictionary>(db->namedObjectsDictionaryId(), AcDb::kForWrite);
        AcPropertyLinkStyle* made = styleFor(c);
        nod->setAt(L"Style", made, style);
        made->close();
        nod->close();
        for (int i = 0; i < kLinks; ++i)
            benchsupport::linkSource(sources[i], style, labels[i]);
    }
};

// Changes the source; for lengths the line's end, for areas the outline's corner. Given
// `value`, also reads what the label shows while the source is open, as hand-written work does;
// the live side leaves that to the link's update.
void change(Case c, AcDbObjectId source, int i, double size, double* value = nullptr) {
    if (c == Case::LengthIntoText) {
        AcDbLine* line = openAs<AcDbLine>(source, AcDb::kForWrite);
        line->setEndPoint(AcGePoint3d(3.0 * i + size, 0, 0));
        if (value != nullptr) {
            double endParam = 0.0;
            line->getEndParam(endParam);
            line->getDistAtParam(endParam, *value);
        }
        line->close();
        return;
    }
    AcDbPolyline* outline = openAs<AcDbPolyline>(source, AcDb::kForWrite);
    outline->setPointAt(2, AcGePoint2d(3.0 * i + 2.0, size));
    if (value != nullptr)
        outline->getArea(*value);
    outline->close();
}

void writeAttribute(AcDbObjectId reference, const wchar_t* tag, const wchar_t* text) {
    AcDbBlockReference* block = openAs<AcDbBlockReference>(reference, AcDb::kForRead);
    AcDbObjectIterator* attributes = block->attributeIterator();
    for (attributes->start(); !attributes->done(); attributes->step()) {
        AcDbAttribute* attribute = openAs<AcDbAttribute>(attributes->objectId(), AcDb::kForWrite);
        if (attribute == nullptr)
            continue;
        if (_wcsicmp(attribute->tagConst(), tag) == 0)
            attribute->setTextString(text);
        attribute->close();
    }
    delete attributes;
    block->close();
}

// The label's final text written by hand: formatted and appended directly, no macro. Kept out
// of line, as the live side is, so that a profile tells the two apart.
[[gnu::noinline]] void byHand(Case c, AcDbObjectId source, AcDbObjectId label, int i, double size) {
    double value = 0.0;
    change(c, source, i, size, &value);
    wchar_t number[132];
    switch (c) {
    case Case::AreaIntoAttribute: {
        acdbRToS(value, -1, -1, number);
        std::wstring text(number);
        text += L" m2";
        writeAttribute(label, L"AREA", text.c_str());
        break;
    }
    case Case::LengthIntoText: {
        acdbRToS(value, 2, 1, number);
        std::wstring text(number);
        text += L" m";
        AcDbText* written = openAs<AcDbText>(label, AcDb::kForWrite);
        written->setTextString(text.c_str());
        written->close();
        break;
    }
    case Case::AreaIntoColour: {
        AcDbEntity* marker = openAs<AcDbEntity>(label, AcDb::kForWrite);
        marker->setColorIndex(value > 25.0 ? 1 : 3);
        marker->close();
        break;
    }
    }
}

// What the label shows: the attribute's or text's content, or the colour as a number.
std::wstring shownBy(Case c, AcDbObjectId label) {
    AcDbEntity* entity = openAs<AcDbEntity>(label, AcDb::kForRead);
    std::wstring shown = std::to_wstring(entity->colorIndex());
    if (auto* text = AcDbText::cast(entity))
        shown = text->textStringConst();
    entity->close();
    if (c != Case::AreaIntoAttribute)
        return shown;
    AcDbBlockReference* block = openAs<AcDbBlockReference>(label, AcDb::kForRead);
    AcDbObjectIterator* attributes = block->attributeIterator();
    for (attributes->start(); !attributes->done(); attributes->step()) {
        AcDbAttribute* attribute = openAs<AcDbAttribute>(attributes->objectId(), AcDb::kForRead);
        shown = attribute->textStringConst();
        attribute->close();
    }
    delete attributes;
    block->close();
    return shown;
}

// The live side: the source changed, the link's update following from its close.
[[gnu::noinline]] void live(Case c, AcDbObjectId source, int i, double size) {
    change(c, source, i, size);
}

// Makes the run fail, not only the one benchmark: a smoke run in the tests must see it.
bool g_labelsDiffer = false;

void MacroUpdate(benchmark::State& state) {
    const auto c = static_cast<Case>(state.range(0));
    Drawing linked(c, true);
    Drawing plain(c, false);
    double liveNs = 0.0, handNs = 0.0;
    std::int64_t done = 0;
    for (auto _ : state) {
        const int i = static_cast<int>(done % kLinks);
        const double size = 3.0 + static_cast<double>(done % 31);
        acdbHostApplicationServices()->setWorkingDatabase(linked.db.get());
        const auto t0 = Clock::now();
        live(c, linked.sources[i], i, size);
        const auto t1 = Clock::now();
        acdbHostApplicationServices()->setWorkingDatabase(plain.db.get());
        const auto t2 = Clock::now();
        byHand(c, plain.sources[i], plain.labels[i], i, size);
        const auto t3 = Clock::now();
        const double live = std::chrono::duration<double, std::nano>(t1 - t0).count();
        liveNs += live;
        handNs += std::chrono::duration<double, std::nano>(t3 - t2).count();
        state.SetIterationTime(live * 1e-9);
        ++done;
    }
    // Both ways must have written the same labels, or the ratio compares different work.
    for (int i = 0; i < kLinks && i < done; ++i) {
        if (shownBy(c, linked.labels[i]) != shownBy(c, plain.labels[i])) {
            g_labelsDiffer = true;
            state.SkipWithError("the live update and the hand-written work wrote different labels");
            return;
        }
    }
    state.counters["live_ns"] = liveNs / done;
    state.counters["by_hand_ns"] = handNs / done;
    state.counters["ratio"] = liveNs / handNs;
}
BENCHMARK(MacroUpdate)
    ->ArgName("case")
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// The macro as the update hands it to the evaluator: the value put in for both placeholders.
void Evaluator(benchmark::State& state) {
    const auto c = static_cast<Case>(state.range(0));
    std::wstring macro(macroOf(c));
    for (const wchar_t* placeholder : {L"%NPROPERTY", L"%PROPERTY"}) {
        const std::size_t at = macro.find(placeholder);
        if (at != std::wstring::npos)
            macro.replace(at, std::wcslen(placeholder), L"24.00");
    }
    std::wstring result;
    for (auto _ : state) {
        svEvaluateDiesel(macro, result);
        benchmark::DoNotOptimize(result);
    }
    state.counters["evaluations_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Evaluator)->ArgName("case")->DenseRange(0, 2);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!acrxLoadModule(benchsupport::besideMe(L"sentavell17.dbx").c_str(), false)) {
        std::fprintf(stderr, "cannot load sentavell17.dbx\n");
        return 1;
    }
    std::printf("cases: 0 area into a block attribute through \"%ls\", 1 length into a text "
                "through \"%ls\", 2 area into a colour through \"%ls\"\n",
                macroOf(Case::AreaIntoAttribute), macroOf(Case::LengthIntoText),
                macroOf(Case::AreaIntoColour));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_labelsDiffer ? 1 : 0;
}
