#include <cstddef>
#include <cstdint>
#include <string>

#include "crt/format.h"
#include "ed/diesel.h"

namespace {

// Variables that feed text back into the evaluator, the way a drawing's own values can.
class FuzzEnvironment : public SvDieselEnvironment {
public:
    bool getVar(const std::wstring& name, std::wstring& value) override {
        if (name.empty()) {
            return false;
        }
        switch (name[0] | 0x20) {
        case L'l':
            value = L"$(eval,$(getvar,loop))";
            return true;
        case L'p':
            value = L"0.5,0.25,3";
            return true;
        case L'd':
            value = L"2451062.2036748";
            return true;
        default:
            value = name;
            return true;
        }
    }
    double currentDate() override { return 2451062.5; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzEnvironment environment;
    const std::wstring expression =
        svFromUtf8(std::string(reinterpret_cast<const char*>(data), size));
    std::wstring result;
    if (svEvaluateDiesel(expression, environment, result) && result.size() > kSvDieselMaxText) {
        __builtin_trap();
    }
    return 0;
}
