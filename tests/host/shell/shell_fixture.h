#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/registry.h"

// A fresh folder per test for the configuration and the test programs, an environment that
// names only it, and the registry read anew.
class ShellTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "shell-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        for (const char* name : {"SVHOST_CONFIG_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                 "XDG_DATA_DIRS", "BROWSER", "PATH", "DISPLAY", "WAYLAND_DISPLAY"})
            m_saved[name] = saved(name);
        std::filesystem::create_directory(bin());
        setVariable("SVHOST_CONFIG_DIR", config());
        setVariable("PATH", bin() + ":/usr/bin:/bin");
        setVariable("XDG_DATA_HOME", m_folder + "/data");
        setVariable("XDG_DATA_DIRS", m_folder + "/nowhere");
        for (const char* name : {"BROWSER", "DISPLAY", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME"})
            unsetenv(name);
        svRegistryForget();
    }

    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        svRegistryForget();
        std::filesystem::remove_all(m_folder);
    }

    static void setVariable(const char* name, const std::string& value) {
        setenv(name, value.c_str(), 1);
    }

    const std::string& folder() const { return m_folder; }
    std::string config() const { return m_folder + "/config"; }
    std::string bin() const { return m_folder + "/bin"; }
    std::string registryFile() const { return config() + "/registry.txt"; }
    std::string log() const { return m_folder + "/arguments"; }

    // A program that records its arguments, NUL-terminated, in log(), and then exits.
    std::string writeRecorder(const std::string& path) const {
        writeFile(path, "#!/bin/sh\n: > '" + log() +
                            ".part'\nfor a in \"$@\"; do printf '%s\\0' \"$a\" >> '" + log() +
                            ".part'; done\nmv '" + log() + ".part' '" + log() + "'\n");
        chmod(path.c_str(), 0755);
        return path;
    }

    // The arguments the recorder got, once it ran; nothing after five seconds.
    std::optional<std::vector<std::string>> recordedArguments() const {
        for (int i = 0; i < 500; ++i) {
            if (std::filesystem::exists(log())) {
                const std::string text = readFile(log());
                std::filesystem::remove(log());
                std::vector<std::string> words;
                for (std::size_t at = 0; at < text.size();) {
                    const std::size_t end = text.find('\0', at);
                    words.push_back(text.substr(at, end - at));
                    at = end + 1;
                }
                return words;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    static void writeFile(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    static std::optional<std::string> saved(const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    std::string m_folder;
    std::map<std::string, std::optional<std::string>> m_saved;
};
