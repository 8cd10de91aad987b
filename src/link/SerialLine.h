#pragma once
// The one way the program reaches the unit: QSerialPort in the program, an in-process fake
// unit in fast tests, the kestrin-sim process over a pseudo-terminal end to end.

#include <cstdint>
#include <span>
#include <string>

namespace kestrin {

class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens COM `portNumber` (1..21) at 57600 baud, 8N1, read time-out 100 ms, receive queue
    // 10000 bytes, send queue 1024 bytes. False when the device cannot be opened.
    virtual bool Open(int portNumber) = 0;
    virtual bool IsOpen() const = 0;
    // Bytes waiting to be read; also clears any pending line error.
    virtual int QueuedBytes() = 0;
    // Reads what is queued, at most buffer.size() bytes, without waiting; returns the count.
    virtual int Read(std::span<std::uint8_t> buffer) = 0;
    // Writes the whole frame in one write and returns once it has left the transmit buffer.
    virtual void WriteFrame(std::span<const std::uint8_t> frame) = 0;
    // Drops whatever is queued in both directions.
    virtual void Purge() = 0;
    // Purges, gives the port back the settings it had when opened, and closes it.
    virtual void Close() = 0;
    // The device the last Open used or tried, for the port label's hint.
    virtual std::string DevicePath() const { return {}; }
    // The last Open failed because the user may not open the device that exists.
    virtual bool LastOpenDenied() const { return false; }
};

}  // namespace kestrin
