// The teach table of the main panel: 31 taught vectors of four values,
// teaching a row from the last measured values, reset, the active-row count
// with its colours, and the column labels of the evaluation mode.
#pragma once

#include "measurement.h"
#include "parameterset.h"

#include <QObject>
#include <cstdint>

class QTableWidget;
namespace Ui {
class P;
}

namespace tarvo {

using TeachCells = std::array<std::array<double, kTeachCols>, kTeachRows>;

// The vector-count rule: more than five vectors need the BINARY output mode.
bool vectorCountTooHigh(int maxno, int digitalout);
void warnVectorCount();

class TeachTablePanel final : public QObject {
    Q_OBJECT
public:
    // measured: the last received value set, which a teach takes as it is.
    TeachTablePanel(Ui::P& ui, ParameterSet& params, const MeasuredValues& measured, QObject* parent = nullptr);

    void TeachDataTo();
    void ResetTable();
    void InitTableLabel();
    void CBF_EditMaxNo();

    // The cells as numbers (a cell that holds no number reads 0) and back.
    double cell(int row, int col) const;
    void setCell(int row, int col, double value);
    void readCells(TeachCells& into) const;
    void writeCells(const TeachCells& from);
    // Rows from fromRow on were not read from the sensor: marked until the
    // cells are written anew or the user edits one (that cell's mark goes).
    void markUnread(int fromRow);
    bool rowMarkedUnread(int row) const;
    // Dimmed cells are shown but cannot be edited; teaching still writes them.
    void setCellsDimmed(bool dimmed);
    // Row labels 1..maxno green (active), the rest red.
    void colourRows(int maxno);
    // Cells whose value differs from `sent` are shown in bold italics and
    // the table is marked unsent; true when any cell differs.
    bool markUnsentCells(const TeachCells& sent);

    static constexpr unsigned kActiveColour = 0x008000;
    static constexpr unsigned kInactiveColour = 0xff0000;
    static constexpr unsigned kUnreadColour = 0xffd890;

private:
    void wire();

    Ui::P& m_ui;
    ParameterSet& m_params;
    const MeasuredValues& m_measured;
};

}  // namespace tarvo
