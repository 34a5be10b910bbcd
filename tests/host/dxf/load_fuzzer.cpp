// The DXF loader on arbitrary bytes: it either loads or refuses, never crashes, hangs or grows
// without bound.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "crt/format.h"
#include "db/database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/sv_dxf_fuzz_" + std::to_string(::getpid()) + ".dxf";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    AcDbDatabase db(false);
    db.readDwgFile(svFromUtf8(path).c_str());
    return 0;
}
