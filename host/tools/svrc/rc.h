#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace svrc {

struct Location {
    std::string file;
    int line = 0;
};

// Every fault in a script ends compilation with one of these.
class Error : public std::runtime_error {
public:
    Error(Location where, const std::string& message)
        : std::runtime_error(where.file + ":" + std::to_string(where.line) + ": error: " + message),
          m_where(std::move(where)) {}
    const Location& where() const { return m_where; }

private:
    Location m_where;
};

// A resource name or type: an ordinal, or a string kept in upper case as the platform does.
struct Name {
    bool ordinal = true;
    std::uint16_t id = 0;
    std::wstring text;
};

struct StringEntry {
    std::uint32_t id = 0;
    std::wstring text;
    Location where;
};

// A node of the version block below the fixed part: a BLOCK (children) or a VALUE.
struct VersionNode {
    std::wstring key;
    bool block = false;
    bool text = false;
    std::wstring textValue;          // without its terminator
    std::vector<std::uint8_t> bytes; // binary value
    std::vector<VersionNode> children;
};

struct VersionInfo {
    std::uint32_t fileVersion[2] = {0, 0};
    std::uint32_t productVersion[2] = {0, 0};
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOs = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::vector<VersionNode> children;
};

struct Control {
    std::wstring windowClass;
    bool hasText = true; // false: the title is textOrdinal
    std::wstring text;
    std::uint16_t textOrdinal = 0;
    std::int32_t id = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct Dialog {
    Name name;
    bool extended = false;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t helpId = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    std::optional<Name> menu;
    std::wstring windowClass;
    std::uint16_t fontPointSize = 0;
    std::uint16_t fontWeight = 0;
    std::uint8_t fontItalic = 0;
    std::uint8_t fontCharset = 0;
    std::wstring fontFace;
    std::vector<Control> controls;
};

struct MenuItem {
    std::wstring text;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t depth = 0;
};

struct Menu {
    Name name;
    std::vector<MenuItem> items;
};

// Bitmaps, icons and any data kept as bytes.
struct RawResource {
    Name type;
    Name name;
    std::vector<std::uint8_t> bytes;
};

struct Script {
    std::vector<StringEntry> strings; // in script order
    std::optional<VersionInfo> version;
    Name versionName;
    std::vector<Dialog> dialogs;
    std::vector<Menu> menus;
    std::vector<RawResource> raws;
    std::set<std::string> dependencies; // every file read, for the build's depfile
};

struct Options {
    std::string input;
    std::vector<std::string> includeDirs;
    std::map<std::string, std::string> defines;
};

// Throws Error.
Script compile(const Options& options);
// Compiles text as if read from the file name given; includes resolve against includeDirs.
Script compileText(const std::string& text, const std::string& fileName, const Options& options);

// The version block in the layout GetFileVersionInfoW hands out.
std::vector<std::uint8_t> versionBlock(const VersionInfo& version);
// RT_DIALOG and RT_MENU resources in the layout the platform's loaders read.
std::vector<std::uint8_t> dialogTemplate(const Dialog& dialog);
std::vector<std::uint8_t> menuTemplate(const Menu& menu);
// A bitmap file's RT_BITMAP resource: the file less its file header. Throws Error at where,
// naming the file as name, when it is not a bitmap the host can decode.
std::vector<std::uint8_t> bitmapResource(const std::vector<std::uint8_t>& file,
                                         const std::string& name, const Location& where);

// A cursor file as the platform keeps it: an RT_CURSOR resource an image, numbered from firstId,
// and the RT_GROUP_CURSOR directory naming them. Throws Error at where when the file is not a
// cursor the host can decode.
struct CursorResources {
    std::vector<std::vector<std::uint8_t>> images;
    std::vector<std::uint8_t> group;
};
CursorResources cursorResources(const std::vector<std::uint8_t>& file, const std::string& name,
                                const Location& where, std::uint32_t firstId);

// The C++ source holding the table and its exported accessor.
std::string emitSource(const Script& script, const std::string& inputName);

// Win32 constants the scripts use without the platform headers.
std::optional<std::int64_t> builtinConstant(const std::string& name);

} // namespace svrc
