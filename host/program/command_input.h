#pragma once

// What the host's drafting, editing and inspection commands share: reading answers, reporting a
// failure, opening and appending entities, selecting.

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "db/entity.h"
#include "db/opened.h"
#include "ed/commands.h"
#include "ed/keywords.h"
#include "ed/parse.h"
#include "ge/matrix3d.h"
#include "ge/point3d.h"

class AcDbDatabase;

// One command of the host with what HELP shows of it.
struct HostCommand {
    const wchar_t* name;
    const wchar_t* syntax;
    const wchar_t* summary;
    AcRxFunctionPtr function;
};

std::span<const HostCommand> drawCommands();
std::span<const HostCommand> editCommands();
std::span<const HostCommand> inspectCommands();
std::span<const HostCommand> undoCommands();

namespace cli {

// Thrown once the reason is on the command line; the command's wrapper reports the failure, so a
// script stops there.
struct CommandFailed {};

[[noreturn]] void fail(const std::wstring& message);
[[noreturn]] void cancelled();
// A wrong answer: a person is told and asked again (the caller asks); a script fails at the line
// that holds it.
void refuse(const std::wstring& message);
// An answer as messages quote it: a hostile one is cut short.
std::wstring shown(const std::wstring& answer);

// Runs a command body, turning a throw into a failed command.
void guarded(void (*body)());
template <void (*Body)()>
void command() {
    guarded(Body);
}

// Keywords with their abbreviations in capitals, matched as the editor's prompts match them
// ("eXit" is answered by "x", "ex" or "exit").
class Keywords {
public:
    Keywords(std::initializer_list<const wchar_t*> words);
    // The keyword the answer names, or empty.
    std::wstring match(const std::wstring& answer) const { return m_list.match(answer); }
    std::wstring joined() const; // "A/B/C"

private:
    std::vector<const wchar_t*> m_words;
    SvKeywordList m_list;
};

// One word of answer (empty for Enter); cancel or the end of the input cancels the command.
std::wstring askWord(const std::wstring& prompt);
// The rest of the line as it stands, without the quotes around all of it.
std::wstring askLine(const std::wstring& prompt);

struct Answer {
    enum Kind { Enter, Point, Keyword } kind = Enter;
    AcGePoint3d point;
    std::wstring keyword;
};
// A point, one of the keywords, or Enter when allowEnter.
Answer askPointOr(const std::wstring& prompt, const Keywords& keywords, const AcGePoint3d* base,
                  bool allowEnter);
AcGePoint3d askPoint(const std::wstring& prompt, const AcGePoint3d* base = nullptr);

// A wrong answer to any of these is asked again of a person and fails a script.

enum class Sign { Any, Positive, NotNegative };
// A number into `value`, or one of the keywords, which is answered (empty for a number); `what`
// names the number in messages.
std::wstring askRealOr(const std::wstring& prompt, const wchar_t* what, const Keywords& keywords,
                       Sign sign, double& value);
// Enter takes the default when there is one.
double askReal(const std::wstring& prompt, std::optional<double> byDefault, Sign sign = Sign::Any);
// A whole number of at least one; Enter takes the default.
int askCount(const std::wstring& prompt, int byDefault);
// In degrees, counter-clockwise from the x axis; answered in radians.
double askAngle(const std::wstring& prompt, std::optional<double> byDefaultDegrees);
std::wstring askKeyword(const std::wstring& prompt, const Keywords& keywords,
                        const wchar_t* byDefault = nullptr);

// The current drawing; fails when none is open.
AcDbDatabase* database();
// Where new entities go: model space, or the layout's paper when working on it.
AcDbObjectId drawingSpace(AcDbDatabase* db);
// Appends a new entity to a block record and closes it; deletes it and fails on refusal.
AcDbObjectId append(AcDbEntity* entity, AcDbObjectId spaceId);
// A copy of the entity, with a block reference's attributes, moved by `xform` into `spaceId`.
AcDbObjectId copyEntity(const AcDbEntity& source, AcDbObjectId spaceId, const AcGeMatrix3d& xform);
// Fails with a message naming what could not be done.
void check(Acad::ErrorStatus es, const std::wstring& what);
std::wstring handleText(AcDbObjectId id);
void reportCreated(AcDbObjectId id);

// The usual selection; fails when it is empty unless that is allowed.
std::vector<AcDbObjectId> selectObjects(bool allowEmpty = false);
AcDbObjectId pickEntity(const std::wstring& prompt);

// The host's scoped open holder under the name the commands use.
template <class T>
using Opened = SvOpened<T>;

} // namespace cli
