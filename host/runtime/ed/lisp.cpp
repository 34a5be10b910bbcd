#include "ed/lisp.h"

#include <algorithm>
#include <cwctype>
#include <deque>
#include <string>
#include <vector>

#include "acad/adscodes.h"
#include "ap/docman.h"
#include "ap/document_hooks.h"
#include "crt/crt.h"
#include "ed/editor.h"
#include "lisp_functions.h"
#include "rx/builtin_classes.h"
#include "rx/dynlinker.h"
#include "rx/print.h"

namespace {

// Each drawing has its own LISP: a function is defined for the drawing current at acedDefun.
struct ExternalFunction {
    std::wstring name;
    short code;
    void* appId;
    const AcApDocument* document;
    int (*direct)() = nullptr;
};

struct QueuedExpression {
    std::wstring text;
    const AcApDocument* document;
};

const AcApDocument* currentDocument() {
    return acDocManagerPtr()->curDocument();
}

struct Evaluation {
    int code;
    bool failed = false;
};

std::vector<ExternalFunction>& functions() {
    static std::vector<ExternalFunction> defined;
    return defined;
}

std::deque<QueuedExpression>& queued() {
    static std::deque<QueuedExpression> expressions;
    return expressions;
}

std::vector<Evaluation>& evaluations() {
    static std::vector<Evaluation> running;
    return running;
}

ExternalFunction* findFunction(const std::wstring& name,
                               const AcApDocument* document = currentDocument()) {
    auto& all = functions();
    auto found = std::find_if(all.begin(), all.end(), [&name, document](const ExternalFunction& f) {
        return f.document == document && _wcsicmp(f.name.c_str(), name.c_str()) == 0;
    });
    return found == all.end() ? nullptr : &*found;
}

void forgetModule(void* appId) {
    auto& all = functions();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [appId](const ExternalFunction& f) { return f.appId == appId; }),
              all.end());
}

const SvBuiltinClasses watchModules([] { svOnModuleUnloaded(&forgetModule); });

// "(NAME)" with blanks allowed around the name: the only form the host evaluates itself.
bool parseCall(const std::wstring& expression, std::wstring& name) {
    std::wstring text = expression;
    const auto blank = [](wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), blank).base(), text.end());
    if (text.size() < 3 || text.front() != L'(' || text.back() != L')')
        return false;
    name = text.substr(1, text.size() - 2);
    name.erase(name.begin(), std::find_if_not(name.begin(), name.end(), blank));
    name.erase(std::find_if_not(name.rbegin(), name.rend(), blank).base(), name.end());
    return !name.empty() && std::none_of(name.begin(), name.end(), [&](wchar_t c) {
        return blank(c) || c == L'(' || c == L')';
    });
}

bool invoke(const ExternalFunction& function) {
    evaluations().push_back(Evaluation{function.code});
    bool ok = true;
    if (function.direct != nullptr)
        ok = function.direct() == RSRSLT;
    else
        ok = acrxDynamicLinker()->sendMessage(function.appId, AcRx::kInvkSubrMsg, nullptr) !=
             AcRx::kRetError;
    ok = ok && !evaluations().back().failed;
    evaluations().pop_back();
    return ok;
}

int g_depth = 0;

} // namespace

bool svHasExternalFunction(const std::wstring& name) {
    return findFunction(name) != nullptr;
}

int acedDefun(const wchar_t* name, short funcNumber) {
    void* appId = svCurrentAppId();
    if (name == nullptr || *name == L'\0' || funcNumber < 0 || appId == nullptr)
        return RTERROR;
    if (ExternalFunction* existing = findFunction(name))
        *existing = ExternalFunction{name, funcNumber, appId, currentDocument()};
    else
        functions().push_back(ExternalFunction{name, funcNumber, appId, currentDocument()});
    return RTNORM;
}

int acedUndef(const wchar_t* name, short funcNumber) {
    const ExternalFunction* function = name != nullptr ? findFunction(name) : nullptr;
    if (function == nullptr || function->code != funcNumber)
        return RTERROR;
    auto& all = functions();
    all.erase(all.begin() + (function - all.data()));
    return RTNORM;
}

int acedGetFunCode() {
    return evaluations().empty() ? RTERROR : evaluations().back().code;
}

int acedRegFunc(int (*function)(), int funcNumber) {
    void* appId = svCurrentAppId();
    for (ExternalFunction& defined : functions()) {
        if (defined.appId == appId && defined.code == funcNumber &&
            defined.document == currentDocument()) {
            defined.direct = function;
            return RTNORM;
        }
    }
    return RTERROR;
}

int ads_queueexpr(const wchar_t* expression) {
    if (expression == nullptr)
        return RTERROR;
    queued().push_back(QueuedExpression{expression, currentDocument()});
    return RTNORM;
}

void acdbFail(const wchar_t* message) {
    acutPrintf(L"\n; error: %s", message != nullptr ? message : L"");
    if (!evaluations().empty())
        evaluations().back().failed = true;
}

namespace {

bool evaluate(const std::wstring& text, const AcApDocument* document) {
    acedEditor->notify([&text](AcEditorReactor* r) { r->lispWillStart(text.c_str()); });
    ++g_depth;
    std::wstring name;
    bool ok = false;
    if (!parseCall(text, name)) {
        acutPrintf(L"\n; error: cannot evaluate %s", text.c_str());
    } else if (const ExternalFunction* function = findFunction(name, document)) {
        ok = invoke(*function);
    } else {
        acutPrintf(L"\n; error: no function definition: %s", name.c_str());
    }
    --g_depth;
    if (ok)
        acedEditor->notify([](AcEditorReactor* r) { r->lispEnded(); });
    else
        acedEditor->notify([](AcEditorReactor* r) { r->lispCancelled(); });
    if (g_depth == 0)
        acedEditor->notify([](AcEditorReactor* r) { r->commandLineReady(nullptr); });
    return ok;
}

} // namespace

bool svEvaluateLisp(const wchar_t* expression) {
    return evaluate(expression != nullptr ? expression : L"", currentDocument());
}

void svEvaluateQueuedExpressions() {
    while (!queued().empty()) {
        const QueuedExpression expression = queued().front();
        queued().pop_front();
        evaluate(expression.text, expression.document);
    }
}

namespace {

// A drawing closes: its LISP goes with it.
void forgetDocumentLisp(const AcApDocument* document) {
    auto& all = functions();
    all.erase(
        std::remove_if(all.begin(), all.end(),
                       [document](const ExternalFunction& f) { return f.document == document; }),
        all.end());
    auto& waiting = queued();
    waiting.erase(
        std::remove_if(waiting.begin(), waiting.end(),
                       [document](const QueuedExpression& e) { return e.document == document; }),
        waiting.end());
}

const bool g_forgetsWithDocuments = (svAddDocumentForgetHook(forgetDocumentLisp), true);

} // namespace
