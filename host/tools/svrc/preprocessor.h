#pragma once

#include "crt/format.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "rc.h"

namespace svrc {

enum class Tok { End, Ident, Number, String, Punct, Restart };

struct Token {
    Tok kind = Tok::End;
    std::string text;       // identifier or punctuator
    std::int64_t value = 0; // number
    bool isLong = false;    // number with an L suffix: a double word where words are the default
    std::wstring str;       // string, escapes resolved
    bool wide = false;      // L"..."
    bool parenFollows = false;
    Location where;
};

// Reads a script and what it includes, obeys the preprocessor directives and hands out tokens
// with macros replaced.
class Preprocessor {
public:
    explicit Preprocessor(const Options& options);
    ~Preprocessor();

    void openFile(const std::string& path);
    void openText(const std::string& text, const std::string& name);
    Token next();
    // A file named by a statement or #include, searched beside the file naming it (unless that
    // is empty) and then in the include folders; empty when there is none.
    std::string resolve(const std::string& name, const std::string& besideFile) const;
    void addDependency(const std::string& path) { m_dependencies.insert(path); }
    const std::set<std::string>& dependencies() const { return m_dependencies; }

private:
    struct Source;
    struct Condition {
        bool parentActive;
        bool active;
        bool taken;
        bool sawElse;
        Location where;
    };

    Token lex(Source& source, bool lineMode);
    Token lexString(Source& source, bool wide);
    Token lexNumber(Source& source);
    void directive(Source& source);
    std::vector<Token> restOfLine(Source& source);
    std::string rawRestOfLine(Source& source);
    void include(Source& source, const std::string& rest, const Location& where);
    void define(Source& source, const Location& where);
    std::vector<Token> lexLine(const std::string& text, const Location& where);
    bool skipping() const { return !m_conditions.empty() && !m_conditions.back().active; }
    std::int64_t evaluate(const std::vector<Token>& line, const Location& where, int depth);
    void expand(const Token& use, std::vector<Token>& out, std::set<std::string>& active,
                int depth);
    void push(std::string path, std::string text, bool directivesOnly);

    Options m_options;
    std::vector<std::unique_ptr<Source>> m_sources;
    std::vector<Condition> m_conditions;
    std::map<std::string, std::vector<Token>> m_macros;
    std::map<std::string, std::string> m_unusable; // macros whose body is not a script's
    std::vector<Token> m_pending;                  // expanded macro tokens, the next one last
    std::set<std::string> m_dependencies;
    Location m_last;
};

std::string readFileText(const std::string& path, const Location& from);

} // namespace svrc
