// The simulated sensor's memory and optics: what it stores, what it measures
// and the reply it gives to each command frame. No I/O here.
#pragma once

#include "frame.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <random>

namespace tarvo::sim {

constexpr int kParamCount = 16;
constexpr int kTeachRows = 31;
constexpr int kTeachCols = 4;
using frame::kCalibRows;
using frame::kCalibRowWords;
using frame::kCalibWords;
constexpr int kFactorCount = 100;
constexpr int kFactorsPerBlock = 10;
constexpr int kProfilePoints = 150;
constexpr quint16 kNoVector = 255;

// Index of each word in the parameter set.
enum Param : int {
    Power,
    Pmod,
    Average,
    Evalmode,
    Hold,
    Intlim,
    Maxno,
    DigitalOut,
    Trigger,
    ExtTeach,
    AnaOutBeg,
    AnaOutEnd,
    Bias,
    StTrsh,
    ProfilBeg,
    ProfilEnd,
};

using ParamSet = std::array<quint16, kParamCount>;
using TeachRow = std::array<quint16, kTeachCols>;
using TeachTable = std::array<TeachRow, kTeachRows>;
using CalibTable = std::array<quint16, kCalibWords>;
using FactorTable = std::array<quint16, kFactorCount>;

// Stored by command 30: power and raw channels read on the gloss-100 reference.
struct RefCalibration {
    quint16 power = 0;
    quint16 chDir = 0;
    quint16 chRef = 0;
    friend bool operator==(const RefCalibration&, const RefCalibration&) = default;
};

// Everything the sensor keeps across a power cycle.
struct EepromImage {
    ParamSet params{};
    TeachTable teach{};
    RefCalibration calibration;
    CalibTable calibTable{};
    std::array<FactorTable, 3> factors{};  // red, green, blue

    static EepromImage factoryDefaults();
    friend bool operator==(const EepromImage&, const EepromImage&) = default;
};

// One evaluated measurement, the words 2..11 of a measurement frame.
struct Measurement {
    quint16 chRef = 0, chDir = 0, chDif = 0, norm = 0, intensity = 0;
    quint16 gf = 0, vector = kNoVector, temperature = 0, gfRaw = 0, pp = 0;
};

struct Profile {
    std::array<quint16, kProfilePoints> points{};
    quint16 count = 0, max = 0, min = 0;
    quint16 pp = 0;  // over the profile range, in tenths
};

class SensorModel {
public:
    struct Outcome {
        std::optional<QByteArray> reply;  // none: the sensor stays silent
        bool eepromWritten = false;       // the persistent image changed
        std::optional<bool> autoSend;     // command 50 switched sending
        QString note;                     // a few words for the log
    };

    explicit SensorModel(bool colour = false, quint32 seed = 1);

    // Handles one complete 36-byte frame whose first word is 0x0055.
    // nowMs is the simulator's running time, used for the piece clock.
    Outcome handle(const QByteArray& frame, qint64 nowMs);

    // A measurement frame as sent for command 5 and by automatic sending.
    QByteArray measurementFrame(qint64 nowMs);
    Measurement measure(qint64 nowMs);

    bool isColour() const { return m_colour; }
    QByteArray identification() const;
    // Another identification text (a different sensor on the same line); empty: the model's own.
    void setIdentification(const QByteArray& text) { m_identification = text; }
    // The bytes after the text's zero byte change from one reply to the next
    // (a sensor that leaves its buffer uncleared), when on.
    void setIdentificationTailChanging(bool on) { m_identificationTail = on ? 1 : 0; }

    // The simulated target under the sensor.
    void setGloss(double gloss) { m_gloss = gloss < 0 ? 0 : gloss; }
    double gloss() const { return m_gloss; }
    void setNoise(double factor) { m_noise = factor < 0 ? 0 : factor; }
    double noise() const { return m_noise; }
    void setPartRate(double hz) { m_partRate = hz > 0 ? hz : 1.0; }
    double partRate() const { return m_partRate; }
    // Whether command 50 is echoed; the programs expect no reply.
    void setAnswerAutoSend(bool on) { m_answerAutoSend = on; }

    const ParamSet& params() const { return m_params; }
    const TeachTable& teach() const { return m_teach; }
    const EepromImage& eeprom() const { return m_eeprom; }
    void setParams(const ParamSet& p) { m_params = p; }
    void setTeachRow(int row, const TeachRow& values);
    // Replaces the persistent image; the working set is loaded from it, as
    // at power-up.
    void powerUp(const EepromImage& image);

    const Profile& profile(qint64 nowMs);
    // Effective transmitter power after the dynamic power correction.
    double effectivePower() const;

private:
    QByteArray echo(const QByteArray& frame) const;
    QByteArray reply(quint16 command) const;
    void advancePiece(qint64 nowMs);
    quint16 evaluateVector(const Measurement& m) const;
    quint16 applyBias(quint16 gfRawTenths) const;
    double gauss(double sigma);

    bool m_colour;
    ParamSet m_params{};
    TeachTable m_teach{};
    EepromImage m_eeprom;
    double m_gloss = 100.0;
    double m_noise = 1.0;
    double m_partRate = 5.0;
    bool m_answerAutoSend = false;
    std::mt19937 m_rng;
    qint64 m_piece = -1;
    Profile m_profile;
    QByteArray m_identification;
    mutable quint8 m_identificationTail = 0;  // 0: zeros after the text; else the next filler
};

}  // namespace tarvo::sim
