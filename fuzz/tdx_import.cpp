// The server's TDX importer on one day file (an index, so the volume
// conversion runs too, when the first byte is odd).
#include "fuzz_support.h"
#include "server/importers.h"
#include "server/server_database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Database& db = fuzz::ServerDatabase();
    static const server::ImportLog quiet{[](const std::string&) {}, [](const std::string&) {}};
    if (size == 0) return 0;
    const char* name = data[0] % 2 ? "sh000001.day" : "sz000002.day";
    server::ImportTdx(db, fuzz::WriteInput(name, data + 1, size - 1), quiet);
    server::Exec(db, "DELETE FROM daily");
    return 0;
}
