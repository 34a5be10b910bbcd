#pragma once

#include <map>
#include <stdexcept>
#include <string>

#include "ed/diesel.h"

// Variables looked up without regard to case, and a clock stopped at
// Saturday 5 September 1998, 4:53:17.506.
class TestEnvironment : public SvDieselEnvironment {
public:
    static constexpr double kNow = 2451062.0 + (4 * 3600 + 53 * 60 + 17.506) / 86400.0;

    std::map<std::wstring, std::wstring> variables;
    std::map<std::wstring, std::wstring> settings;
    int clockReads = 0;
    bool throwOnGetVar = false;

    bool getVar(const std::wstring& name, std::wstring& value) override {
        if (throwOnGetVar) {
            throw std::runtime_error("broken host");
        }
        return find(variables, name, value);
    }
    bool getEnv(const std::wstring& name, std::wstring& value) override {
        return find(settings, name, value);
    }
    double currentDate() override {
        ++clockReads;
        return kNow;
    }

private:
    static bool find(const std::map<std::wstring, std::wstring>& table, const std::wstring& name,
                     std::wstring& value) {
        std::wstring key;
        for (wchar_t c : name) {
            key += static_cast<wchar_t>(c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c);
        }
        const auto found = table.find(key);
        if (found == table.end()) {
            return false;
        }
        value = found->second;
        return true;
    }
};
