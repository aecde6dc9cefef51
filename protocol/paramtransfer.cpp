#include "paramtransfer.h"

#include "eventpump.h"
#include "exchange.h"
#include "link.h"
#include "loopflags.h"
#include "parameterset.h"

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
            return QStringLiteral("row %1").arg(from + firstRow);
        return QStringLiteral("rows %1-%2").arg(from + firstRow).arg(to + firstRow);
    };
    const int last = kTeachRows - 1;
    QStringList parts;
    parts << (cut.rowsWritten > 0 ? QStringLiteral("the new parameters and teach %1").arg(rows(0, cut.rowsWritten - 1))
                                  : QStringLiteral("the new parameters"));
    if (cut.unsureRow >= 0)
        parts << QStringLiteral("teach %1 perhaps").arg(rows(cut.unsureRow, cut.unsureRow));
    const int firstOld = cut.unsureRow >= 0 ? cut.unsureRow + 1 : cut.rowsWritten;
    if (firstOld <= last)
        parts << QStringLiteral("teach %1 as before").arg(rows(firstOld, last));
    QString text = parts.join(QStringLiteral("; "));
    if (cut.eeprom)
        text += QStringLiteral("; nothing stored in the EEPROM");
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
        if (m_ex.workingSet) {
            const int words = kParamCount + kTeachCols * cut.rowsWritten;
            std::copy_n(m_params.pp.begin(), words, m_ex.workingSet->begin());
        }
        m_cut = cut;
        m_host.WriteCut(cut);
        return false;
    };

    m_ex.order = frame::WriteParams;
    m_host.TransferStep(m_ex.order, -1);
    m_ex.FillTxBuf(m_ex.order, 0);
    m_ex.WriteFrame();
    m_ex.CheckEcho(18);
    if (m_ex.comecho != 1)
        return false;  // nothing acknowledged

    for (std::uint16_t row = 0; row < kTeachRows; ++row) {
        m_pump.processEvents();
        m_ex.order = frame::WriteTeachRow;
        m_host.TransferStep(m_ex.order, row);
        m_ex.FillTxBuf(m_ex.order, row);
        m_ex.WriteFrame();
        m_ex.CheckEcho(6);
        if (m_ex.comecho != 1) {
            cut.unsureRow = row;
            return stopped();
        }
        cut.rowsWritten = row + 1;
    }

    // The working set is now what went out (a failed store changes it no more).
    m_ex.workingSet = m_params.pp;
    if (target == EEPROM) {
        m_ex.order = frame::StoreEeprom;
        m_host.TransferStep(m_ex.order, -1);
        m_ex.FillTxBuf(m_ex.order, 0);
        m_ex.WriteFrame();
        m_ex.CheckEcho(2);
        if (m_ex.comecho != 1)
            return false;
    }
    return true;
}

bool ParamTransfer::GetPara()
{
    m_flags.poll = 0;
    m_ex.comecho = 1;
    m_link.FlushQueues();

    if (m_params.target == EEPROM) {
        m_ex.order = frame::LoadEeprom;
        m_host.TransferStep(m_ex.order, -1);
        m_ex.FillTxBuf(m_ex.order, 0);
        m_ex.WriteFrame();
        m_ex.CheckEcho(2);
    }
    if (m_ex.comecho != 1)
        return false;

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
    std::array<std::uint16_t, kBlockWords> words{};
    // row: the teach row asked for, -1 for the parameters.
    const auto replyRead = [&](int row) {
        std::copy_n(fetched.pp.begin(), frame::kWords, m_params.pp.begin());
        if (row < 0)
            std::copy_n(fetched.pp.begin() + 2, kParamCount, words.begin());
        else
            std::copy_n(fetched.pp.begin() + 3, kTeachCols, words.begin() + kParamCount + kTeachCols * row);
        m_host.ParameterReplyRead();
    };

    // The parameters' outcome is not tested on its own: a timeout clears
    // comecho, which ends the read after teach row 0.
    m_ex.order = frame::ReadParams;
    m_host.TransferStep(m_ex.order, -1);
    m_ex.FillTxBuf(m_ex.order, 0);
    m_ex.Befehl3plus4(&fetched);
    if (m_ex.bytesToRead() == 0)
        replyRead(-1);
    const bool paramsRead = m_ex.comecho == 1;

    for (std::uint16_t row = 0; row < kTeachRows; ++row) {
        m_ex.order = frame::ReadTeachRow;
        m_host.TransferStep(m_ex.order, row);
        m_ex.FillTxBuf(m_ex.order, row);
        m_ex.Befehl3plus4(&fetched);
        if (m_ex.bytesToRead() == 0)
            replyRead(row);
        if (m_ex.comecho == 0) {
            keep();
            if (paramsRead)
                m_host.ShowPartlyFetchedParameters(row);
            return false;
        }
    }

    keep();
    m_ex.workingSet = words;
    m_host.ShowFetchedParameters();
    return true;
}

}  // namespace tarvo
