// Arbitrary bytes as the simulated sensor's EEPROM file: loading never goes
// past a table, and an image saved loads back the same.
#include "eepromfile.h"
#include "fuzzfiles.h"

using namespace tarvo::sim;
using tarvo::fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString path = tarvo::fuzz::scratchFile("eeprom.txt");
    tarvo::fuzz::putFile(path, tarvo::fuzz::bytesOf(data, size));

    QString error;
    const auto image = loadEeprom(path, &error);
    if (!tarvo::fuzz::accepted(image, error))
        return 0;
    if (!saveEeprom(path, *image, &error))
        broken("the EEPROM file cannot be written back");
    const auto again = loadEeprom(path, &error);
    if (!again || !(*again == *image))
        broken("an EEPROM image does not load back as saved");
    return 0;
}
