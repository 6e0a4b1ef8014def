// The engine's configuration file, read and rendered.
#include "fuzz_support.h"
#include "gep/config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = fuzz::WriteInput("engine.cfg", data, size);
    GEP::renderEngineConfig(GEP::readEngineConfig(file.string()));
    return 0;
}
