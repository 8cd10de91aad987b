#include "app/SerialPortLine.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace kestrin::gui {

bool PortMap::Parse(const QString& mapping) {
    const int eq = mapping.indexOf('=');
    if (eq <= 0) return false;
    bool ok = false;
    const int number = mapping.left(eq).trimmed().toInt(&ok);
    const QString path = mapping.mid(eq + 1).trimmed();
    if (!ok || number < 1 || number > 21 || path.isEmpty()) return false;
    Set(number, path);
    return true;
}

QStringList PortMap::PresentDevices() {
    QStringList found;
    const QDir dev("/dev");
    for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"}) {
        QStringList names = dev.entryList({pattern}, QDir::System | QDir::Files, QDir::NoSort);
        // ttyS10 after ttyS9: sort by the number, not the text.
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            const auto num = [](const QString& s) {
                int i = s.size();
                while (i > 0 && s[i - 1].isDigit()) --i;
                return s.mid(i).toInt();
            };
            return num(a) < num(b);
        });
        for (const QString& n : names) found << dev.filePath(n);
    }
    return found;
}

QString PortMap::DeviceFor(int number) const {
    if (auto it = explicit_.find(number); it != explicit_.end()) return *it;
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(number);
#else
    const QStringList present = PresentDevices();
    if (number >= 1 && number <= present.size()) return present[number - 1];
    return {};
#endif
}

bool SerialPortLine::Open(int portNumber) {
    Close();
    denied_ = false;
    device_ = map_.DeviceFor(portNumber);
    if (device_.isEmpty()) return false;
    port_.setPortName(device_);
    if (!port_.open(QIODevice::ReadWrite)) {
        denied_ = port_.error() == QSerialPort::PermissionError && QFileInfo::exists(device_);
        return false;
    }
    port_.setBaudRate(57600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(10000);
    port_.clear();
    return true;
}

int SerialPortLine::QueuedBytes() {
    if (!port_.isOpen()) return 0;
    port_.waitForReadyRead(0);  // take in what the driver holds without waiting
    port_.clearError();
    return static_cast<int>(port_.bytesAvailable());
}

int SerialPortLine::Read(std::span<std::uint8_t> buffer) {
    if (!port_.isOpen() || buffer.empty()) return 0;
    const qint64 n =
        port_.read(reinterpret_cast<char*>(buffer.data()), static_cast<qint64>(buffer.size()));
    return n < 0 ? 0 : static_cast<int>(n);
}

void SerialPortLine::WriteFrame(std::span<const std::uint8_t> frame) {
    if (!port_.isOpen()) return;
    port_.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
    // Wait until the frame has left: the driver's queue first, then the line itself.
    while (port_.bytesToWrite() > 0)
        if (!port_.waitForBytesWritten(200)) break;
#ifdef Q_OS_UNIX
    if (port_.handle() >= 0) tcdrain(port_.handle());
#endif
}

void SerialPortLine::Purge() {
    if (port_.isOpen()) port_.clear();
}

void SerialPortLine::Close() {
    if (!port_.isOpen()) return;
    port_.clear();
    port_.close();  // QSerialPort gives the port back the settings it found
}

}  // namespace kestrin::gui
