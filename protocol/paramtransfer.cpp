#include "paramtransfer.h"

#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "loopflags.h"
#include "parameterset.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace tarvo {

ParamTransfer::ParamTransfer(Exchange& exchange, Link& link, LoopFlags& flags, ParameterSet& params, EventPump& pump,
                             ParamTransferHost& host)
    : m_ex(exchange)
    , m_link(link)
    , m_flags(flags)
    , m_params(params)
    , m_pump(pump)
    , m_host(host)
{
}

QString describeCutWrite(const CutWrite& cut, int firstRow)
{
    const auto rows = [&](int from, int to) {
        if (from == to)
            return QCoreApplication::translate("ParamTransfer", "row %1").arg(from + firstRow);
        return QCoreApplication::translate("ParamTransfer", "rows %1-%2").arg(from + firstRow).arg(to + firstRow);
    };
    const int last = kTeachRows - 1;
    QStringList parts;
    parts << (cut.rowsWritten > 0 ? QCoreApplication::translate("ParamTransfer", "the new parameters and teach %1")
                                        .arg(rows(0, cut.rowsWritten - 1))
                                  : QCoreApplication::translate("ParamTransfer", "the new parameters"));
    if (cut.unsureRow >= 0)
        parts
            << QCoreApplication::translate("ParamTransfer", "teach %1 perhaps").arg(rows(cut.unsureRow, cut.unsureRow));
    const int firstOld = cut.unsureRow >= 0 ? cut.unsureRow + 1 : cut.rowsWritten;
    if (firstOld <= last)
        parts << QCoreApplication::translate("ParamTransfer", "teach %1 as before").arg(rows(firstOld, last));
    QString text = parts.join(QStringLiteral("; "));
    if (cut.eeprom)
        text += QCoreApplication::translate("ParamTransfer", "; nothing stored in the EEPROM");
    return text;
}

bool ParamTransfer::SendPara()
{
    // The target is taken once: a toggle pressed while the frames are on
    // their way does not change where this send ends.
    const auto target = m_params.target;
    m_flags.poll = 0;
    m_host.GetPanelValues();
    m_params.CopyVarsToPP();
    m_link.FlushQueues();
    m_cut.reset();

    // Once the parameters are acknowledged, a send that stops leaves the
    // sensor with part of the new set: said, never left as a bare timeout.
    CutWrite cut;
    cut.eeprom = target == EEPROM;
    const auto stopped = [&] {
        // The working set as far as the sensor acknowledged it: a later
        // comparison names only what is not known (the row left unsure).
        if (std::optional<ParameterWords> set = m_ex.workingSet()) {
            const int words = kParamCount + kTeachCols * cut.rowsWritten;
            std::copy_n(m_params.pp.begin(), words, set->begin());
            m_ex.setWorkingSet(set);
        }
        m_cut = cut;
        m_host.WriteCut(cut);
        return false;
    };

    m_host.TransferStep(frame::WriteParams, -1);
    if (!m_ex.send({.code = frame::WriteParams, .echoWords = frame::kWords}))
        return false;  // nothing acknowledged

    for (std::uint16_t row = 0; row < kTeachRows; ++row) {
        m_pump.processEvents();
        m_host.TransferStep(frame::WriteTeachRow, row);
        if (!m_ex.send({.code = frame::WriteTeachRow, .arg = row, .echoWords = 6})) {
            cut.unsureRow = row;
            return stopped();
        }
        cut.rowsWritten = row + 1;
    }

    // The working set is now what went out (a failed store changes it no more).
    m_ex.setWorkingSet(m_params.pp);
    if (target == EEPROM) {
        m_host.TransferStep(frame::StoreEeprom, -1);
        if (!m_ex.send({.code = frame::StoreEeprom, .echoWords = 2}))
            return false;
    }
    return true;
}

bool ParamTransfer::GetPara()
{
    m_flags.poll = 0;
    m_link.FlushQueues();

    if (m_params.target == EEPROM) {
        m_host.TransferStep(frame::LoadEeprom, -1);
        if (!m_ex.send({.code = frame::LoadEeprom, .echoWords = 2}))
            return false;
    }

    // The sensor's set is unpacked into a copy: the teach rows take the
    // number format of the evaluation mode the sensor reported, whatever the
    // user changes on the panel while the 32 frames are on their way. What
    // was unpacked goes into the variables at the end, also after a failure.
    ParameterSet fetched = m_params;
    const auto keep = [&] {
        const auto target = m_params.target;  // a toggle pressed meanwhile stays
        m_params = fetched;
        m_params.target = target;
    };
    // The host sees each reply where it always finds one: in pp[0..17].
    // The words as they came make up the working set.
    ParameterWords words{};
    // One reply read; row: the teach row asked for, -1 for the parameters.
    // False when the reply did not come (the timeout reaction is shown) or
    // the host refused it.
    const auto read = [&](std::uint16_t code, int row) {
        m_host.TransferStep(code, row);
        if (!m_ex.fetchParameters(code, static_cast<std::uint16_t>(std::max(row, 0)), fetched))
            return false;
        std::copy_n(fetched.pp.begin(), frame::kWords, m_params.pp.begin());
        if (row < 0)
            std::copy_n(fetched.pp.begin() + 2, kParamCount, words.begin());
        else
            std::copy_n(fetched.pp.begin() + 3, kTeachCols, words.begin() + kParamCount + kTeachCols * row);
        return m_host.ParameterReplyRead();
    };

    // The parameters' outcome is not tested on its own: a failed one ends
    // the read after teach row 0.
    const bool paramsRead = read(frame::ReadParams, -1);
    bool ok = paramsRead;
    for (std::uint16_t row = 0; row < kTeachRows; ++row) {
        const bool rowRead = read(frame::ReadTeachRow, row);
        ok = ok && rowRead;
        if (!ok) {
            keep();
            if (paramsRead)
                m_host.ShowPartlyFetchedParameters(row);
            return false;
        }
    }

    keep();
    m_ex.setWorkingSet(words);
    m_host.ShowFetchedParameters();
    return true;
}

}  // namespace tarvo
