#include "eepromfile.h"

#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace tarvo::sim {

namespace {

const char* const kColourNames[3] = {"red", "green", "blue"};

template <typename Range>
QString joined(const Range& values, int from, int count)
{
    QStringList parts;
    for (int i = from; i < from + count; ++i)
        parts << QString::number(values[i]);
    return parts.join(u' ');
}

void fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

}  // namespace

bool saveEeprom(const QString& path, const EepromImage& e, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Written whole through the programs' file writer: a full disk leaves
    // the file as it was and is reported.
    QString text;
    QTextStream out(&text);
    out << "# EEPROM of the simulated sensor, written by sensorsim\n";
    out << "params " << joined(e.params, 0, kParamCount) << '\n';
    for (int r = 0; r < kTeachRows; ++r)
        out << "teach " << r << ' ' << joined(e.teach[r], 0, kTeachCols) << '\n';
    out << "calibration " << e.calibration.power << ' ' << e.calibration.chDir << ' ' << e.calibration.chRef << '\n';
    for (int r = 0; r < kCalibRows; ++r)
        out << "curve " << r << ' ' << joined(e.calibTable, r * kCalibRowWords, kCalibRowWords) << '\n';
    for (int c = 0; c < 3; ++c) {
        for (int b = 0; b < kFactorCount / kFactorsPerBlock; ++b)
            out << kColourNames[c] << ' ' << b << ' ' << joined(e.factors[c], b * kFactorsPerBlock, kFactorsPerBlock)
                << '\n';
    }
    out.flush();
    QString why;
    if (!saveWholeFile(path, text.toUtf8(), &why)) {
        fail(error, why);
        return false;
    }
    return true;
}

std::optional<EepromImage> loadEeprom(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(error, file.errorString());
        return std::nullopt;
    }
    EepromImage e = EepromImage::factoryDefaults();
    int lineNo = 0;
    while (!file.atEnd()) {
        ++lineNo;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        QList<quint16> v;
        bool ok = true;
        for (int i = 1; i < f.size() && ok; ++i)
            v << f[i].toUShort(&ok);
        auto bad = [&] {
            fail(error, QStringLiteral("%1:%2: bad record").arg(path).arg(lineNo));
            return std::nullopt;
        };
        if (!ok)
            return bad();
        const QString& key = f[0];
        // Records with a row or block number carry it first.
        auto rowOf = [&](int limit, int width) { return v.size() == width + 1 && v[0] < limit ? int(v[0]) : -1; };
        if (key == u"params" && v.size() == kParamCount) {
            std::copy(v.begin(), v.end(), e.params.begin());
        } else if (key == u"teach" && rowOf(kTeachRows, kTeachCols) >= 0) {
            std::copy(v.begin() + 1, v.end(), e.teach[v[0]].begin());
        } else if (key == u"calibration" && v.size() == 3) {
            e.calibration = {v[0], v[1], v[2]};
        } else if (key == u"curve" && rowOf(kCalibRows, kCalibRowWords) >= 0) {
            std::copy(v.begin() + 1, v.end(), e.calibTable.begin() + v[0] * kCalibRowWords);
        } else {
            int colour = -1;
            for (int c = 0; c < 3; ++c)
                if (key == QLatin1String(kColourNames[c]))
                    colour = c;
            if (colour < 0 || rowOf(kFactorCount / kFactorsPerBlock, kFactorsPerBlock) < 0)
                return bad();
            std::copy(v.begin() + 1, v.end(), e.factors[colour].begin() + v[0] * kFactorsPerBlock);
        }
    }
    return e;
}

}  // namespace tarvo::sim
