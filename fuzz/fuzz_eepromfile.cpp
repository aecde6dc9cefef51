// Arbitrary bytes as the simulated sensor's EEPROM file: loading never goes
// past a table, and an image saved loads back the same.
#include "eepromfile.h"
#include "fuzzfiles.h"

using namespace tarvo::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    tarvo::fuzz::readsBackAsWritten("eeprom.txt", data, size, loadEeprom, saveEeprom);
    return 0;
}
