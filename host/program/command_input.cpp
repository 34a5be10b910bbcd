#include "command_input.h"

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <new>

#include "ap/docman.h"
#include "crt/format.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "db/symboltable.h"
#include "ed/input.h"
#include "ed/selection.h"
#include "ed/spaces.h"
#include "ge/curve_math.h"
#include "rx/print.h"

namespace cli {

std::wstring shown(const std::wstring& answer) {
    return answer.size() > 60 ? answer.substr(0, 60) + L"..." : answer;
}

void fail(const std::wstring& message) {
    acutPrintf(L"\n%s", message.c_str());
    throw CommandFailed{};
}

void cancelled() {
    acutPrintf(L"*Cancel*");
    throw CommandFailed{};
}

void guarded(void (*body)()) {
    try {
        body();
    } catch (const CommandFailed&) {
        svSetCommandFailed();
    } catch (const std::bad_alloc&) {
        acutPrintf(L"\nOut of memory.");
        svSetCommandFailed();
    }
}

Keywords::Keywords(std::initializer_list<const wchar_t*> words) : m_words(words) {
    std::wstring list;
    for (const wchar_t* word : m_words)
        list += (list.empty() ? L"" : L" ") + std::wstring(word);
    m_list = SvKeywordList(list);
}

std::wstring Keywords::joined() const {
    std::wstring out;
    for (const wchar_t* word : m_words)
        out += (out.empty() ? L"" : L"/") + std::wstring(word);
    return out;
}

std::wstring askWord(const std::wstring& prompt) {
    std::wstring answer;
    if (!svReadAnswer(prompt.c_str(), answer, SvAnswer::Word) || answer == kSvCancelWord)
        cancelled();
    return answer;
}

std::wstring askLine(const std::wstring& prompt) {
    std::wstring answer;
    if (!svReadAnswer(prompt.c_str(), answer, SvAnswer::Line) || answer == kSvCancelWord)
        cancelled();
    if (answer.size() >= 2 && answer.front() == L'"' && answer.back() == L'"')
        answer = answer.substr(1, answer.size() - 2);
    return answer;
}

void refuse(const std::wstring& message) {
    if (!svInputIsInteractive())
        fail(message);
    acutPrintf(L"\n%s", message.c_str());
}

namespace {

// Reads the number into `value`; why it does not do, or empty when it does.
std::wstring numberFault(const std::wstring& answer, double& value, Sign sign) {
    if (!svParseReal(answer, value))
        return L"Bad number \"" + shown(answer) + L"\".";
    if (sign == Sign::Positive && value <= 0.0)
        return L"The value must be positive: \"" + shown(answer) + L"\".";
    if (sign == Sign::NotNegative && value < 0.0)
        return L"The value must not be negative: \"" + shown(answer) + L"\".";
    return {};
}

} // namespace

Answer askPointOr(const std::wstring& prompt, const Keywords& keywords, const AcGePoint3d* base,
                  bool allowEnter) {
    for (;;) {
        const std::wstring answer = askWord(prompt);
        Answer result;
        if (answer.empty()) {
            if (allowEnter)
                return result;
            refuse(L"A point is required here.");
            continue;
        }
        result.keyword = keywords.match(answer);
        if (!result.keyword.empty()) {
            result.kind = Answer::Keyword;
            return result;
        }
        if (svParsePoint(answer, base, result.point)) {
            result.kind = Answer::Point;
            return result;
        }
        const std::wstring options = keywords.joined();
        refuse(L"Bad point \"" + shown(answer) + L"\": give x,y or x,y,z, dist<angle" +
               (base != nullptr ? L", or @dx,dy or @dist<angle from the last point" : L"") +
               (options.empty() ? L"" : L", or one of " + options) + L".");
    }
}

AcGePoint3d askPoint(const std::wstring& prompt, const AcGePoint3d* base) {
    return askPointOr(prompt, Keywords{}, base, false).point;
}

std::wstring askRealOr(const std::wstring& prompt, const wchar_t* what, const Keywords& keywords,
                       Sign sign, double& value) {
    for (;;) {
        const std::wstring answer = askWord(prompt);
        std::wstring keyword = keywords.match(answer);
        if (!keyword.empty())
            return keyword;
        if (numberFault(answer, value, sign).empty())
            return {};
        refuse(L"Bad " + std::wstring(what) + L" \"" + shown(answer) + L"\": " +
               (sign == Sign::Any ? L"a number" : L"a positive number") + L" or " +
               keywords.joined() + L" is expected.");
    }
}

double askReal(const std::wstring& prompt, std::optional<double> byDefault, Sign sign) {
    for (;;) {
        const std::wstring answer = askWord(prompt);
        if (answer.empty() && byDefault)
            return *byDefault;
        double value = 0.0;
        const std::wstring fault =
            answer.empty() ? L"A number is required here." : numberFault(answer, value, sign);
        if (fault.empty())
            return value;
        refuse(fault);
    }
}

int askCount(const std::wstring& prompt, int byDefault) {
    for (;;) {
        const double value = askReal(prompt, byDefault, Sign::Positive);
        if (value == std::floor(value) && value <= 1e9)
            return static_cast<int>(value);
        refuse(L"A whole number is required here.");
    }
}

double askAngle(const std::wstring& prompt, std::optional<double> byDefaultDegrees) {
    for (;;) {
        const double degrees = askReal(prompt, byDefaultDegrees);
        if (std::fabs(degrees) <= 1e9)
            return degrees * ge::kPi / 180.0;
        refuse(L"The angle is out of range.");
    }
}

std::wstring askKeyword(const std::wstring& prompt, const Keywords& keywords,
                        const wchar_t* byDefault) {
    for (;;) {
        const std::wstring answer = askWord(prompt);
        if (answer.empty() && byDefault != nullptr)
            return byDefault;
        std::wstring keyword = keywords.match(answer);
        if (!keyword.empty())
            return keyword;
        refuse(L"Unknown option \"" + shown(answer) + L"\": one of " + keywords.joined() +
               L" is expected.");
    }
}

AcDbDatabase* database() {
    AcApDocument* document = acDocManager->curDocument();
    if (document == nullptr || document->database() == nullptr)
        fail(L"No drawing is open.");
    return document->database();
}

AcDbObjectId drawingSpace(AcDbDatabase* db) {
    return svPickSpaceId(db);
}

void check(Acad::ErrorStatus es, const std::wstring& what) {
    if (es != Acad::eOk)
        fail(what + L": " + acadErrorStatusText(es) + L".");
}

AcDbObjectId append(AcDbEntity* entity, AcDbObjectId spaceId) {
    AcDbBlockTableRecord* space = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(space, spaceId, AcDb::kForWrite);
    AcDbObjectId id;
    if (es == Acad::eOk) {
        es = space->appendAcDbEntity(id, entity);
        space->close();
    }
    if (es != Acad::eOk) {
        delete entity;
        check(es, L"The entity cannot be added");
    }
    entity->close();
    return id;
}

AcDbObjectId copyEntity(const AcDbEntity& source, AcDbObjectId spaceId, const AcGeMatrix3d& xform) {
    auto* copy = AcDbEntity::cast(source.clone());
    if (copy == nullptr)
        fail(L"The object " + handleText(source.objectId()) + L" cannot be copied.");
    if (copy->transformBy(xform) != Acad::eOk) {
        delete copy;
        fail(L"The object " + handleText(source.objectId()) + L" cannot follow that change.");
    }
    AcDbBlockTableRecord* space = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(space, spaceId, AcDb::kForWrite);
    AcDbObjectId id;
    if (es == Acad::eOk) {
        es = space->appendAcDbEntity(id, copy);
        space->close();
    }
    if (es != Acad::eOk) {
        delete copy;
        check(es, L"The copy cannot be added");
    }
    // A copied reference starts without attributes: they belong to the one they came from.
    const auto* reference = AcDbBlockReference::cast(&source);
    auto* newReference = AcDbBlockReference::cast(copy);
    if (reference != nullptr && newReference != nullptr) {
        AcDbObjectIterator* it = reference->attributeIterator();
        for (it->start(); !it->done(); it->step()) {
            Opened<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
            if (!attribute)
                continue;
            auto* attributeCopy = AcDbAttribute::cast(attribute->clone());
            if (attributeCopy == nullptr)
                continue;
            if (attributeCopy->transformBy(xform) != Acad::eOk ||
                newReference->appendAttribute(attributeCopy) != Acad::eOk) {
                delete attributeCopy;
                continue;
            }
            attributeCopy->close();
        }
        delete it;
    }
    copy->close();
    return id;
}

std::wstring handleText(AcDbObjectId id) {
    return svFormat(L"%llX", static_cast<unsigned long long>(id.handle().value()));
}

void reportCreated(AcDbObjectId id) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
        return;
    const AcRxClass* cls = entity->isA();
    acutPrintf(L"\n%s %s created.", cls->dxfName() != nullptr ? cls->dxfName() : cls->name(),
               handleText(id).c_str());
    entity->close();
}

std::vector<AcDbObjectId> selectObjects(bool allowEmpty) {
    ads_name set = {0, 0};
    const int status = acedSSGet(nullptr, nullptr, nullptr, nullptr, set);
    if (status == RTCAN)
        cancelled();
    std::vector<AcDbObjectId> ids;
    if (status != RTNORM && allowEmpty)
        return ids;
    if (status != RTNORM)
        fail(L"Nothing was selected.");
    Adesk::Int32 length = 0;
    acedSSLength(set, &length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name name = {0, 0};
        AcDbObjectId id;
        if (acedSSName(set, i, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk)
            ids.push_back(id);
    }
    acedSSFree(set);
    return ids;
}

AcDbObjectId pickEntity(const std::wstring& prompt) {
    ads_name name = {0, 0};
    ads_point point = {0, 0, 0};
    const int status = acedEntSel(prompt.c_str(), name, point);
    if (status == RTCAN)
        throw CommandFailed{};
    AcDbObjectId id;
    if (status != RTNORM || acdbGetObjectId(id, name) != Acad::eOk)
        fail(L"No object was picked.");
    return id;
}

} // namespace cli
