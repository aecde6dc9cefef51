#include "transferkind.h"
#include <QCoreApplication>

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
    case TransferKind::Connect: return QCoreApplication::translate("TransferKind", "TRY TO CONNECT");
    case TransferKind::Reconnect: return QCoreApplication::translate("TransferKind", "reconnecting");
    case TransferKind::AutoSendOff:
        return QCoreApplication::translate("TransferKind", "switching the sensor's sending off");
    case TransferKind::Send: return QCoreApplication::translate("TransferKind", "SEND");
    case TransferKind::Get: return QCoreApplication::translate("TransferKind", "GET");
    case TransferKind::FinishSend: return QCoreApplication::translate("TransferKind", "finishing the SEND cut short");
    case TransferKind::Go: return QCoreApplication::translate("TransferKind", "GO");
    case TransferKind::Profile: return QCoreApplication::translate("TransferKind", "PROFILE");
    case TransferKind::Record: return QCoreApplication::translate("TransferKind", "START (recorder)");
    case TransferKind::RecordTriggered:
        return QCoreApplication::translate("TransferKind", "START (triggered recording)");
    case TransferKind::RecordPolling: return QCoreApplication::translate("TransferKind", "START POLLING");
    case TransferKind::Monitor: return QCoreApplication::translate("TransferKind", "START (monitor)");
    case TransferKind::Calibrate: return QCoreApplication::translate("TransferKind", "START CALIBRATION");
    case TransferKind::CalibrateOther: return QCoreApplication::translate("TransferKind", "CALIBRATE TO OTHER SYSTEM");
    case TransferKind::CalibrationClose: return QCoreApplication::translate("TransferKind", "CLOSE CALIBRATION");
    case TransferKind::CalibrationMeasure: return QCoreApplication::translate("TransferKind", "MEASURE");
    case TransferKind::CalibrationTable: return QCoreApplication::translate("TransferKind", "SEND TO SENSOR");
    case TransferKind::SendFactors: return QCoreApplication::translate("TransferKind", "SEND FACTORS");
    }
    return {};
}

}  // namespace tarvo
