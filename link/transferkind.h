// What a transfer on the link is for. The exchange's guard queues at most one
// of each kind, and drops those queued behind a failed transfer that would
// only meet the failure again; the user is told them by their buttons.
#pragma once

#include <QString>

namespace tarvo {

enum class TransferKind {
    Connect,      // a connection the user asks for (TRY TO CONNECT, the start)
    Reconnect,    // the recovery of a lost line
    AutoSendOff,  // switching the sensor's own sending off
    Send,         // the parameter set and teach table to the sensor
    Get,          // and from it
    FinishSend,   // the offer to finish a SEND that was cut short
    Go,           // the live loop
    Profile,
    Record,
    RecordTriggered,
    RecordPolling,
    Monitor,
    Calibrate,
    CalibrateOther,
    CalibrationClose,
    CalibrationMeasure,
    CalibrationTable,
    SendFactors,  // the temperature tool's three tables
};

// True for the kinds that do not need the line a transfer failed on (a new
// connection, the recovery, the switch-off that stops a sensor's sending):
// they stay queued when it fails.
bool survivesFailedTransfer(TransferKind kind);

// The button (or action) behind a kind, as the user knows it.
QString transferButton(TransferKind kind);

}  // namespace tarvo
