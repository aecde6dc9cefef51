#include "sensormodel.h"

#include "frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvo::sim {

namespace {

using frame::getWord;
using frame::putWord;

// Optics of the simulated head. CH_REF watches the transmitter LED itself;
// CH_DIR sees the specular and CH_DIF the diffuse reflection of the target.
// On the gloss-100 reference CH_REF is the stronger channel, so the power
// search settles it near 3850 counts with CH_DIR at about 3470.
constexpr double kRefPerPower = 5.0;
constexpr double kDirPerPowerAt100 = 4.5;
constexpr double kDifPerPower = 2.0;
constexpr double kAdcFullScale = 4095.0;
constexpr double kDynamicIntTarget = 2000.0;  // INT held by dynamic power
constexpr double kNominalRatio = kDirPerPowerAt100 / kRefPerPower;

// Factory calibration, about 2 % off: GF reads 98 on the reference until the
// user calibrates.
constexpr RefCalibration kFactoryCalibration{770, 3534, 3850};

const char* const kGlossId = "TARVO GLOSS SENSOR V4.3 SIM";
const char* const kColourId = "TARVO RGB SENSOR V4.3 SIM";

quint16 toWord(double v)
{
    if (!(v > 0))
        return 0;
    return static_cast<quint16>(std::min(std::lround(v), 65535L));
}

double diffuseShare(double gloss)
{
    return std::max(0.05, 1.0 - gloss / 150.0);
}

}  // namespace

EepromImage EepromImage::factoryDefaults()
{
    EepromImage e;
    e.params = {500,         // power
                0,           // pmod: static
                10,          // average
                1,           // evalmode: gloss
                10,          // hold
                100,         // intlim
                31,          // maxno
                1,           // digital out: binary
                0,           // trigger: continuous
                0,           // external teach off
                0,    1000,  // analog output range
                0,           // bias off
                1000,        // self-trigger threshold
                10,   90};   // profile range, percent
    // Gloss mode table in tenths: GF 100, 90 ... 10, tolerance 5.0, PP 3.0.
    for (int r = 0; r < 10; ++r)
        e.teach[r] = {quint16(1000 - 100 * r), 50, 30, 0};
    e.calibration = kFactoryCalibration;
    // Identity curve: sensor GF 0.0..199.6 in steps of 0.4, then 200.0..2000.0
    // in steps of 3.6, values in tenths.
    for (int i = 0; i < kCalibWords; ++i)
        e.calibTable[i] = quint16(i < 500 ? 4 * i : 2000 + 36 * (i - 500));
    for (auto& table : e.factors)
        table.fill(1024);  // factor 1.0
    return e;
}

SensorModel::SensorModel(bool colour, quint32 seed)
    : m_colour(colour)
    , m_rng(seed)
{
    powerUp(EepromImage::factoryDefaults());
}

void SensorModel::powerUp(const EepromImage& image)
{
    m_eeprom = image;
    m_params = image.params;
    m_teach = image.teach;
}

void SensorModel::setTeachRow(int row, const TeachRow& values)
{
    if (row >= 0 && row < kTeachRows)
        m_teach[row] = values;
}

QByteArray SensorModel::identification() const
{
    QByteArray id = m_identification.isEmpty() ? QByteArray(m_colour ? kColourId : kGlossId)
                                               : m_identification.left(frame::kBytes);
    const qsizetype text = id.size();
    id.resize(frame::kBytes, '\0');
    if (m_identificationTail != 0 && text + 1 < frame::kBytes) {
        for (qsizetype i = text + 1; i < frame::kBytes; ++i)
            id[i] = char(m_identificationTail);
        m_identificationTail = m_identificationTail == 0xFF ? 1 : m_identificationTail + 1;
    }
    return id;
}

QByteArray SensorModel::echo(const QByteArray& request) const
{
    QByteArray r = request;
    auto* b = reinterpret_cast<quint8*>(r.data());
    putWord(b, 0, frame::kSyncSensor);
    return r;
}

QByteArray SensorModel::reply(quint16 command) const
{
    QByteArray r(frame::kBytes, '\0');
    auto* b = reinterpret_cast<quint8*>(r.data());
    putWord(b, 0, frame::kSyncSensor);
    putWord(b, 1, command);
    return r;
}

double SensorModel::gauss(double sigma)
{
    if (sigma <= 0)
        return 0;
    return std::normal_distribution<double>(0.0, sigma)(m_rng);
}

double SensorModel::effectivePower() const
{
    const double power = std::min<double>(m_params[Power], 1000);
    if (m_params[Pmod] == 0)
        return power;
    const double intPerPower = (kDirPerPowerAt100 * m_gloss / 100.0 + kDifPerPower * diffuseShare(m_gloss)) / 2.0;
    return std::clamp(kDynamicIntTarget / intPerPower, 1.0, 1000.0);
}

Measurement SensorModel::measure(qint64 nowMs)
{
    advancePiece(nowMs);
    const double p = effectivePower();
    const double avg = std::max<double>(1, m_params[Average]);
    const double rel = 0.01 * m_noise / std::sqrt(avg);
    const double abs = 1.5 * m_noise / std::sqrt(avg);
    auto channel = [&](double ideal) {
        const double v = ideal * (1.0 + gauss(rel)) + gauss(abs);
        return static_cast<quint16>(std::clamp(std::lround(v), 0L, long(kAdcFullScale)));
    };

    Measurement m;
    m.chRef = channel(kRefPerPower * p);
    m.chDir = channel(kDirPerPowerAt100 * m_gloss / 100.0 * p);
    m.chDif = channel(kDifPerPower * diffuseShare(m_gloss) * p);
    const unsigned sum = unsigned(m.chDir) + m.chDif;
    m.norm = sum ? quint16(unsigned(m.chDir) * 1000 / sum) : 0;
    m.intensity = quint16(sum / 2);

    const auto& cal = m_eeprom.calibration;
    const double calRatio = (cal.chRef && cal.chDir) ? double(cal.chDir) / cal.chRef : kNominalRatio;
    const double gfTenths = m.chRef ? 1000.0 * (double(m.chDir) / m.chRef) / calRatio : 0.0;
    m.gfRaw = quint16(std::clamp(std::lround(gfTenths), 0L, 20000L));
    m.gf = m_params[Bias] ? applyBias(m.gfRaw) : m.gfRaw;

    const double minutes = static_cast<double>(nowMs) / 60000.0;
    m.temperature = toWord(300.0 + 5.0 * std::sin(2 * std::numbers::pi * minutes / 10.0) + gauss(0.3));
    m.pp = m_profile.pp;
    m.vector = evaluateVector(m);
    return m;
}

QByteArray SensorModel::measurementFrame(qint64 nowMs)
{
    const Measurement m = measure(nowMs);
    QByteArray r = reply(frame::ReadMeasurement);
    auto* b = reinterpret_cast<quint8*>(r.data());
    const quint16 words[] = {m.chRef, m.chDir,  m.chDif,       m.norm,  m.intensity,
                             m.gf,    m.vector, m.temperature, m.gfRaw, m.pp};
    for (int i = 0; i < 10; ++i)
        putWord(b, 2 + i, words[i]);
    return r;
}

quint16 SensorModel::evaluateVector(const Measurement& m) const
{
    const int rows = std::min<int>(m_params[Maxno], kTeachRows);
    auto within = [](int value, int taught, int tol) { return std::abs(value - taught) <= tol; };
    if (m_params[Evalmode] == 0) {
        if (m.intensity < m_params[Intlim])
            return kNoVector;
        for (int r = 0; r < rows; ++r) {
            const auto& t = m_teach[r];
            if (within(m.norm, t[0], t[1]) && within(m.intensity, t[2], t[3]))
                return quint16(r);
        }
    } else if (m_params[Evalmode] == 1) {
        // Gloss mode: the table holds tenths; the profile tolerance counts
        // only when a piece is triggered (self or external 3).
        const bool checkPP = m_params[Trigger] == 1 || m_params[Trigger] == 4;
        for (int r = 0; r < rows; ++r) {
            const auto& t = m_teach[r];
            if (within(m.gf, t[0], t[1]) && (!checkPP || m.pp <= t[2]))
                return quint16(r);
        }
    }
    return kNoVector;
}

quint16 SensorModel::applyBias(quint16 g) const
{
    // Linear interpolation in the 1001-point curve.
    const auto& t = m_eeprom.calibTable;
    int index;
    double frac;
    if (g < 2000) {
        index = g / 4;
        frac = (g % 4) / 4.0;
    } else {
        index = 500 + (g - 2000) / 36;
        frac = ((g - 2000) % 36) / 36.0;
    }
    if (index >= kCalibWords - 1)
        return t[kCalibWords - 1];
    return toWord(t[index] + frac * (double(t[index + 1]) - t[index]));
}

void SensorModel::advancePiece(qint64 nowMs)
{
    const auto piece = qint64(double(nowMs) * m_partRate / 1000.0);
    if (piece == m_piece)
        return;
    m_piece = piece;

    // The gloss seen along a piece passing the beam: ramps at both edges and a
    // plateau with a slight waviness.
    const auto& cal = m_eeprom.calibration;
    const double calRatio = (cal.chRef && cal.chDir) ? double(cal.chDir) / cal.chRef : kNominalRatio;
    const double base = 1000.0 * (m_gloss / 100.0) * kNominalRatio / calRatio;
    Profile pr;
    pr.count = quint16(130 + std::uniform_int_distribution<int>(0, 20)(m_rng));
    const int ramp = 8;
    const double cycles = std::uniform_real_distribution<double>(1.5, 3.0)(m_rng);
    const double phase = std::uniform_real_distribution<double>(0, 2 * std::numbers::pi)(m_rng);
    const double wave = 0.012 * std::min(m_noise, 3.0);
    for (int i = 0; i < pr.count; ++i) {
        double v = base * (1.0 + wave * std::sin(2 * std::numbers::pi * cycles * i / pr.count + phase))
            + gauss(base * 0.002 * m_noise);
        const int fromEdge = std::min(i, pr.count - 1 - i);
        if (fromEdge < ramp)
            v *= (fromEdge + 1.0) / (ramp + 1.0);
        pr.points[i] = toWord(v);
    }
    const auto first = pr.points.begin(), last = first + pr.count;
    pr.max = *std::max_element(first, last);
    pr.min = *std::min_element(first, last);

    int beg = m_params[ProfilBeg], end = m_params[ProfilEnd];
    if (beg >= end || end > 100)
        beg = 0, end = 100;
    const int from = pr.count * beg / 100;
    const int to = std::max(from + 1, pr.count * end / 100);
    const auto [lo, hi] = std::minmax_element(first + from, first + to);
    pr.pp = quint16(*hi - *lo);
    m_profile = pr;
}

const Profile& SensorModel::profile(qint64 nowMs)
{
    advancePiece(nowMs);
    return m_profile;
}

SensorModel::Outcome SensorModel::handle(const QByteArray& request, qint64 nowMs)
{
    Outcome out;
    const auto* in = reinterpret_cast<const quint8*>(request.constData());
    const quint16 command = getWord(in, 1);
    const quint16 arg = getWord(in, 2);
    const bool colourCommand = command >= frame::CompRed && command <= frame::CompStart;
    if (colourCommand && !m_colour) {
        out.note = QStringLiteral("colour command on the gloss sensor, no reply");
        return out;
    }

    switch (command) {
    case frame::WriteParams:
        for (int i = 0; i < kParamCount; ++i)
            m_params[i] = getWord(in, 2 + i);
        out.reply = echo(request);
        out.note = QStringLiteral("parameters written (power %1)").arg(m_params[Power]);
        break;
    case frame::WriteTeachRow:
        if (arg < kTeachRows) {
            for (int c = 0; c < kTeachCols; ++c)
                m_teach[arg][c] = getWord(in, 3 + c);
            out.note = QStringLiteral("teach row %1 written").arg(arg);
        } else {
            out.note = QStringLiteral("teach row %1 out of range, not stored").arg(arg);
        }
        out.reply = echo(request);
        break;
    case frame::ReadParams: {
        QByteArray r = reply(command);
        auto* b = reinterpret_cast<quint8*>(r.data());
        for (int i = 0; i < kParamCount; ++i)
            putWord(b, 2 + i, m_params[i]);
        out.reply = r;
        out.note = QStringLiteral("parameters read");
        break;
    }
    case frame::ReadTeachRow: {
        QByteArray r = reply(command);
        auto* b = reinterpret_cast<quint8*>(r.data());
        putWord(b, 2, arg);
        if (arg < kTeachRows) {
            for (int c = 0; c < kTeachCols; ++c)
                putWord(b, 3 + c, m_teach[arg][c]);
        }
        out.reply = r;
        out.note = QStringLiteral("teach row %1 read").arg(arg);
        break;
    }
    case frame::ReadMeasurement:
        out.reply = measurementFrame(nowMs);
        out.note = QStringLiteral("measurement");
        break;
    case frame::StoreEeprom:
        m_eeprom.params = m_params;
        m_eeprom.teach = m_teach;
        out.eepromWritten = true;
        out.reply = echo(request);
        out.note = QStringLiteral("working set stored in EEPROM");
        break;
    case frame::Identify:
        out.reply = identification();
        out.note = QStringLiteral("identification");
        break;
    case frame::LoadEeprom:
        m_params = m_eeprom.params;
        m_teach = m_eeprom.teach;
        out.reply = echo(request);
        out.note = QStringLiteral("working set loaded from EEPROM");
        break;
    case frame::ReadProfileBlock: {
        const Profile& pr = profile(nowMs);
        QByteArray r = reply(command);
        auto* b = reinterpret_cast<quint8*>(r.data());
        if (arg < 9) {
            for (int j = 0; j < 16; ++j)
                putWord(b, 2 + j, pr.points[16 * arg + j]);
        } else if (arg == 9) {
            for (int j = 0; j < 6; ++j)
                putWord(b, 2 + j, pr.points[144 + j]);
            putWord(b, 8, pr.max);
            putWord(b, 9, pr.min);
            putWord(b, 10, pr.count);
        }
        out.reply = r;
        out.note = QStringLiteral("profile block %1").arg(arg);
        break;
    }
    case frame::ConfirmRefCalib:
        m_eeprom.calibration = {getWord(in, 2), getWord(in, 3), getWord(in, 4)};
        out.eepromWritten = true;
        out.reply = echo(request);
        out.note = QStringLiteral("reference calibration stored (power %1, CH_DIR %2, CH_REF %3)")
                       .arg(m_eeprom.calibration.power)
                       .arg(m_eeprom.calibration.chDir)
                       .arg(m_eeprom.calibration.chRef);
        break;
    case frame::AnnounceCalibTable:
        out.reply = echo(request);
        out.note = QStringLiteral("calibration table announced");
        break;
    case frame::WriteCalibRow:
        if (arg < kCalibRows) {
            for (int j = 0; j < kCalibRowWords; ++j)
                m_eeprom.calibTable[kCalibRowWords * arg + j] = getWord(in, 3 + j);
            out.eepromWritten = true;
            out.note = QStringLiteral("calibration row %1 stored").arg(arg);
        } else {
            out.note = QStringLiteral("calibration row %1 out of range, not stored").arg(arg);
        }
        out.reply = echo(request);
        break;
    case frame::CompRed:
    case frame::CompGreen:
    case frame::CompBlue:
        if (arg < kFactorCount / kFactorsPerBlock) {
            auto& table = m_eeprom.factors[command - frame::CompRed];
            for (int k = 0; k < kFactorsPerBlock; ++k)
                table[kFactorsPerBlock * arg + k] = getWord(in, 3 + k);
            out.eepromWritten = true;
            out.note = QStringLiteral("factor block %1 of table %2 stored").arg(arg).arg(command - frame::CompRed);
        } else {
            out.note = QStringLiteral("factor block %1 out of range, not stored").arg(arg);
        }
        out.reply = echo(request);
        break;
    case frame::CompStart:
        out.reply = echo(request);
        out.note = QStringLiteral("factor transfer announced");
        break;
    case frame::AutoSend:
        out.autoSend = arg != 0;
        if (m_answerAutoSend)
            out.reply = echo(request);
        out.note = arg ? QStringLiteral("automatic sending on") : QStringLiteral("automatic sending off");
        break;
    default: out.note = QStringLiteral("unknown command, no reply"); break;
    }
    return out;
}

}  // namespace tarvo::sim
