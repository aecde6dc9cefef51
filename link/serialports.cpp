#include "serialports.h"

#include <QProcessEnvironment>
#include <QSerialPortInfo>
#include <algorithm>
#include <set>

namespace tarvo {

namespace {
std::function<SerialDevice(int)>& resolverSlot()
{
    static std::function<SerialDevice(int)> resolver;
    return resolver;
}

SerialDevice systemResolve(int number)
{
    if (number < 1)
        return {};
    const QByteArray override = qgetenv(QByteArray("TARVO_SERIAL_PORT_") + QByteArray::number(number));
    if (!override.isEmpty())
        return {QString::fromLocal8Bit(override), QStringLiteral("set by TARVO_SERIAL_PORT_%1").arg(number)};

    const auto ports = QSerialPortInfo::availablePorts();
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("COM%1").arg(number);
    for (const auto& p : ports)
        if (p.portName().compare(name, Qt::CaseInsensitive) == 0)
            return {name, p.description()};
    return {name, QString()};
#else
    std::vector<QSerialPortInfo> sorted(ports.begin(), ports.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.systemLocation() < b.systemLocation(); });
    if (number > static_cast<int>(sorted.size()))
        return {};
    const auto& p = sorted[static_cast<size_t>(number - 1)];
    return {p.systemLocation(), p.description()};
#endif
}
}  // namespace

SerialDevice resolveSerialPort(int number)
{
    if (resolverSlot())
        return resolverSlot()(number);
    return systemResolve(number);
}

QList<NumberedPort> serialPortList()
{
    std::set<int> numbers;
    const auto ports = QSerialPortInfo::availablePorts();
#ifdef Q_OS_WIN
    for (const auto& p : ports) {
        const QString name = p.portName();
        if (name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            if (const int n = name.mid(3).toInt(); n > 0)
                numbers.insert(n);
    }
#else
    for (int n = 1; n <= static_cast<int>(ports.size()); ++n)
        numbers.insert(n);
#endif
    const QString prefix = QStringLiteral("TARVO_SERIAL_PORT_");
    for (const QString& key : QProcessEnvironment::systemEnvironment().keys())
        if (key.startsWith(prefix))
            if (const int n = key.mid(prefix.size()).toInt(); n > 0)
                numbers.insert(n);
    QList<NumberedPort> list;
    for (int n : numbers)
        if (SerialDevice device = resolveSerialPort(n); !device.path.isEmpty())
            list.append({n, device});
    return list;
}

void setSerialPortResolver(std::function<SerialDevice(int)> resolver)
{
    resolverSlot() = std::move(resolver);
}

}  // namespace tarvo
