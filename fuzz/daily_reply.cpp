// daily.php's reply as the client stores it in DAILY.
#include "fuzz_daily.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::DailySync("/daily.php", data, size);
    return 0;
}
