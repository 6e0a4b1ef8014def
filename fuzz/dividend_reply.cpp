// divid.php's reply as the client stores it in DIVIDEND.
#include "fuzz_daily.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::DailySync("/divid.php", data, size);
    return 0;
}
