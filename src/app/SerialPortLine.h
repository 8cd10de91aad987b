#pragma once
// The serial line on a real port through QSerialPort. COM numbers are mapped to devices:
// an explicit mapping first (command line or settings file), then on Windows "\\.\COMn",
// elsewhere the n-th serial device present, USB adapters first.

#include <QMap>
#include <QSerialPort>
#include <QString>

#include "link/SerialLine.h"

namespace kestrin::gui {

class PortMap {
public:
    // COM number -> device path, e.g. 3 -> "/dev/ttyUSB0".
    void Set(int number, const QString& path) { explicit_[number] = path; }
    bool Parse(const QString& mapping);  // "N=PATH"
    QString DeviceFor(int number) const;
    const QMap<int, QString>& explicitMap() const { return explicit_; }

    // Serial devices present, in the order COM numbers are given to them.
    static QStringList PresentDevices();

private:
    QMap<int, QString> explicit_;
};

class SerialPortLine : public SerialLine {
public:
    explicit SerialPortLine(PortMap map = {}) : map_(std::move(map)) {}

    bool Open(int portNumber) override;
    bool IsOpen() const override { return port_.isOpen(); }
    int QueuedBytes() override;
    int Read(std::span<std::uint8_t> buffer) override;
    void WriteFrame(std::span<const std::uint8_t> frame) override;
    void Purge() override;
    void Close() override;
    std::string DevicePath() const override { return device_.toStdString(); }

    // The device exists but the user may not open it (on Linux: not in the dialout group).
    bool LastOpenDenied() const override { return denied_; }
    PortMap& portMap() { return map_; }

private:
    PortMap map_;
    QSerialPort port_;
    QString device_;
    bool denied_ = false;
};

}  // namespace kestrin::gui
