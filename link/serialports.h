// Serial port numbers as the user sees them (1 = first port) and the devices
// they open.
//
// Windows: port n is COMn. Elsewhere: port n is the n-th serial device that
// the system lists, sorted by path. On any system the environment variable
// TARVO_SERIAL_PORT_<n> names the device that port n opens instead (for a
// pseudo-terminal of the simulated sensor, or a device the system does not
// list).
#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace tarvo {

struct SerialDevice {
    QString path;         // what the port library opens; empty: no such port
    QString description;  // as the system reports it, may be empty
};

SerialDevice resolveSerialPort(int number);

// Every port number that opens a device, in order, with that device: the
// system's ports and those that TARVO_SERIAL_PORT_<n> names.
struct NumberedPort {
    int number = 0;
    SerialDevice device;
};
QList<NumberedPort> serialPortList();

// Test seam: replaces the resolution above (nullptr restores it).
void setSerialPortResolver(std::function<SerialDevice(int)> resolver);

}  // namespace tarvo
