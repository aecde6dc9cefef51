#include "transferkind.h"

namespace tarvo {

bool survivesFailedTransfer(TransferKind kind)
{
    switch (kind) {
    case TransferKind::Connect:
    case TransferKind::Reconnect:
    case TransferKind::AutoSendOff: return true;
    case TransferKind::Send:
    case TransferKind::Get:
    case TransferKind::FinishSend:
    case TransferKind::Go:
    case TransferKind::Profile:
    case TransferKind::Record:
    case TransferKind::RecordTriggered:
    case TransferKind::RecordPolling:
    case TransferKind::Monitor:
    case TransferKind::Calibrate:
    case TransferKind::CalibrateOther:
    case TransferKind::CalibrationClose:
    case TransferKind::CalibrationMeasure:
    case TransferKind::CalibrationTable:
    case TransferKind::SendFactors: return false;
    }
    return false;
}

QString transferButton(TransferKind kind)
{
    switch (kind) {
    case TransferKind::Connect: return QStringLiteral("TRY TO CONNECT");
    case TransferKind::Reconnect: return QStringLiteral("reconnecting");
    case TransferKind::AutoSendOff: return QStringLiteral("switching the sensor's sending off");
    case TransferKind::Send: return QStringLiteral("SEND");
    case TransferKind::Get: return QStringLiteral("GET");
    case TransferKind::FinishSend: return QStringLiteral("finishing the SEND cut short");
    case TransferKind::Go: return QStringLiteral("GO");
    case TransferKind::Profile: return QStringLiteral("PROFILE");
    case TransferKind::Record: return QStringLiteral("START (recorder)");
    case TransferKind::RecordTriggered: return QStringLiteral("START (triggered recording)");
    case TransferKind::RecordPolling: return QStringLiteral("START POLLING");
    case TransferKind::Monitor: return QStringLiteral("START (monitor)");
    case TransferKind::Calibrate: return QStringLiteral("START CALIBRATION");
    case TransferKind::CalibrateOther: return QStringLiteral("CALIBRATE TO OTHER SYSTEM");
    case TransferKind::CalibrationClose: return QStringLiteral("CLOSE CALIBRATION");
    case TransferKind::CalibrationMeasure: return QStringLiteral("MEASURE");
    case TransferKind::CalibrationTable: return QStringLiteral("SEND TO SENSOR");
    case TransferKind::SendFactors: return QStringLiteral("SEND FACTORS");
    }
    return {};
}

}  // namespace tarvo
