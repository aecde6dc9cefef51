// The recorder panel's REPORT button: the PDF report of the last recording
// (its figures against the teach row's band, histogram, trend with the gaps
// of its events file), saved where the user says, beside the record file by
// default.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QPushButton;
class QTableWidget;

namespace tarvo {

class ParameterSet;

struct ReportSources {
    std::function<QString()> recordPath;   // the file the last recording went to; empty: none yet
    std::function<QString()> sensor;       // the sensor's identification and version
    const ParameterSet* params = nullptr;  // the set last read or sent
    QTableWidget* teachTable = nullptr;    // row 0 (vector 0): GF and GF TOL give the limits
    QString program;                       // name and version
};

class ReportButton final : public QObject {
    Q_OBJECT
public:
    ReportButton(QPushButton* button, ReportSources sources);
    void CBF_ButtonReport();
    // The file the last report went to.
    QString lastReport() const { return m_last; }

private:
    ReportSources m_src;
    QString m_last;
};

}  // namespace tarvo
