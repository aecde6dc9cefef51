#include "teachtable.h"

#include "dialogs.h"
#include "entryfeedback.h"
#include "panelutil.h"
#include "ui_P.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {
// Cells are edited as numbers: whole numbers in vector mode, tenths in gloss
// mode, within what one word of the parameter block can carry.
class CellDelegate final : public QStyledItemDelegate {
public:
    CellDelegate(const QComboBox* evalmode, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_evalmode(evalmode)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new QDoubleSpinBox(parent);
        const bool gloss = m_evalmode->currentIndex() == 1;
        editor->setDecimals(gloss ? 1 : 0);
        editor->setRange(0.0, gloss ? 6553.5 : 65535.0);
        editor->setButtonSymbols(QAbstractSpinBox::NoButtons);
        editor->setFrame(false);
        editor->setAccessibleName(QCoreApplication::translate("tarvo::TeachTablePanel", "Teach table cell"));
        watchNumberEntry(editor);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        bool ok = false;
        const double v = index.data(Qt::EditRole).toDouble(&ok);
        static_cast<QDoubleSpinBox*>(editor)->setValue(ok ? v : 0.0);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* box = static_cast<QDoubleSpinBox*>(editor);
        box->interpretText();
        model->setData(index, box->value(), Qt::EditRole);
    }

private:
    const QComboBox* m_evalmode;
};

}  // namespace

bool vectorCountTooHigh(int maxno, int digitalout)
{
    return maxno > 5 && digitalout != 1;
}

void warnVectorCount()
{
    dialogs().message(
        QStringLiteral("INFO!"),
        QCoreApplication::translate(
            "tarvo::TeachTablePanel",
            " ATTENTION! \n \n MAXVEC-No. IS TOO HIGH \n DECREASE MAXVEC-No. OR SWITCH TO OUTMODE=BINARY"));
}

TeachTablePanel::TeachTablePanel(Ui::P& ui, ParameterSet& params, const MeasuredValues& measured, QObject* parent)
    : QObject(parent)
    , m_ui(ui)
    , m_params(params)
    , m_measured(measured)
{
    m_ui.TeachTable->setItemDelegate(new CellDelegate(m_ui.Evalmode, m_ui.TeachTable));
    wire();
}

void TeachTablePanel::wire()
{
    connect(m_ui.ButtonTeachDataTo, &QPushButton::clicked, this, [this] { TeachDataTo(); });
    connect(m_ui.ButtonResetTable, &QPushButton::clicked, this, [this] { ResetTable(); });
    // Only a value the user commits reaches the rule; the program sets the
    // field with its signals blocked.
    connect(m_ui.EditMaxNo, &QSpinBox::valueChanged, this, [this] { CBF_EditMaxNo(); });
    // EditNo and RadioInc act only through their help texts.
    // A value the user types is what the user wants: no longer "not read".
    connect(m_ui.TeachTable, &QTableWidget::itemChanged, this, [](QTableWidgetItem* item) {
        if (item->data(Qt::BackgroundRole).isValid()) {
            const QSignalBlocker quiet(item->tableWidget());
            item->setData(Qt::BackgroundRole, QVariant());
            item->setToolTip(QString());
        }
    });
}

double TeachTablePanel::cell(int row, int col) const
{
    const QTableWidgetItem* item = m_ui.TeachTable->item(row, col);
    if (!item)
        return 0.0;
    bool ok = false;
    const double v = item->data(Qt::EditRole).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

void TeachTablePanel::setCell(int row, int col, double value)
{
    QTableWidgetItem* item = m_ui.TeachTable->item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        m_ui.TeachTable->setItem(row, col, item);
    }
    item->setData(Qt::EditRole, value);
}

void TeachTablePanel::readCells(TeachCells& into) const
{
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachCols; ++c)
            into[r][c] = cell(r, c);
}

bool TeachTablePanel::markUnsentCells(const TeachCells& sent)
{
    bool any = false;
    const QSignalBlocker quiet(m_ui.TeachTable);  // a font is no edit
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachCols; ++c) {
            QTableWidgetItem* item = m_ui.TeachTable->item(r, c);
            if (!item)
                continue;
            const bool differs = cell(r, c) != sent[r][c];
            QFont font = item->font();
            if (font.bold() != differs || font.italic() != differs) {
                font.setBold(differs);
                font.setItalic(differs);
                item->setFont(font);
            }
            any = any || differs;
        }
    markUnsent(m_ui.TeachTable, any);
    return any;
}

void TeachTablePanel::writeCells(const TeachCells& from)
{
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachCols; ++c) {
            setCell(r, c, from[r][c]);
            QTableWidgetItem* item = m_ui.TeachTable->item(r, c);
            item->setData(Qt::BackgroundRole, QVariant());  // values written anew are known
            item->setToolTip(QString());
        }
}

void TeachTablePanel::markUnread(int fromRow)
{
    const QSignalBlocker quiet(m_ui.TeachTable);
    const QString tip = tr("Not read from the sensor: the GET ended before this row. "
                           "SEND writes the value shown.");
    for (int r = std::max(fromRow, 0); r < kTeachRows; ++r)
        for (int c = 0; c < kTeachCols; ++c) {
            setCell(r, c, cell(r, c));
            QTableWidgetItem* item = m_ui.TeachTable->item(r, c);
            item->setBackground(QColor::fromRgb(kUnreadColour));
            item->setToolTip(tip);
        }
}

bool TeachTablePanel::rowMarkedUnread(int row) const
{
    const QTableWidgetItem* item = m_ui.TeachTable->item(row, 0);
    return item && item->data(Qt::BackgroundRole).isValid();
}

void TeachTablePanel::setCellsDimmed(bool dimmed)
{
    const Qt::ItemFlags usable = Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsSelectable;
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachCols; ++c)
            if (QTableWidgetItem* item = m_ui.TeachTable->item(r, c))
                item->setFlags(dimmed ? item->flags() & ~usable : item->flags() | usable);
}

void TeachTablePanel::colourRows(int maxno)
{
    for (int r = 0; r < kTeachRows; ++r) {
        QTableWidgetItem* label = m_ui.TeachTable->verticalHeaderItem(r);
        if (!label) {
            label = new QTableWidgetItem(QString::number(r));
            m_ui.TeachTable->setVerticalHeaderItem(r, label);
        }
        label->setForeground(QColor(QRgb(r < maxno ? kActiveColour : kInactiveColour)));
    }
}

void TeachTablePanel::TeachDataTo()
{
    m_params.pmod = static_cast<std::uint16_t>(ringValue(m_ui.EditPmode));
    const int n = m_ui.EditNo->value();
    m_params.trigger = static_cast<std::uint16_t>(ringValue(m_ui.EditTrigger));
    m_params.evalmode = static_cast<std::uint16_t>(ringValue(m_ui.Evalmode));
    if (n < 0 || n >= kTeachRows)
        return;
    const MeasuredValues& now = m_measured;

    if (m_params.evalmode == 0) {
        setCell(n, 0, now.dataNorm);
        setCell(n, 1, 25);
        setCell(n, 2, now.dataInt);
        setCell(n, 3, m_params.pmod == 0 ? 100 : 20);
    } else if (m_params.evalmode == 1) {
        setCell(n, 0, now.dataGfDouble);
        setCell(n, 1, 2);
        if (m_params.trigger == 1 || m_params.trigger == 4)
            setCell(n, 2, 3);
    } else {
        return;
    }
    if (m_ui.RadioInc->isChecked() && n < kTeachRows - 1)
        m_ui.EditNo->setValue(n + 1);
}

void TeachTablePanel::ResetTable()
{
    for (int r = 0; r < kTeachRows; ++r)
        for (int c = 0; c < kTeachCols; ++c)
            setCell(r, c, 0.0);
    m_ui.EditNo->setValue(0);
}

void TeachTablePanel::InitTableLabel()
{
    m_params.trigger = static_cast<std::uint16_t>(ringValue(m_ui.EditTrigger));
    m_params.evalmode = static_cast<std::uint16_t>(ringValue(m_ui.Evalmode));

    QStringList labels;
    if (m_params.evalmode == 0) {
        labels = {QStringLiteral("NORM"), QStringLiteral("N TOL"), QStringLiteral("INT"), QStringLiteral("I TOL")};
    } else if (m_params.evalmode == 1) {
        const bool pp = m_params.trigger == 1 || m_params.trigger == 4;
        labels = {QStringLiteral("GF"), QStringLiteral("GF TOL"), pp ? QStringLiteral("PP TOL") : QString(), QString()};
    }
    for (int c = 0; c < labels.size(); ++c) {
        QTableWidgetItem* header = m_ui.TeachTable->horizontalHeaderItem(c);
        if (!header) {
            header = new QTableWidgetItem;
            m_ui.TeachTable->setHorizontalHeaderItem(c, header);
        }
        header->setText(labels[c]);
    }

    m_params.maxno = static_cast<std::uint16_t>(m_ui.EditMaxNo->value());
    if (vectorCountTooHigh(m_params.maxno, m_params.digitalout))
        warnVectorCount();
    colourRows(m_params.maxno);
}

void TeachTablePanel::CBF_EditMaxNo()
{
    m_params.maxno = static_cast<std::uint16_t>(m_ui.EditMaxNo->value());
    m_params.digitalout = static_cast<std::uint16_t>(ringValue(m_ui.EditDigitalOutmode));
    if (vectorCountTooHigh(m_params.maxno, m_params.digitalout))
        warnVectorCount();
    colourRows(m_params.maxno);
}

}  // namespace tarvo
