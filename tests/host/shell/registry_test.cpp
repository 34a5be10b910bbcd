#include <filesystem>
#include <string>
#include <vector>

#include "shell/registry.h"
#include "shell_fixture.h"

namespace {

using Registry = ShellTest;

const wchar_t* const kDialogKey = L"Software\\Sentavell\\Profiles\\Dialogs\\Sentavell:DlgStyle";

std::vector<BYTE> bytesOf(const std::wstring& text) {
    const auto* data = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(data, data + (text.size() + 1) * sizeof(wchar_t));
}

std::vector<BYTE> query(HKEY key, const wchar_t* name, DWORD& type) {
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> data(size);
    EXPECT_EQ(RegQueryValueExW(key, name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    return data;
}

TEST_F(Registry, ValuesOfEveryKindComeBackFromTheFileByteForByte) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDialogKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    const DWORD left = 0xFFFFFF9C;
    const std::wstring name = L"a \"quoted\" C:\\dir\n\t\x01 \u00e9\u4e2d\U0001F600";
    const std::vector<BYTE> blob = {0, 1, 0xFF, '\n', '"'};
    const std::vector<BYTE> unterminated = {'a', 0, 0};
    ASSERT_EQ(RegSetValueExW(key, L"Left", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&left), 4),
              ERROR_SUCCESS);
    const std::vector<BYTE> nameBytes = bytesOf(name);
    ASSERT_EQ(RegSetValueExW(key, L"Name", 0, REG_SZ, nameBytes.data(),
                             static_cast<DWORD>(nameBytes.size())),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, L"Blob", 0, REG_BINARY, blob.data(), 5), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, unterminated.data(), 3), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

    svRegistryForget();
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER,
                            L"SOFTWARE\\sentavell\\profiles\\DIALOGS\\sentavell:dlgstyle", 0,
                            KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    const std::vector<BYTE> leftBytes = query(key, L"LEFT", type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(leftBytes, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&left),
                                           reinterpret_cast<const BYTE*>(&left) + 4));
    EXPECT_EQ(query(key, L"name", type), nameBytes);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(query(key, L"Blob", type), blob);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(query(key, L"", type), unterminated);
    RegCloseKey(key);

    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDialogKey, 0, nullptr, 0, KEY_READ, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
    // Saved whole each time, through a temporary file that does not stay behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config()), {}), 1);
}

TEST_F(Registry, SizesRightsAndMissingNamesAnswerThePlatformsCodes) {
    HKEY writer = nullptr, reader = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Test", 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &writer, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 7;
    ASSERT_EQ(RegSetValueExW(writer, L"N", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
              ERROR_SUCCESS);
    DWORD size = 4;
    BYTE data[4];
    EXPECT_EQ(RegQueryValueExW(writer, L"N", nullptr, nullptr, data, &size), ERROR_ACCESS_DENIED);

    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Test", 0, KEY_QUERY_VALUE, &reader),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(reader, L"N", 0, REG_DWORD, data, 4), ERROR_ACCESS_DENIED);
    size = 3;
    EXPECT_EQ(RegQueryValueExW(reader, L"N", nullptr, nullptr, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(RegQueryValueExW(reader, L"Missing", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(reader, L"N", nullptr, nullptr, data, nullptr),
              ERROR_INVALID_PARAMETER);

    HKEY other = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Missing", 0, KEY_READ, &other),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(other, nullptr);
    for (const wchar_t* bad : {L"\\Software", L"Software\\\\Test", L"Software\\"})
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, bad, 0, KEY_READ, &other), ERROR_BAD_PATHNAME)
            << bad;
    EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(0x1234), nullptr, 0, KEY_READ, &other),
              ERROR_INVALID_HANDLE);
    RegCloseKey(writer);
    RegCloseKey(reader);
}

TEST_F(Registry, DefaultValuesAreReadAndWrittenBelowAKey) {
    ASSERT_EQ(RegSetValueW(HKEY_CURRENT_USER, L"Software\\Types\\.txt", REG_SZ, L"textfile", 0),
              ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Types", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    wchar_t text[16];
    LONG size = sizeof text;
    ASSERT_EQ(RegQueryValueW(key, L".TXT", text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, L"textfile");
    EXPECT_EQ(size, static_cast<LONG>(9 * sizeof(wchar_t)));

    // A key without a default value reads as an empty text; one too small a buffer as too small.
    size = sizeof text;
    ASSERT_EQ(RegQueryValueW(key, nullptr, text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, L"");
    size = 4 * sizeof(wchar_t);
    EXPECT_EQ(RegQueryValueW(key, L".txt", text, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, static_cast<LONG>(9 * sizeof(wchar_t)));
    EXPECT_STREQ(text, L"");
    RegCloseKey(key);

    const DWORD number = 1;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Number", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    size = sizeof text;
    EXPECT_EQ(RegQueryValueW(key, nullptr, text, &size), ERROR_INVALID_DATA);
    RegCloseKey(key);
}

TEST_F(Registry, DeletedKeysAndValuesStayDeleted) {
    HKEY parent = nullptr, child = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Parent", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &parent, nullptr);
    RegCreateKeyExW(parent, L"Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
    const BYTE one = 1;
    RegSetValueExW(parent, L"Kept", 0, REG_BINARY, &one, 1);
    RegSetValueExW(parent, L"Gone", 0, REG_BINARY, &one, 1);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Parent"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(parent, L"gone"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(parent, L"gone"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(parent, L"CHILD"), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(child, L"X", 0, REG_BINARY, &one, 1), ERROR_KEY_DELETED);
    RegCloseKey(child);
    RegCloseKey(parent);

    svRegistryForget();
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Parent", 0, KEY_READ, &parent),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(parent, L"Kept", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(parent, L"Gone", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(parent, L"Child", 0, KEY_READ, &child), ERROR_FILE_NOT_FOUND);
    RegCloseKey(parent);
}

TEST_F(Registry, ADamagedFileIsReportedOnceKeptAsideAndDefaultsAreUsed) {
    const std::vector<std::string> damaged = {
        "svhost registry 1\nkey \"Software\"\nvalue \"Left\" dword 12x\nend\n",
        "svhost registry 1\nkey \"Software\"\nvalue \"Left\" dword 12\n", // cut before its end
        "svhost registry 1\nkey \"Software\"\nvalue \"N\" sz \"open\nend\n",
        "svhost registry 1\nkey \"Soft\\\\ware\"\nend\n",
        "\x89PNG\r\n\x1a\n",
    };
    for (const std::string& text : damaged) {
        std::filesystem::remove_all(config());
        writeFile(registryFile(), text);
        svRegistryForget();
        testing::internal::CaptureStderr();
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key),
                  ERROR_FILE_NOT_FOUND);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\New", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        const std::string reported = testing::internal::GetCapturedStderr();
        EXPECT_NE(reported.find(registryFile() + " is damaged"), std::string::npos) << reported;
        EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << reported;
        EXPECT_EQ(readFile(registryFile() + ".damaged"), text);
        EXPECT_NE(readFile(registryFile()).find("key \"Software\" \"New\""), std::string::npos);
    }
}

TEST_F(Registry, LivesInTheUsersConfigurationFolderAndSaysSoWhenItCannotBeKept) {
    unsetenv("SVHOST_CONFIG_DIR");
    setVariable("XDG_CONFIG_HOME", folder() + "/xdg");
    ASSERT_EQ(RegSetValueW(HKEY_CURRENT_USER, L"Software\\A", REG_SZ, L"a", 0), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(folder() + "/xdg/sentavell-host/registry.txt"));

    // A folder that cannot be made: the change holds for the session, and is reported once.
    writeFile(folder() + "/plain", "");
    setVariable("SVHOST_CONFIG_DIR", folder() + "/plain/config");
    svRegistryForget();
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegSetValueW(HKEY_CURRENT_USER, L"Software\\B", REG_SZ, L"b", 0), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueW(HKEY_CURRENT_USER, L"Software\\C", REG_SZ, L"c", 0), ERROR_SUCCESS);
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("not kept"), std::string::npos) << reported;
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << reported;
    wchar_t text[4];
    LONG size = sizeof text;
    EXPECT_EQ(RegQueryValueW(HKEY_CURRENT_USER, L"Software\\B", text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, L"b");
}

} // namespace
