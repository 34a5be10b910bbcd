// Drafting commands: each asks its prompts through the command line and appends one new entity
// (or a few) to the space being worked in.

#include <cmath>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "command_input.h"
#include "crt/crt.h"
#include "crt/format.h"
#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/database.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/extents.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"
#include "ge/curve_math.h"
#include "rx/print.h"

namespace {

using namespace cli;

void line() {
    AcDbDatabase* db = database();
    const AcDbObjectId space = drawingSpace(db);
    std::vector<AcGePoint3d> points{askPoint(L"\nFirst point: ")};
    std::vector<AcDbObjectId> drawn;
    const Keywords options{L"Close", L"Undo"};
    for (;;) {
        const Answer answer = askPointOr(points.size() < 3 ? L"\nNext point or [Undo]: "
                                                           : L"\nNext point or [Close/Undo]: ",
                                         options, &points.back(), true);
        if (answer.kind == Answer::Enter)
            break;
        if (answer.keyword == L"Undo") {
            if (drawn.empty())
                fail(L"There is no segment to undo.");
            Opened<AcDbEntity> last(drawn.back(), AcDb::kForWrite);
            if (last)
                last->erase();
            drawn.pop_back();
            points.pop_back();
            continue;
        }
        const AcGePoint3d to = answer.keyword == L"Close" ? points.front() : answer.point;
        if (answer.keyword == L"Close" && points.size() < 3)
            fail(L"Close needs two segments first.");
        drawn.push_back(append(new AcDbLine(points.back(), to), space));
        reportCreated(drawn.back());
        if (answer.keyword == L"Close")
            break;
        points.push_back(to);
    }
    if (drawn.empty())
        acutPrintf(L"\nNo line was drawn.");
}

// Vertices answer "x,y"; "Bulge" gives the bulge of the segment leaving the last vertex.
void pline() {
    AcDbDatabase* db = database();
    auto polyline = std::make_unique<AcDbPolyline>();
    const AcGePoint3d first = askPoint(L"\nStart point: ");
    AcGePoint3d last = first;
    polyline->addVertexAt(0, first.convert2d());
    polyline->setElevation(first.z);
    double pendingBulge = 0.0;
    const Keywords options{L"Bulge", L"Close", L"Undo"};
    bool closed = false;
    for (;;) {
        const Answer answer =
            askPointOr(L"\nNext point or [Bulge/Close/Undo]: ", options, &last, true);
        if (answer.kind == Answer::Enter)
            break;
        const unsigned count = polyline->numVerts();
        if (answer.keyword == L"Bulge") {
            pendingBulge = askReal(L"\nBulge of the next segment (tan of a quarter of its angle): ",
                                   std::nullopt);
            if (std::fabs(pendingBulge) > 1e6)
                fail(L"The bulge is out of range.");
        } else if (answer.keyword == L"Undo") {
            if (count < 2)
                fail(L"There is no vertex to undo.");
            polyline->removeVertexAt(count - 1);
            polyline->getPointAt(count - 2, last);
            polyline->setBulgeAt(count - 2, 0.0);
        } else if (answer.keyword == L"Close") {
            if (count < 2)
                fail(L"Close needs two vertices first.");
            polyline->setBulgeAt(count - 1, pendingBulge);
            closed = true;
            break;
        } else {
            polyline->setBulgeAt(count - 1, pendingBulge);
            pendingBulge = 0.0;
            check(polyline->addVertexAt(count, answer.point.convert2d()), L"Bad vertex");
            last = answer.point;
        }
    }
    if (polyline->numVerts() < 2)
        fail(L"A polyline needs two vertices.");
    polyline->setClosed(closed);
    reportCreated(append(polyline.release(), drawingSpace(db)));
}

void circleCommand() {
    AcDbDatabase* db = database();
    const AcGePoint3d center = askPoint(L"\nCenter point: ");
    double radius = 0.0;
    if (!askRealOr(L"\nRadius or [Diameter]: ", L"radius", Keywords{L"Diameter"}, Sign::Positive,
                   radius)
             .empty())
        radius = askReal(L"\nDiameter: ", std::nullopt, Sign::Positive) / 2.0;
    reportCreated(append(new AcDbCircle(center, AcGeVector3d::kZAxis, radius), drawingSpace(db)));
}

// Through three points, or by center, radius and angles.
void arc() {
    AcDbDatabase* db = database();
    const Answer first =
        askPointOr(L"\nStart point or [Center]: ", Keywords{L"Center"}, nullptr, false);
    AcGePoint3d center;
    double radius = 0.0, startAngle = 0.0, endAngle = 0.0;
    if (first.kind == Answer::Keyword) {
        center = askPoint(L"\nCenter point: ");
        radius = askReal(L"\nRadius: ", std::nullopt, Sign::Positive);
        startAngle = askAngle(L"\nStart angle: ", std::nullopt);
        endAngle = askAngle(L"\nEnd angle (counter-clockwise): ", std::nullopt);
    } else {
        const AcGePoint3d a = first.point;
        const AcGePoint3d b = askPoint(L"\nSecond point: ", &a);
        const AcGePoint3d c = askPoint(L"\nEnd point: ", &b);
        const double d = 2.0 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
        if (std::fabs(d) < 1e-12)
            fail(L"The three points lie on one line: no arc passes through them.");
        const double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y,
                     c2 = c.x * c.x + c.y * c.y;
        center = AcGePoint3d((a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
                             (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d, a.z);
        radius = std::hypot(a.x - center.x, a.y - center.y);
        startAngle = std::atan2(a.y - center.y, a.x - center.x);
        endAngle = std::atan2(c.y - center.y, c.x - center.x);
        if (d < 0.0) // clockwise through the points: the arc runs from the end to the start
            std::swap(startAngle, endAngle);
    }
    auto* entity = new AcDbArc;
    if (entity->setCenter(center) != Acad::eOk || entity->setRadius(radius) != Acad::eOk ||
        entity->setStartAngle(startAngle) != Acad::eOk ||
        entity->setEndAngle(endAngle) != Acad::eOk) {
        delete entity;
        fail(L"Those values make no arc.");
    }
    reportCreated(append(entity, drawingSpace(db)));
}

void ellipse() {
    AcDbDatabase* db = database();
    const AcGePoint3d center = askPoint(L"\nCenter point: ");
    const AcGePoint3d axisEnd = askPoint(L"\nEnd of the major axis: ", &center);
    const double other =
        askReal(L"\nHalf length of the other axis: ", std::nullopt, Sign::Positive);
    const AcGeVector3d major = axisEnd - center;
    const double length = major.length();
    if (length <= 0.0 || other > length)
        fail(L"The other axis must not be longer than the major axis.");
    auto* entity = new AcDbEllipse;
    if (entity->set(center, AcGeVector3d::kZAxis, major, other / length) != Acad::eOk) {
        delete entity;
        fail(L"Those values make no ellipse.");
    }
    reportCreated(append(entity, drawingSpace(db)));
}

void region() {
    AcDbDatabase* db = database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    std::vector<AcDbObjectId> used;
    AcDbVoidPtrArray regions;
    {
        // The selected curves stay open while the regions are made from them.
        std::vector<Opened<AcDbCurve>> curves;
        for (const AcDbObjectId& id : ids) {
            Opened<AcDbCurve> curve(id, AcDb::kForRead);
            if (curve) {
                curves.push_back(std::move(curve));
                used.push_back(id);
            }
        }
        AcDbVoidPtrArray segments;
        for (const Opened<AcDbCurve>& curve : curves)
            segments.append(curve.get());
        if (segments.isEmpty() || AcDbRegion::createFromCurves(segments, regions) != Acad::eOk) {
            // Each closed curve on its own, so one stray curve does not spoil the rest.
            regions.setLogicalLength(0);
            std::vector<AcDbObjectId> kept;
            for (std::size_t i = 0; i < curves.size(); ++i) {
                AcDbVoidPtrArray one, made;
                one.append(curves[i].get());
                if (AcDbRegion::createFromCurves(one, made) != Acad::eOk)
                    continue;
                for (int j = 0; j < made.length(); ++j)
                    regions.append(made[j]);
                kept.push_back(used[i]);
            }
            used = kept;
        }
    }
    if (regions.isEmpty())
        fail(L"The selection holds no closed loop: no region was made.");
    const AcDbObjectId space = drawingSpace(db);
    for (int i = 0; i < regions.length(); ++i)
        reportCreated(append(static_cast<AcDbRegion*>(regions[i]), space));
    for (const AcDbObjectId& id : used) {
        Opened<AcDbEntity> source(id, AcDb::kForWrite);
        if (source)
            source->erase();
    }
    acutPrintf(L"\n%d region(s) created.", regions.length());
}

struct Justification {
    const wchar_t* keyword;
    AcDb::TextHorzMode horz;
    AcDb::TextVertMode vert;
};

constexpr Justification kJustifications[] = {
    {L"Left", AcDb::kTextLeft, AcDb::kTextBase},    {L"Center", AcDb::kTextCenter, AcDb::kTextBase},
    {L"Right", AcDb::kTextRight, AcDb::kTextBase},  {L"Align", AcDb::kTextAlign, AcDb::kTextBase},
    {L"Middle", AcDb::kTextMid, AcDb::kTextBase},   {L"Fit", AcDb::kTextFit, AcDb::kTextBase},
    {L"TL", AcDb::kTextLeft, AcDb::kTextTop},       {L"TC", AcDb::kTextCenter, AcDb::kTextTop},
    {L"TR", AcDb::kTextRight, AcDb::kTextTop},      {L"ML", AcDb::kTextLeft, AcDb::kTextVertMid},
    {L"MC", AcDb::kTextCenter, AcDb::kTextVertMid}, {L"MR", AcDb::kTextRight, AcDb::kTextVertMid},
    {L"BL", AcDb::kTextLeft, AcDb::kTextBottom},    {L"BC", AcDb::kTextCenter, AcDb::kTextBottom},
    {L"BR", AcDb::kTextRight, AcDb::kTextBottom},
};

const Keywords kJustifyKeywords{L"Left", L"Center", L"Right", L"Align", L"Middle",
                                L"Fit",  L"TL",     L"TC",    L"TR",    L"ML",
                                L"MC",   L"MR",     L"BL",    L"BC",    L"BR"};

std::wstring askText(const wchar_t* prompt) {
    const std::wstring text = askLine(prompt);
    if (text.empty())
        fail(L"A text is required.");
    return text;
}

void text() {
    AcDbDatabase* db = database();
    const Answer first =
        askPointOr(L"\nStart point of text or [Justify]: ", Keywords{L"Justify"}, nullptr, false);
    Justification justification = kJustifications[0];
    if (first.kind == Answer::Keyword) {
        const std::wstring keyword =
            askKeyword(L"\nJustification [" + kJustifyKeywords.joined() + L"]: ", kJustifyKeywords);
        for (const Justification& j : kJustifications) {
            if (keyword == j.keyword)
                justification = j;
        }
    }
    auto entity = std::make_unique<AcDbText>();
    entity->setHorizontalMode(justification.horz);
    entity->setVerticalMode(justification.vert);
    const bool twoPoints =
        justification.horz == AcDb::kTextAlign || justification.horz == AcDb::kTextFit;
    if (twoPoints) {
        const AcGePoint3d start = askPoint(L"\nFirst end of the baseline: ");
        const AcGePoint3d end = askPoint(L"\nSecond end of the baseline: ", &start);
        if (start.distanceTo(end) <= 0.0)
            fail(L"The ends of the baseline must differ.");
        entity->setHeight(justification.horz == AcDb::kTextFit
                              ? askReal(L"\nHeight <0.2>: ", kSvTextDefaultHeight, Sign::Positive)
                              : kSvTextDefaultHeight);
        entity->setTextString(askText(L"\nText: ").c_str());
        entity->setPosition(start);
        entity->setAlignmentPoint(end);
    } else {
        const AcGePoint3d at = first.kind == Answer::Point
                                   ? first.point
                                   : askPoint(svFormat(L"\n%s point: ", justification.keyword));
        entity->setHeight(askReal(L"\nHeight <0.2>: ", kSvTextDefaultHeight, Sign::Positive));
        entity->setRotation(askAngle(L"\nRotation angle <0>: ", 0.0));
        entity->setTextString(askText(L"\nText: ").c_str());
        if (justification.horz == AcDb::kTextLeft && justification.vert == AcDb::kTextBase)
            entity->setPosition(at);
        else
            entity->setAlignmentPoint(at);
    }
    entity->adjustAlignment(db);
    reportCreated(append(entity.release(), drawingSpace(db)));
}

const Keywords kAttachKeywords{L"TL", L"TC", L"TR", L"ML", L"MC", L"MR", L"BL", L"BC", L"BR"};

AcDbMText::AttachmentPoint askAttachment() {
    const std::wstring keyword = askKeyword(
        L"\nAttachment [" + kAttachKeywords.joined() + L"] <TL>: ", kAttachKeywords, L"TL");
    const wchar_t* const names[] = {L"TL", L"TC", L"TR", L"ML", L"MC", L"MR", L"BL", L"BC", L"BR"};
    for (int i = 0; i < 9; ++i) {
        if (keyword == names[i])
            return static_cast<AcDbMText::AttachmentPoint>(i + 1);
    }
    return AcDbMText::kTopLeft;
}

AcDbMText* newMText(const AcGePoint3d& at, double height, const std::wstring& contents) {
    auto* entity = new AcDbMText;
    entity->setLocation(at);
    entity->setTextHeight(height);
    entity->setContents(contents.c_str());
    return entity;
}

void mtext() {
    AcDbDatabase* db = database();
    const AcGePoint3d at = askPoint(L"\nInsertion point: ");
    const double height = askReal(L"\nText height <0.2>: ", 0.2, Sign::Positive);
    const double width =
        askReal(L"\nWidth, 0 for lines that do not wrap <0>: ", 0.0, Sign::NotNegative);
    const AcDbMText::AttachmentPoint attachment = askAttachment();
    const double rotation = askAngle(L"\nRotation angle <0>: ", 0.0);
    const std::wstring contents = askText(L"\nContents (\\P starts a new paragraph): ");
    AcDbMText* entity = newMText(at, height, contents);
    entity->setWidth(width);
    entity->setAttachment(attachment);
    entity->setRotation(rotation);
    reportCreated(append(entity, drawingSpace(db)));
}

bool validBlockName(const std::wstring& name) {
    if (name.empty() || name.size() > 255 || name[0] == L'*')
        return false;
    return name.find_first_of(L"<>/\\\":;?*|,=`") == std::wstring::npos;
}

struct NewAttribute {
    std::wstring tag, prompt, value;
    AcGePoint3d position;
    double height = 0.2;
};

// A named block from attribute definitions and the selected objects, which move into it.
void block() {
    AcDbDatabase* db = database();
    const std::wstring name = askWord(L"\nBlock name: ");
    if (!validBlockName(name))
        fail(L"\"" + name.substr(0, 60) + L"\" is not a valid block name.");
    {
        Opened<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
        if (!table || table->has(name.c_str()))
            fail(L"Block " + name + L" already exists.");
    }
    const AcGePoint3d base = askPoint(L"\nBase point: ");
    std::vector<NewAttribute> attributes;
    for (;;) {
        NewAttribute item;
        item.tag = askWord(L"\nAttribute tag (Enter when there are no more): ");
        if (item.tag.empty())
            break;
        if (item.tag.find_first_of(L" \t") != std::wstring::npos)
            fail(L"An attribute tag has no blanks.");
        for (const NewAttribute& other : attributes) {
            if (_wcsicmp(other.tag.c_str(), item.tag.c_str()) == 0)
                fail(L"The block already has the tag " + item.tag + L".");
        }
        item.prompt = askWord(L"\nAttribute prompt: ");
        item.value = askWord(L"\nDefault value: ");
        item.position = askPoint(L"\nAttribute position: ", &base);
        item.height = askReal(L"\nHeight <0.2>: ", 0.2, Sign::Positive);
        attributes.push_back(item);
    }
    acutPrintf(L"\nObjects for the block (Enter for none):");
    const std::vector<AcDbObjectId> ids = selectObjects(true);
    if (ids.empty() && attributes.empty())
        fail(L"A block needs objects or attribute definitions.");

    auto* record = new AcDbBlockTableRecord;
    record->setName(name.c_str());
    AcDbObjectId recordId;
    {
        Opened<AcDbBlockTable> table(db->blockTableId(), AcDb::kForWrite);
        const Acad::ErrorStatus es = table ? table->add(recordId, record) : Acad::eNotOpenForWrite;
        if (es != Acad::eOk) {
            delete record;
            check(es, L"The block cannot be added");
        }
        record->close();
    }
    const AcGeMatrix3d toBlock = AcGeMatrix3d::translation(AcGePoint3d::kOrigin - base);
    for (const NewAttribute& item : attributes) {
        auto* definition = new AcDbAttributeDefinition(
            item.position + (AcGePoint3d::kOrigin - base), item.value.c_str(), item.tag.c_str(),
            (item.prompt.empty() ? item.tag : item.prompt).c_str());
        definition->setHeight(item.height);
        append(definition, recordId);
    }
    for (const AcDbObjectId& id : ids) {
        Opened<AcDbEntity> source(id, AcDb::kForWrite);
        if (!source)
            continue;
        copyEntity(*source.get(), recordId, toBlock);
        source->erase();
    }
    acutPrintf(L"\nBlock %s defined with %d object(s) and %d attribute definition(s).",
               name.c_str(), static_cast<int>(ids.size()), static_cast<int>(attributes.size()));
}

AcDbObjectId findBlock(AcDbDatabase* db, const std::wstring& name) {
    Opened<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
    AcDbObjectId id;
    if (!table || table->getAt(name.c_str(), id) != Acad::eOk)
        fail(L"There is no block " + name.substr(0, 60) + L".");
    Opened<AcDbBlockTableRecord> record(id, AcDb::kForRead);
    if (!record || record->isLayout() || id == db->modelSpaceId())
        fail(L"A space cannot be inserted.");
    return id;
}

// Asks a value for each attribute the block gives an insertion, and inserts it.
AcDbObjectId insertBlock(AcDbDatabase* db, AcDbObjectId spaceId, const std::wstring& name,
                         const AcGePoint3d& at, double scale, double rotation) {
    const AcDbObjectId blockId = findBlock(db, name);
    struct Definition {
        std::wstring tag, prompt, value;
    };
    std::vector<Definition> definitions;
    {
        Opened<AcDbBlockTableRecord> record(blockId, AcDb::kForRead);
        AcDbBlockTableRecordIterator* it = nullptr;
        if (record && record->newIterator(it) == Acad::eOk) {
            for (; !it->done(); it->step()) {
                AcDbObjectId id;
                it->getEntityId(id);
                Opened<AcDbAttributeDefinition> definition(id, AcDb::kForRead);
                if (!definition || definition->isConstant() || definition->isPreset())
                    continue;
                definitions.push_back({definition->tagConst(), definition->promptConst(),
                                       definition->textStringConst()});
            }
            delete it;
        }
    }
    for (Definition& definition : definitions) {
        const std::wstring answer =
            askWord(L"\n" + definition.prompt + L" <" + definition.value + L">: ");
        if (!answer.empty())
            definition.value = answer;
    }
    std::vector<SvAttributeValue> values;
    for (const Definition& definition : definitions)
        values.push_back({definition.tag.c_str(), definition.value.c_str()});
    AcDbObjectId referenceId;
    check(svInsertBlockReference(referenceId, spaceId, blockId, at, values, rotation, scale),
          L"The block cannot be inserted");
    return referenceId;
}

void insert() {
    AcDbDatabase* db = database();
    const std::wstring name = askWord(L"\nBlock name: ");
    findBlock(db, name);
    const AcGePoint3d at = askPoint(L"\nInsertion point: ");
    const double scale = askReal(L"\nScale factor <1>: ", 1.0, Sign::Positive);
    const double rotation = askAngle(L"\nRotation angle <0>: ", 0.0);
    reportCreated(insertBlock(db, drawingSpace(db), name, at, scale, rotation));
}

// Options before the dimension line's place: an override text, and for DIMLINEAR an angle.
AcGePoint3d askDimensionLine(bool rotatable, std::wstring& text, std::optional<double>& rotation) {
    const Keywords options = rotatable ? Keywords{L"Text", L"Rotated"} : Keywords{L"Text"};
    for (;;) {
        const Answer answer = askPointOr(
            L"\nDimension line location or [" + options.joined() + L"]: ", options, nullptr, false);
        if (answer.kind == Answer::Point)
            return answer.point;
        if (answer.keyword == L"Text")
            text = askWord(L"\nDimension text, <> for the measurement: ");
        else
            rotation = askAngle(L"\nAngle of the dimension line: ", std::nullopt);
    }
}

void dimLinear() {
    AcDbDatabase* db = database();
    const AcGePoint3d first = askPoint(L"\nFirst extension line origin: ");
    const AcGePoint3d second = askPoint(L"\nSecond extension line origin: ", &first);
    std::wstring text;
    std::optional<double> rotation;
    const AcGePoint3d at = askDimensionLine(true, text, rotation);
    if (!rotation) {
        // Beside both points and between them in y: a vertical dimension, as a person means it.
        const bool beside =
            (at.x < std::min(first.x, second.x) || at.x > std::max(first.x, second.x)) &&
            at.y >= std::min(first.y, second.y) && at.y <= std::max(first.y, second.y);
        rotation = beside ? ge::kPi / 2.0 : 0.0;
    }
    reportCreated(append(new AcDbRotatedDimension(*rotation, first, second, at, text.c_str()),
                         drawingSpace(db)));
}

void dimAligned() {
    AcDbDatabase* db = database();
    const AcGePoint3d first = askPoint(L"\nFirst extension line origin: ");
    const AcGePoint3d second = askPoint(L"\nSecond extension line origin: ", &first);
    if (first.distanceTo(second) <= 0.0)
        fail(L"The extension line origins must differ.");
    std::wstring text;
    std::optional<double> rotation;
    const AcGePoint3d at = askDimensionLine(false, text, rotation);
    reportCreated(
        append(new AcDbAlignedDimension(first, second, at, text.c_str()), drawingSpace(db)));
}

void leader() {
    AcDbDatabase* db = database();
    const AcDbObjectId space = drawingSpace(db);
    std::vector<AcGePoint3d> points{askPoint(L"\nArrow point: ")};
    for (;;) {
        const Answer answer = askPointOr(L"\nNext point (Enter for the annotation): ", Keywords{},
                                         &points.back(), true);
        if (answer.kind == Answer::Enter)
            break;
        points.push_back(answer.point);
    }
    if (points.size() < 2)
        fail(L"A leader needs two points.");
    // The leader is made whole before its annotation exists.
    auto entity = std::make_unique<AcDbLeader>();
    for (const AcGePoint3d& point : points) {
        if (!entity->appendVertex(point))
            fail(L"Bad leader point.");
    }
    const std::wstring kind = askKeyword(L"\nAnnotation [Mtext/Block/None] <Mtext>: ",
                                         Keywords{L"Mtext", L"Block", L"None"}, L"Mtext");
    const AcGePoint3d end = points.back();
    const bool pointsLeft = end.x < points[points.size() - 2].x;
    AcDbObjectId annotation;
    if (kind == L"Mtext") {
        const double height = askReal(L"\nText height <0.2>: ", 0.2, Sign::Positive);
        AcDbMText* text = newMText(end, height, askText(L"\nAnnotation text: "));
        text->setAttachment(pointsLeft ? AcDbMText::kMiddleRight : AcDbMText::kMiddleLeft);
        annotation = append(text, space);
    } else if (kind == L"Block") {
        const std::wstring name = askWord(L"\nBlock name: ");
        annotation = insertBlock(db, space, name, end, 1.0, 0.0);
    }
    const AcDbObjectId id = append(entity.release(), space);
    if (!annotation.isNull()) {
        Opened<AcDbLeader> opened;
        check(opened.open(id, AcDb::kForWrite), L"The leader cannot be opened");
        check(opened->attachAnnotation(annotation), L"The annotation cannot be attached");
        reportCreated(annotation);
    }
    reportCreated(id);
}

// Pixel sizes from the headers of the common formats; false when unknown.
bool imagePixels(const std::wstring& path, int& width, int& height) {
    std::ifstream in(svToUtf8(path), std::ios::binary);
    unsigned char h[26] = {};
    if (!in.read(reinterpret_cast<char*>(h), sizeof h))
        return false;
    auto be32 = [&](int i) { return (h[i] << 24) | (h[i + 1] << 16) | (h[i + 2] << 8) | h[i + 3]; };
    auto le16 = [&](int i) { return h[i] | (h[i + 1] << 8); };
    auto le32 = [&](int i) {
        return static_cast<int>(
            static_cast<unsigned>(h[i]) | (static_cast<unsigned>(h[i + 1]) << 8) |
            (static_cast<unsigned>(h[i + 2]) << 16) | (static_cast<unsigned>(h[i + 3]) << 24));
    };
    if (h[0] == 0x89 && h[1] == 'P' && h[2] == 'N' && h[3] == 'G') {
        width = be32(16);
        height = be32(20);
    } else if (h[0] == 'G' && h[1] == 'I' && h[2] == 'F') {
        width = le16(6);
        height = le16(8);
    } else if (h[0] == 'B' && h[1] == 'M') {
        width = le32(18);
        height = std::abs(le32(22));
    } else {
        return false;
    }
    return width > 0 && height > 0 && width <= 1000000 && height <= 1000000;
}

void image() {
    AcDbDatabase* db = database();
    const std::wstring file = askWord(L"\nImage file: ");
    if (file.empty())
        fail(L"An image file is required.");
    const AcGePoint3d at = askPoint(L"\nInsertion point: ");
    const double width = askReal(L"\nWidth in drawing units <1>: ", 1.0, Sign::Positive);
    const double rotation = askAngle(L"\nRotation angle <0>: ", 0.0);
    int pixelsWide = 0, pixelsHigh = 0;
    const bool known = imagePixels(file, pixelsWide, pixelsHigh);
    if (!known)
        acutPrintf(L"\nThe size of %s is not known: the image gets a square frame.", file.c_str());
    const double height = known ? width * pixelsHigh / pixelsWide : width;
    const AcGeVector3d u(width * std::cos(rotation), width * std::sin(rotation), 0.0);
    const AcGeVector3d v(-height * std::sin(rotation), height * std::cos(rotation), 0.0);
    auto* entity = new AcDbRasterImage;
    entity->setImageFileName(file.c_str());
    if (known)
        entity->setImageSize(pixelsWide, pixelsHigh);
    if (!entity->setOrientation(at, u, v)) {
        delete entity;
        fail(L"That placement makes no image.");
    }
    reportCreated(append(entity, drawingSpace(db)));
}

// A viewport on the layout showing all of model space.
void mview() {
    AcDbDatabase* db = database();
    if (db->tilemode())
        fail(L"MVIEW works on the layout: set TILEMODE to 0 first.");
    const AcGePoint3d a = askPoint(L"\nFirst corner: ");
    const AcGePoint3d b = askPoint(L"\nOpposite corner: ", &a);
    const double width = std::fabs(b.x - a.x), height = std::fabs(b.y - a.y);
    if (width <= 0.0 || height <= 0.0)
        fail(L"The corners must span a rectangle.");
    AcDbExtents model;
    {
        Opened<AcDbBlockTableRecord> space(db->modelSpaceId(), AcDb::kForRead);
        AcDbBlockTableRecordIterator* it = nullptr;
        if (space && space->newIterator(it) == Acad::eOk) {
            for (; !it->done(); it->step()) {
                AcDbObjectId id;
                it->getEntityId(id);
                Opened<AcDbEntity> entity(id, AcDb::kForRead);
                if (entity)
                    entity->getGeomExtents(model);
            }
            delete it;
        }
    }
    auto* viewport = new AcDbViewport;
    viewport->setCenterPoint(AcGePoint3d((a.x + b.x) / 2, (a.y + b.y) / 2, 0.0));
    viewport->setWidth(width);
    viewport->setHeight(height);
    if (!model.isEmpty()) {
        const AcGePoint3d lo = model.minPoint(), hi = model.maxPoint();
        viewport->setViewCenter(AcGePoint2d((lo.x + hi.x) / 2, (lo.y + hi.y) / 2));
        const double fit = std::max(hi.y - lo.y, (hi.x - lo.x) * height / width) * 1.1;
        viewport->setViewHeight(fit > 0.0 ? fit : height);
    } else {
        viewport->setViewHeight(height);
    }
    reportCreated(append(viewport, db->paperSpaceId()));
}

const HostCommand kCommands[] = {
    {L"LINE", L"point point ... [Close/Undo], Enter ends", L"draws lines from point to point",
     &command<line>},
    {L"PLINE", L"point [Bulge b] point ... [Close/Undo], Enter ends",
     L"draws a polyline; Bulge sets the bulge of the segment leaving the last vertex",
     &command<pline>},
    {L"CIRCLE", L"center radius | center Diameter d", L"draws a circle", &command<circleCommand>},
    {L"ARC", L"start second end | Center center radius startdeg enddeg",
     L"draws an arc through three points or counter-clockwise about a center", &command<arc>},
    {L"ELLIPSE", L"center axis-end half-other-axis", L"draws an ellipse", &command<ellipse>},
    {L"REGION", L"selection", L"turns closed curves into regions", &command<region>},
    {L"TEXT", L"[Justify Left|Center|Right|Align|Middle|Fit|TL..BR] point height angle text",
     L"writes a single-line text; Align and Fit take two baseline ends", &command<text>},
    {L"MTEXT", L"point height width TL..BR angle contents",
     L"writes a multiline text; \\P in the contents starts a paragraph", &command<mtext>},
    {L"BLOCK", L"name base {tag prompt default point height} Enter selection",
     L"defines a block from attribute definitions and the selected objects", &command<block>},
    {L"INSERT", L"name point scale angle value...",
     L"inserts a block, asking one value per attribute (quoted when it has blanks)",
     &command<insert>},
    {L"DIMLINEAR", L"point point [Text t] [Rotated deg] location",
     L"a rotated dimension: horizontal, vertical or at the given angle", &command<dimLinear>},
    {L"DIMALIGNED", L"point point [Text t] location", L"an aligned dimension",
     &command<dimAligned>},
    {L"LEADER", L"arrow point ... Enter Mtext height text | Block name values | None",
     L"draws a leader with a multiline text or block annotation", &command<leader>},
    {L"IMAGE", L"file point width angle", L"places a raster image", &command<image>},
    {L"MVIEW", L"corner corner", L"adds a layout viewport showing all of model space (TILEMODE 0)",
     &command<mview>},
};

} // namespace

std::span<const HostCommand> drawCommands() {
    return kCommands;
}
