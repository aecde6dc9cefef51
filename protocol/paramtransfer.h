// SendPara and GetPara: the parameter set and the teach table to the sensor's
// working set (optionally on into its EEPROM) and back, as a sequence of
// exchanges that stops at the first failed one.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace tarvo {

class EventPump;
class Exchange;
class Link;
class ParameterSet;
struct LoopFlags;

// A send that stopped after the parameters were acknowledged: what the
// sensor's working set now holds. Frames acknowledged are new; the teach row
// that got no acknowledgement may or may not have been taken; the rest is as
// it was.
struct CutWrite {
    bool eeprom = false;  // the send was to go on into the EEPROM (no store followed)
    int rowsWritten = 0;  // teach rows 0 .. rowsWritten-1 were acknowledged
    int unsureRow = -1;   // the teach row whose acknowledgement did not come
};

// "the new parameters and teach rows 1-12; row 13 perhaps; rows 14-31 as
// before": rows counted from firstRow (0 for the tool, 1 as the panel
// numbers them).
QString describeCutWrite(const CutWrite& cut, int firstRow);

// The panel side of a transfer; the program implements it.
class ParamTransferHost {
public:
    virtual ~ParamTransferHost() = default;
    // Takes the panel's fields and teach-table cells into the variables.
    virtual void GetPanelValues() = 0;
    // After a successful fetch: ExternTeach shows extteach, then InitExteach,
    // SetPanelValues and InitEval bring the panel up to date.
    virtual void ShowFetchedParameters() = 0;
    // After a fetch that got the parameters but not every teach row: rows
    // 0 .. rowsRead-1 and the parameters are the sensor's, the rest is not
    // known. The timeout reaction has been shown.
    virtual void ShowPartlyFetchedParameters(int rowsRead) { (void)rowsRead; }
    // During a fetch, after each complete reply to command 3 or 4; pp[0..17]
    // hold the reply. False refuses it and ends the fetch there.
    virtual bool ParameterReplyRead() { return true; }
    // Before each frame of a transfer: its command code and, for a teach
    // row, the row (0..30; else -1). For a progress display.
    virtual void TransferStep(std::uint16_t command, int row)
    {
        (void)command;
        (void)row;
    }
    // A send stopped after the parameters: the sensor holds a mixed set.
    // The timeout reaction has been shown.
    virtual void WriteCut(const CutWrite& cut) { (void)cut; }
};

class ParamTransfer {
public:
    ParamTransfer(Exchange& exchange, Link& link, LoopFlags& flags, ParameterSet& params, EventPump& pump,
                  ParamTransferHost& host);

    // Parameters (command 1), the 31 teach rows (command 2) and, when the
    // target is EEPROM, the store (command 6). True when every frame was
    // acknowledged; a failure has already shown the timeout reaction.
    bool SendPara();
    // When the source is EEPROM, the load (command 8); then the parameters
    // (command 3) and the 31 teach rows (command 4). True when the read
    // went through and the panel was refreshed; after the parameters and
    // some rows the panel shows those, and what was not read is marked.
    bool GetPara();

    // The last send, when it stopped half way; cleared by the next send.
    const std::optional<CutWrite>& lastCut() const { return m_cut; }

private:
    Exchange& m_ex;
    Link& m_link;
    LoopFlags& m_flags;
    ParameterSet& m_params;
    EventPump& m_pump;
    ParamTransferHost& m_host;
    std::optional<CutWrite> m_cut;
};

}  // namespace tarvo
