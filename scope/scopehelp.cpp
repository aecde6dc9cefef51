#include "scopehelp.h"

#include "righthelp.h"

namespace tarvo {

void addScopeHelpTexts(RightClickHelp& t)
{
    const QString info = QStringLiteral("INFO!");
    auto add = [&](const char* name, const QString& text, const QString& title = QStringLiteral("INFO!")) {
        t.add(QString::fromLatin1(name), text, title);
    };

    // Live displays and the loop's buttons.
    add("DispNorm",
        QStringLiteral(
            " Displays the calculated norm value. \n Formula for calculation: NORM = (CH_DIR*1000)/(CH_DIR+CH_DIF)."));
    add("DispINT",
        QStringLiteral(
            " Displays the intensity arriving at the receivers. \n Formula for calculation: INT = (CH_DIR+CH_DIF)/2."));
    add("DispChRef", QStringLiteral(" Displays the current intensity of CH_REF, CH_DIR, CH_DIF. "));
    add("DispChDif", QStringLiteral(" Displays the current intensity of CH_REF, CH_DIR, CH_DIF. "));
    add("DispChDir",
        QStringLiteral(
            " Displays the RAW value of the direct reflection channel. \n Raw value must be within 3250 and 3750 for calibration."));
    add("DispVec",
        QStringLiteral(
            " Displays the currently detected vector number \n in accordance with the row in the TEACH TABLE."));
    add("DispPP", QStringLiteral(" Displays the peak to peak value of the current profile."));
    add("DispGF",
        QStringLiteral(
            " Displays the current gloss factor. \n Double click opens a big display. \n Close the big display with a right mouse click."),
        QStringLiteral("Info"));
    for (const char* bar : {"BarChRef", "BarChDir", "BarChDif"})
        add(bar, QStringLiteral(" Displays the RAW values of CH_REF, CH_DIR  and CH_DIF."));
    add("DispStatus", QStringLiteral(" Displays serial interface status messages."));
    add("ButtonGo",
        QStringLiteral(
            " Starts data transfer (CH_REF, CH_DIR, CH_DIF, NORM, INT, V-No:) from sensor to PC. \n The data are shown in the displays, bars and in the graph.\n Shortcut Key: F11. "));
    add("ButtonStop", QStringLiteral(" Stops data transfer from sensor to PC.\n Shortcut Key: F12. "));

    // Graphs, profile and the graph panel.
    for (const char* chart : {"GraphRaw1", "GraphNorm", "GraphInt"})
        add(chart, QStringLiteral(" Displays a signal selected with SOURCE."));
    add("GraphGF",
        QStringLiteral(
            " Displays the GLOSSY FACTOR. \n Left mouse double click on the Y-AXIS starts an auto zoom. \n Left mouse click scales the Y-AXIS fix."));
    add("GraphProfile",
        QStringLiteral(
            " Displays the current profile of the last piece.\n Left mouse double click starts an auto zoom of X and Y Axis. \n Left mouse click scales the AXIS fix."));
    add("ButtonProfile", QStringLiteral(" Get Profile, of whole piece. "));
    add("SelectSource", QStringLiteral(" Select a signal to be displayed in the graph."));
    add("ButtonShowGraph", QStringLiteral(" Open panel with graphical display."));
    add("EditSignal", QStringLiteral(" Select Signal to be displayed in the graph. "));
    add("PanelGraphGraph", QStringLiteral(" Displays the signals selected with SIGNAL. "));

    // Parameter fields and transfers.
    add("ButtonSend",
        QStringLiteral(
            " All the parameters of the PC-User-Interface are transferred to the sensor or to a selectable file. \n The target of the parameter transfer is determined by the select button (RAM, EEPROM, FILE). \n Shortcut Key: F9. "));
    add("ButtonGet",
        QStringLiteral(
            " Sensor or file parameters are transferred to the PC-User-Interface. \n The source of the parameter transfer is determined by the select button (RAM, EEPROM, FILE). \n Shortcut Key: F10. "));
    for (const char* sel : {"SelectRAM", "SelectEEPROM", "SelectFILE"})
        add(sel, QStringLiteral(" Select the source respectively the target for the parameter transfer."));
    add("ParaVisible", QStringLiteral(" Hide or show the TEACH TABLE."));
    add("Evalmode", QStringLiteral("See Manual."));
    add("ExternTeach", QStringLiteral("See Manual."));
    // Their boxes offer the guide's part on them.
    t.setGuideTopic(QStringLiteral("Evalmode"), QStringLiteral("parameters.html#evalmode"));
    t.setGuideTopic(QStringLiteral("ExternTeach"), QStringLiteral("teach.html#external-teach"));
    add("EditAverage",
        QStringLiteral(
            " Select the number of scanning values (measurement values) over which the raw signal is averaged."));
    add("EditHold", QStringLiteral(" Select the minimum pulse length when a digital output changes."));
    add("EditIntlim",
        QStringLiteral(
            " Select an intensity limit. \n Evaluation is stopped, if the current intensity INT falls below this limit. \n ERROR STATE is output (V-No: = 255)."));
    add("EditStTrsh",
        QStringLiteral(
            " The sensor will be triggered internally, when CH_DIR \n goes higher than self trigger treshold (ST TRSH) \n and TRIGGER=SELF is selected."));
    add("SlidePower",
        QStringLiteral(" Select the intensity of the transmitter LED. \n 0 = no intensity,  1000 = full intensity."));
    for (const char* f : {"EditProfileBeg", "EditProfileEnd"})
        add(f,
            QStringLiteral(
                " Select the profile range in [%], when \n TRIGGER=SELF or TRIGGER=EXT3. \n Push PROFILE to show the result."));
    for (const char* f : {"EditAnaOutBeg", "EditAnaOutEnd"})
        add(f,
            QStringLiteral(
                " Select how to control the analog outputs. \n Current output goes from 4mA to 20mA in the selected range. \n Voltage output goes from 0V to 10V in the selected range."));
    add("EditBias",
        QStringLiteral(
            "Bias for gloss factor. \n Sensor can be calibratet to an other System (See Manual). \n OFF: GF = GF without Bias. \n ON : GF = GF add with calibrated value of calculated bias. \n ATTENTION! BIAS only works within GF=0 and GF=100."));
    t.setGuideTopic(QStringLiteral("EditBias"), QStringLiteral("calibration.html#bias"));
    add("EditPmode",
        QStringLiteral(
            " Select the operating mode of automatic power correction at the transmitter unit. \n STAT: Transmitter power is constantly kept at the POWER-SLIDER value. \n DYN : Transmitter power is dynamically tuned in accordance with the amount of radiation that \n       is diffusely reflected from the target. Sensor should not exceed the dynamic range."));
    add("EditTrigger",
        QStringLiteral(
            " Select the trigger mode for the sensor. \n CONT: Continuous evaluation (no trigger event required). \n SELF: Self Trigger, when CH_DIR goes higher than ST TRSH -->internal trigger. \n Average will be calculated dynamically, dependent on the high time of internal trigger. \n Evaluation will be done when internal trigger goes low. \n The detected row (vector) will be hold at the output. \n EXT1: Evaluation will be done during external trigger (IN0) is high. \n When external trigger goes low, the last detected row (vector) will be hold at the output. \n EXT2: Evaluation will be done during external trigger (IN0) is high. \n When exernal trigger goes low, fail condition is output. \n EXT3: Average will be calculated dynamically, dependent on the high time of the external trigger (IN0). \n Evaluation will be done when external trigger (IN0) goes low. \n The detected row (vector) will be hold at the output. \n EXT4: Transmitter is aktiv when trigger (IN0) is high."));
    add("EditDigitalOutmode",
        QStringLiteral(
            " Select how to control the 5 digital outputs. \n BINARY   : If a vector (row 0-30 in the TEACH TABLE) is detected, \n            this vector is displayed in V-No: and is set binary to the digital outputs (OUT0-OUT4). \n DIRECT LO: The maximum number of vectors to be taught is 5. \n            If a vector (row 0-4 in the TEACH TABLE) is detected, \n            the special digital output is set to LO, all others are HI. \n DIRECT HI: The maximum number of vectors to be taught is 5. \n            If a vector (row 0-4 in the TEACH TABLE) is detected, \n            the special digital output is set to HI, all others are LO. \n If no vector is detected, V-No: is 255."));

    // Teach table.
    add("ButtonTeachDataTo",
        QStringLiteral(
            " Current measured values are assigned to the \n TEACH TABLE row selected in the No.: function field."));
    add("ButtonResetTable", QStringLiteral(" Reset the TEACH TABLE. \n All cells are set to 0."));
    add("EditMaxNo",
        QStringLiteral(
            " Select the number of vectors in the TEACH TABLE to be checked (beginning from row 0). \n Aktive rows are labelled green, inaktive are labelled red. \n If OUTMODE = BINARY the maximum number of vectors to be checked is 31. \n If OUTMODE = DIRECT HI or DIRECT LO the maximum number of vectors is 5."));
    add("EditNo", QStringLiteral(" Select the current number of a row in the TEACH TABLE for TEACH DATA TO."));
    add("RadioInc", QStringLiteral(" Auto increment of Edit Field No.:"));

    // Trend monitor.
    add("ButtonOpenMonitor",
        QStringLiteral(" Open a panel to monitor datas, \n when TRIGGER = SELF, EXT1, EXT2 or EXT3."));
    add("GraphMonitor", QStringLiteral(" Displays the Trend of the gloss factor."));
    add("ButtonStartMonitor", QStringLiteral(" Start monitoring of the gloss factor."));
    add("ButtonStopMonitor", QStringLiteral(" Stop monitoring of the gloss factor."));
    add("ButtonMonitorReset", QStringLiteral(" Reset the trend graph and displays."));
    add("ButtonMonitorGfBig", QStringLiteral(" Open a big display, which shows the gloss factor."));
    add("ButtonMonitorVecBig", QStringLiteral(" Open a big display, which shows the detected vector number."));
    add("EditTrendValues", QStringLiteral(" Select the number of last scans to be shown."));
    add("DispGfTrend",
        QStringLiteral(" Displays the mean gloss factor of the values, \n which are shown in the graph."));
    add("DispStdDev",
        QStringLiteral(
            " Displays the standard deviation from the mean value GF TREND, \n which are shown in the graph."));
    add("DispBad", QStringLiteral(" Displays in percent, how much parts within the graph, were bad."));
    add("DispCp",
        QStringLiteral(" Displays the process capability Cp = (HIGH - LOW) / 6s of the parts in the graph, \n"
                       " against the band of teach row 1 (GF +/- GF TOL). From 25 parts on."));
    add("DispCpk",
        QStringLiteral(" Displays the process capability Cpk = min(HIGH - mean, mean - LOW) / 3s \n"
                       " of the parts in the graph. From 25 parts on."));
    add("DispCapParts", QStringLiteral(" Displays how many parts the mean, deviation, Cp and Cpk are made of."));
    // Recorder.
    add("ButtonOpenRecorder", QStringLiteral(" Open recorder for data record. "));
    add("ButtonCloseRecorder", QStringLiteral(" Close recorder and return to scope. "));
    add("ButtonSelRecFile", QStringLiteral(" Select a record file for data save. "));
    add("ButtonCalibLog",
        QStringLiteral(
            " Show the calibration log: every calibration with its outcome, \n its certificate, and the export as CSV. "));
    add("EditLogSensor", QStringLiteral(" Show the calibrations of one sensor, or of all. "));
    add("EditCalibInterval",
        QStringLiteral(
            " Days from a successful calibration of this sensor until the next is due. \n OFF: no interval. "));
    add("DispLogFile", QStringLiteral(" Shows where the calibration log is kept. "));
    add("ButtonExportLog", QStringLiteral(" Export the calibrations shown as a CSV file. "));
    add("ButtonCertificate", QStringLiteral(" Save the certificate of the selected calibration as PDF. "));
    add("ButtonPrintCertificate", QStringLiteral(" Print the certificate of the selected calibration. "));
    add("ButtonCloseLog", QStringLiteral(" Close the calibration log. "));
    add("ButtonReport",
        QStringLiteral(
            " Make a PDF report of the record file: figures, histogram, \n trend and events of the recording. "));
    add("DispRecFile", QStringLiteral(" Shows the path of the record file. "));
    for (const char* start : {"ButtonStartRecord", "ButtonStartTrigRec", "ButtonStartPolling"})
        add(start, QStringLiteral(" Start data record."));
    for (const char* stop : {"ButtonStopRecord", "ButtonStopTrigRec", "ButtonStopPolling"})
        add(stop, QStringLiteral(" Stop data record."));
    add("ButtonManualRecord", QStringLiteral(" Record one frame manually \n and append to existing file. "));
    add("EditSelectDataRec", QStringLiteral(" Select how to record data frame. "));
    add("EditInterval", QStringLiteral(" Choose a even interval for recording. \n Minimum interval is 1 second. "));
    add("EditRecVal", QStringLiteral(" Choose how many Data should be recorded. "));
    add("DispRecordTime", QStringLiteral(" Displays the time for recording \n when all VALUES will be recorded."));
    add("DispRecordedValues", QStringLiteral(" Displays how many values are already recorded."));
    add("DispRemaining", QStringLiteral(" Displays how many values remain to be recorded."));
    add("DispGfRecord", QStringLiteral(" Displays the current gloss factor. "), QStringLiteral("Info"));

    // Reference calibration.
    add("ButtonCalibrate", QStringLiteral(" Button to calibrate the sensor "));
    add("ButtonStartCalib", QStringLiteral(" Starts calibration with Reference 100 units. "));
    add("ButtonCloseCalib", QStringLiteral(" Close calibration panel and return to scope. "));
    add("ButtonCalibToOtherSystem",
        QStringLiteral(
            " When calibration with REF=100 was OK, \n a calibration to an other system can be done. \n ATTENTION! BIAS only works within GF=0 and GF=100."));
    t.setGuideTopic(QStringLiteral("EditBias"), QStringLiteral("calibration.html#bias"));
    add("SlideRefPower",
        QStringLiteral(" Select the intensity of the transmitter LED. \n 0 = no intensity,  1000 = full intensity."));
    // Calibration to another system.
    add("GridMeasuredValues", QStringLiteral(" Insert measured values. \n ATTENTION!!! Fill not used cells with -1."));
    add("DispCalibGfRaw",
        QStringLiteral(" Displays the raw gloss factor measured with MEASURE. \n ASSIGN GF RAW writes this value. \n"
                       " none: nothing measured since the panel was opened."));
    add("ButtonMeasure",
        QStringLiteral(" Measures the sample under the sensor once, \n with the settings of the calibration, \n"
                       " and shows its raw gloss factor in GF RAW."));
    add("ButtonAssignCal2",
        QStringLiteral(
            " Assigne GF RAW value to selected cell in column TARVO-VALUE. \n Select cell to be assigned with left mouse click."));
    add("ButtonGetFileFromDisk", QStringLiteral(" Get calibration table from disk."));
    add("ButtonSaveFileToDisk", QStringLiteral(" Save calibration table to disk."));
    add("ButtonCalcCalibData", QStringLiteral(" Calculate calibration Data an display in graph."));
    add("ButtonSendCalibData", QStringLiteral(" Calibration Datas are send to the EEPROM of the senor."));
    add("ButtonCloseCalibP2", QStringLiteral(" Close calibration panel and return to scope. "));
    add("ButtonResetCalibTable", QStringLiteral(" Set all Cells to -1 (not selected) "));
    add("GraphCalibBuf",
        QStringLiteral(" Displays line of best fit. \n Left double click enables to scale X and Y axis."));

    (void)info;
}

}  // namespace tarvo
