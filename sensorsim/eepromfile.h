// The simulated sensor's EEPROM kept as a small text file, so that stored
// parameters and calibrations survive a restart of the simulator.
#pragma once

#include "sensormodel.h"

#include <QString>

#include <optional>

namespace tarvo::sim {

// Lines of the file, one record each, numbers separated by blanks:
//   params P0 .. P15
//   teach ROW C0 C1 C2 C3            (31 lines)
//   calibration POWER CH_DIR CH_REF
//   curve ROW V0 .. V12              (77 lines, 1001 values)
//   red|green|blue BLOCK F0 .. F9    (10 lines each)
// Lines starting with '#' are comments. Records that are missing keep the
// factory value.
bool saveEeprom(const QString& path, const EepromImage& image, QString* error = nullptr);
std::optional<EepromImage> loadEeprom(const QString& path, QString* error = nullptr);

}  // namespace tarvo::sim
