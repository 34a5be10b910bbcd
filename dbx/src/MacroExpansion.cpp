#include "MacroExpansion.h"

namespace {

std::size_t occurrences(std::wstring_view in, std::wstring_view placeholder) {
    std::size_t count = 0;
    for (std::size_t at = in.find(placeholder); at != std::wstring_view::npos;
         at = in.find(placeholder, at + placeholder.size()))
        ++count;
    return count;
}

// Sized before it is built, so a huge count of placeholders or a huge text costs one scan at
// most; none when the value is no shorter than the placeholder, for the text cannot shrink then.
bool replaceBounded(std::wstring_view in, std::wstring_view placeholder, std::wstring_view value,
                    std::wstring& out) {
    out.clear();
    if (in.size() > kMaxExpandedMacro && value.size() >= placeholder.size())
        return false;
    const std::size_t count = occurrences(in, placeholder);
    const std::size_t kept = in.size() - count * placeholder.size();
    if (kept > kMaxExpandedMacro ||
        (count > 0 && value.size() > (kMaxExpandedMacro - kept) / count))
        return false;
    out.reserve(kept + count * value.size());
    std::size_t from = 0;
    for (std::size_t at = in.find(placeholder); at != std::wstring_view::npos;
         at = in.find(placeholder, from)) {
        out.append(in.substr(from, at - from));
        out.append(value);
        from = at + placeholder.size();
    }
    out.append(in.substr(from));
    return true;
}

} // namespace

bool svExpandMacro(std::wstring_view macro, std::wstring_view text, std::wstring_view number,
                   std::wstring& expanded) {
    std::wstring textual;
    if (!replaceBounded(macro, L"%PROPERTY", text, textual) ||
        !replaceBounded(textual, L"%NPROPERTY", number, expanded)) {
        expanded.clear();
        return false;
    }
    return true;
}
