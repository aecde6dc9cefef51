#include "scopehelp.h"

#include "righthelp.h"

#include <QCoreApplication>

namespace tarvo {

void addScopeHelpTexts(RightClickHelp& t)
{
    const QString info = QStringLiteral("INFO!");
    // Texts and titles are looked up in the translation of the language in use.
    auto add = [&](const char* name, const QString& text,
                   const QString& title = QCoreApplication::translate("Help", "INFO!")) {
        t.add(QString::fromLatin1(name), text, title);
    };

    // Live displays and the loop's buttons.
    add("DispNorm",
        QCoreApplication::translate(
            "Help",
            " Displays the calculated norm value. \n Formula for calculation: NORM = (CH_DIR*1000)/(CH_DIR+CH_DIF)."));
    add("DispINT",
        QCoreApplication::translate(
            "Help",
            " Displays the intensity arriving at the receivers. \n Formula for calculation: INT = (CH_DIR+CH_DIF)/2."));
    add("DispChRef",
        QCoreApplication::translate("Help", " Displays the current intensity of CH_REF, CH_DIR, CH_DIF. "));
    add("DispChDif",
        QCoreApplication::translate("Help", " Displays the current intensity of CH_REF, CH_DIR, CH_DIF. "));
    add("DispChDir",
        QCoreApplication::translate(
            "Help",
            " Displays the RAW value of the direct reflection channel. \n Raw value must be within 3250 and 3750 for calibration."));
    add("DispVec",
        QCoreApplication::translate(
            "Help",
            " Displays the currently detected vector number \n in accordance with the row in the TEACH TABLE."));
    add("DispPP", QCoreApplication::translate("Help", " Displays the peak to peak value of the current profile."));
    add("DispGF",
        QCoreApplication::translate(
            "Help",
            " Displays the current gloss factor. \n Double click opens a big display. \n Close the big display with a right mouse click."),
        QCoreApplication::translate("Help", "Info"));
    for (const char* bar : {"BarChRef", "BarChDir", "BarChDif"})
        add(bar, QCoreApplication::translate("Help", " Displays the RAW values of CH_REF, CH_DIR  and CH_DIF."));
    add("DispStatus", QCoreApplication::translate("Help", " Displays serial interface status messages."));
    add("ButtonGo",
        QCoreApplication::translate(
            "Help",
            " Starts data transfer (CH_REF, CH_DIR, CH_DIF, NORM, INT, V-No:) from sensor to PC. \n The data are shown in the displays, bars and in the graph.\n Shortcut Key: F11. "));
    add("ButtonStop",
        QCoreApplication::translate("Help", " Stops data transfer from sensor to PC.\n Shortcut Key: F12. "));

    // Graphs, profile and the graph panel.
    for (const char* chart : {"GraphRaw1", "GraphNorm", "GraphInt"})
        add(chart, QCoreApplication::translate("Help", " Displays a signal selected with SOURCE."));
    add("GraphGF",
        QCoreApplication::translate(
            "Help",
            " Displays the GLOSSY FACTOR. \n Left mouse double click on the Y-AXIS starts an auto zoom. \n Left mouse click scales the Y-AXIS fix."));
    add("GraphProfile",
        QCoreApplication::translate(
            "Help",
            " Displays the current profile of the last piece.\n Left mouse double click starts an auto zoom of X and Y Axis. \n Left mouse click scales the AXIS fix."));
    add("ButtonProfile", QCoreApplication::translate("Help", " Get Profile, of whole piece. "));
    add("SelectSource", QCoreApplication::translate("Help", " Select a signal to be displayed in the graph."));
    add("ButtonShowGraph", QCoreApplication::translate("Help", " Open panel with graphical display."));
    add("EditSignal", QCoreApplication::translate("Help", " Select Signal to be displayed in the graph. "));
    add("PanelGraphGraph", QCoreApplication::translate("Help", " Displays the signals selected with SIGNAL. "));

    // Parameter fields and transfers.
    add("ButtonSend",
        QCoreApplication::translate(
            "Help",
            " All the parameters of the PC-User-Interface are transferred to the sensor or to a selectable file. \n The target of the parameter transfer is determined by the select button (RAM, EEPROM, FILE). \n Shortcut Key: F9. "));
    add("ButtonGet",
        QCoreApplication::translate(
            "Help",
            " Sensor or file parameters are transferred to the PC-User-Interface. \n The source of the parameter transfer is determined by the select button (RAM, EEPROM, FILE). \n Shortcut Key: F10. "));
    for (const char* sel : {"SelectRAM", "SelectEEPROM", "SelectFILE"})
        add(sel,
            QCoreApplication::translate("Help",
                                        " Select the source respectively the target for the parameter transfer."));
    add("ParaVisible", QCoreApplication::translate("Help", " Hide or show the TEACH TABLE."));
    add("Evalmode", QCoreApplication::translate("Help", "See Manual."));
    add("ExternTeach", QCoreApplication::translate("Help", "See Manual."));
    // Their boxes offer the guide's part on them.
    t.setGuideTopic(QStringLiteral("Evalmode"), QStringLiteral("parameters.html#evalmode"));
    t.setGuideTopic(QStringLiteral("ExternTeach"), QStringLiteral("teach.html#external-teach"));
    add("EditAverage",
        QCoreApplication::translate(
            "Help",
            " Select the number of scanning values (measurement values) over which the raw signal is averaged."));
    add("EditHold",
        QCoreApplication::translate("Help", " Select the minimum pulse length when a digital output changes."));
    add("EditIntlim",
        QCoreApplication::translate(
            "Help",
            " Select an intensity limit. \n Evaluation is stopped, if the current intensity INT falls below this limit. \n ERROR STATE is output (V-No: = 255)."));
    add("EditStTrsh",
        QCoreApplication::translate(
            "Help",
            " The sensor will be triggered internally, when CH_DIR \n goes higher than self trigger treshold (ST TRSH) \n and TRIGGER=SELF is selected."));
    add("SlidePower",
        QCoreApplication::translate(
            "Help", " Select the intensity of the transmitter LED. \n 0 = no intensity,  1000 = full intensity."));
    for (const char* f : {"EditProfileBeg", "EditProfileEnd"})
        add(f,
            QCoreApplication::translate(
                "Help",
                " Select the profile range in [%], when \n TRIGGER=SELF or TRIGGER=EXT3. \n Push PROFILE to show the result."));
    for (const char* f : {"EditAnaOutBeg", "EditAnaOutEnd"})
        add(f,
            QCoreApplication::translate(
                "Help",
                " Select how to control the analog outputs. \n Current output goes from 4mA to 20mA in the selected range. \n Voltage output goes from 0V to 10V in the selected range."));
    add("EditBias",
        QCoreApplication::translate(
            "Help",
            "Bias for gloss factor. \n Sensor can be calibratet to an other System (See Manual). \n OFF: GF = GF without Bias. \n ON : GF = GF add with calibrated value of calculated bias. \n ATTENTION! BIAS only works within GF=0 and GF=100."));
    t.setGuideTopic(QStringLiteral("EditBias"), QStringLiteral("calibration.html#bias"));
    add("EditPmode",
        QCoreApplication::translate(
            "Help",
            " Select the operating mode of automatic power correction at the transmitter unit. \n STAT: Transmitter power is constantly kept at the POWER-SLIDER value. \n DYN : Transmitter power is dynamically tuned in accordance with the amount of radiation that \n       is diffusely reflected from the target. Sensor should not exceed the dynamic range."));
    add("EditTrigger",
        QCoreApplication::translate(
            "Help",
            " Select the trigger mode for the sensor. \n CONT: Continuous evaluation (no trigger event required). \n SELF: Self Trigger, when CH_DIR goes higher than ST TRSH -->internal trigger. \n Average will be calculated dynamically, dependent on the high time of internal trigger. \n Evaluation will be done when internal trigger goes low. \n The detected row (vector) will be hold at the output. \n EXT1: Evaluation will be done during external trigger (IN0) is high. \n When external trigger goes low, the last detected row (vector) will be hold at the output. \n EXT2: Evaluation will be done during external trigger (IN0) is high. \n When exernal trigger goes low, fail condition is output. \n EXT3: Average will be calculated dynamically, dependent on the high time of the external trigger (IN0). \n Evaluation will be done when external trigger (IN0) goes low. \n The detected row (vector) will be hold at the output. \n EXT4: Transmitter is aktiv when trigger (IN0) is high."));
    add("EditDigitalOutmode",
        QCoreApplication::translate(
            "Help",
            " Select how to control the 5 digital outputs. \n BINARY   : If a vector (row 0-30 in the TEACH TABLE) is detected, \n            this vector is displayed in V-No: and is set binary to the digital outputs (OUT0-OUT4). \n DIRECT LO: The maximum number of vectors to be taught is 5. \n            If a vector (row 0-4 in the TEACH TABLE) is detected, \n            the special digital output is set to LO, all others are HI. \n DIRECT HI: The maximum number of vectors to be taught is 5. \n            If a vector (row 0-4 in the TEACH TABLE) is detected, \n            the special digital output is set to HI, all others are LO. \n If no vector is detected, V-No: is 255."));

    // Teach table.
    add("ButtonTeachDataTo",
        QCoreApplication::translate(
            "Help",
            " Current measured values are assigned to the \n TEACH TABLE row selected in the No.: function field."));
    add("ButtonResetTable", QCoreApplication::translate("Help", " Reset the TEACH TABLE. \n All cells are set to 0."));
    add("EditMaxNo",
        QCoreApplication::translate(
            "Help",
            " Select the number of vectors in the TEACH TABLE to be checked (beginning from row 0). \n Aktive rows are labelled green, inaktive are labelled red. \n If OUTMODE = BINARY the maximum number of vectors to be checked is 31. \n If OUTMODE = DIRECT HI or DIRECT LO the maximum number of vectors is 5."));
    add("EditNo",
        QCoreApplication::translate("Help",
                                    " Select the current number of a row in the TEACH TABLE for TEACH DATA TO."));
    add("RadioInc", QCoreApplication::translate("Help", " Auto increment of Edit Field No.:"));

    // Trend monitor.
    add("ButtonOpenMonitor",
        QCoreApplication::translate("Help",
                                    " Open a panel to monitor datas, \n when TRIGGER = SELF, EXT1, EXT2 or EXT3."));
    add("GraphMonitor", QCoreApplication::translate("Help", " Displays the Trend of the gloss factor."));
    add("ButtonStartMonitor", QCoreApplication::translate("Help", " Start monitoring of the gloss factor."));
    add("ButtonStopMonitor", QCoreApplication::translate("Help", " Stop monitoring of the gloss factor."));
    add("ButtonMonitorReset", QCoreApplication::translate("Help", " Reset the trend graph and displays."));
    add("ButtonMonitorGfBig",
        QCoreApplication::translate("Help", " Open a big display, which shows the gloss factor."));
    add("ButtonMonitorVecBig",
        QCoreApplication::translate("Help", " Open a big display, which shows the detected vector number."));
    add("EditTrendValues", QCoreApplication::translate("Help", " Select the number of last scans to be shown."));
    add("DispGfTrend",
        QCoreApplication::translate("Help",
                                    " Displays the mean gloss factor of the values, \n which are shown in the graph."));
    add("DispStdDev",
        QCoreApplication::translate(
            "Help", " Displays the standard deviation from the mean value GF TREND, \n which are shown in the graph."));
    add("DispBad",
        QCoreApplication::translate("Help", " Displays in percent, how much parts within the graph, were bad."));
    add("DispCp",
        QCoreApplication::translate(
            "Help",
            " Displays the process capability Cp = (HIGH - LOW) / 6s of the parts in the graph, \n"
            " against the band of teach row 1 (GF +/- GF TOL). From 25 parts on."));
    add("DispCpk",
        QCoreApplication::translate("Help",
                                    " Displays the process capability Cpk = min(HIGH - mean, mean - LOW) / 3s \n"
                                    " of the parts in the graph. From 25 parts on."));
    add("DispCapParts",
        QCoreApplication::translate("Help", " Displays how many parts the mean, deviation, Cp and Cpk are made of."));
    // Recorder.
    add("ButtonOpenRecorder", QCoreApplication::translate("Help", " Open recorder for data record. "));
    add("ButtonCloseRecorder", QCoreApplication::translate("Help", " Close recorder and return to scope. "));
    add("ButtonSelRecFile", QCoreApplication::translate("Help", " Select a record file for data save. "));
    add("ButtonCalibLog",
        QCoreApplication::translate(
            "Help",
            " Show the calibration log: every calibration with its outcome, \n its certificate, and the export as CSV. "));
    add("EditLogSensor", QCoreApplication::translate("Help", " Show the calibrations of one sensor, or of all. "));
    add("EditCalibInterval",
        QCoreApplication::translate(
            "Help", " Days from a successful calibration of this sensor until the next is due. \n OFF: no interval. "));
    add("DispLogFile", QCoreApplication::translate("Help", " Shows where the calibration log is kept. "));
    add("ButtonExportLog", QCoreApplication::translate("Help", " Export the calibrations shown as a CSV file. "));
    add("ButtonCertificate",
        QCoreApplication::translate("Help", " Save the certificate of the selected calibration as PDF. "));
    add("ButtonPrintCertificate",
        QCoreApplication::translate("Help", " Print the certificate of the selected calibration. "));
    add("ButtonCloseLog", QCoreApplication::translate("Help", " Close the calibration log. "));
    add("ButtonReport",
        QCoreApplication::translate(
            "Help",
            " Make a PDF report of the record file: figures, histogram, \n trend and events of the recording. "));
    add("DispRecFile", QCoreApplication::translate("Help", " Shows the path of the record file. "));
    for (const char* start : {"ButtonStartRecord", "ButtonStartTrigRec", "ButtonStartPolling"})
        add(start, QCoreApplication::translate("Help", " Start data record."));
    for (const char* stop : {"ButtonStopRecord", "ButtonStopTrigRec", "ButtonStopPolling"})
        add(stop, QCoreApplication::translate("Help", " Stop data record."));
    add("ButtonManualRecord",
        QCoreApplication::translate("Help", " Record one frame manually \n and append to existing file. "));
    add("EditSelectDataRec", QCoreApplication::translate("Help", " Select how to record data frame. "));
    add("EditInterval",
        QCoreApplication::translate("Help",
                                    " Choose a even interval for recording. \n Minimum interval is 1 second. "));
    add("EditRecVal", QCoreApplication::translate("Help", " Choose how many Data should be recorded. "));
    add("DispRecordTime",
        QCoreApplication::translate("Help", " Displays the time for recording \n when all VALUES will be recorded."));
    add("DispRecordedValues", QCoreApplication::translate("Help", " Displays how many values are already recorded."));
    add("DispRemaining", QCoreApplication::translate("Help", " Displays how many values remain to be recorded."));
    add("DispGfRecord", QCoreApplication::translate("Help", " Displays the current gloss factor. "),
        QCoreApplication::translate("Help", "Info"));

    // Reference calibration.
    add("ButtonCalibrate", QCoreApplication::translate("Help", " Button to calibrate the sensor "));
    add("ButtonStartCalib", QCoreApplication::translate("Help", " Starts calibration with Reference 100 units. "));
    add("ButtonCloseCalib", QCoreApplication::translate("Help", " Close calibration panel and return to scope. "));
    add("ButtonCalibToOtherSystem",
        QCoreApplication::translate(
            "Help",
            " When calibration with REF=100 was OK, \n a calibration to an other system can be done. \n ATTENTION! BIAS only works within GF=0 and GF=100."));
    t.setGuideTopic(QStringLiteral("EditBias"), QStringLiteral("calibration.html#bias"));
    add("SlideRefPower",
        QCoreApplication::translate(
            "Help", " Select the intensity of the transmitter LED. \n 0 = no intensity,  1000 = full intensity."));
    // Calibration to another system.
    add("GridMeasuredValues",
        QCoreApplication::translate("Help", " Insert measured values. \n ATTENTION!!! Fill not used cells with -1."));
    add("DispCalibGfRaw",
        QCoreApplication::translate(
            "Help",
            " Displays the raw gloss factor measured with MEASURE. \n ASSIGN GF RAW writes this value. \n"
            " none: nothing measured since the panel was opened."));
    add("ButtonMeasure",
        QCoreApplication::translate(
            "Help",
            " Measures the sample under the sensor once, \n with the settings of the calibration, \n"
            " and shows its raw gloss factor in GF RAW."));
    add("ButtonAssignCal2",
        QCoreApplication::translate(
            "Help",
            " Assigne GF RAW value to selected cell in column TARVO-VALUE. \n Select cell to be assigned with left mouse click."));
    add("ButtonGetFileFromDisk", QCoreApplication::translate("Help", " Get calibration table from disk."));
    add("ButtonSaveFileToDisk", QCoreApplication::translate("Help", " Save calibration table to disk."));
    add("ButtonCalcCalibData", QCoreApplication::translate("Help", " Calculate calibration Data an display in graph."));
    add("ButtonSendCalibData",
        QCoreApplication::translate("Help", " Calibration Datas are send to the EEPROM of the senor."));
    add("ButtonCloseCalibP2", QCoreApplication::translate("Help", " Close calibration panel and return to scope. "));
    add("ButtonResetCalibTable", QCoreApplication::translate("Help", " Set all Cells to -1 (not selected) "));
    add("GraphCalibBuf",
        QCoreApplication::translate("Help",
                                    " Displays line of best fit. \n Left double click enables to scale X and Y axis."));

    (void)info;
}

}  // namespace tarvo
