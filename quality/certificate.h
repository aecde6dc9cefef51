// The calibration certificate: one record of the calibration log on one or
// two A4 pages that a person checks and signs, with the curve's chart where
// the calibration has a curve.
#pragma once

#include "calibrationlog.h"

#include <QByteArray>

class QPagedPaintDevice;

namespace tarvo {

// The certificate as a PDF.
QByteArray certificatePdf(const CalibrationRecord& record, const QString& program);
// The same on a printer (or any paged device).
void printCertificate(QPagedPaintDevice* device, const CalibrationRecord& record, const QString& program);

}  // namespace tarvo
