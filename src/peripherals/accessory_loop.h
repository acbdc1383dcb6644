#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

// A port's name as the registry gives it ("COM7"): at most 32 bytes, plus a terminator.
inline constexpr std::size_t kPortNameBytes = 33;

// Timing of the accessory thread. A search walks every serial device and costs many system calls, so it
// runs again when the system announces a device, and otherwise only this often: an adapter plugged in where
// nothing is announced is still found within 10 seconds.
inline constexpr int kProbeIntervalMs = 200;
inline constexpr int kSearchFallbackMs = 8000;

// An open serial port, closed when destroyed.
class SerialPort {
  public:
    virtual ~SerialPort() = default;
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // The number of bytes read (0 when nothing came before the time-out); -1 when the read failed.
    virtual int Read(std::span<std::uint8_t> bytes) = 0;
};

// What the accessory thread needs from the system and the rest of the client.
class AccessorySystem {
  public:
    virtual ~AccessorySystem() = default;
    // False once shutdown has asked the thread to end.
    virtual bool KeepRunning() = 0;
    // The port name of the first supported adapter, terminated; false when there is none.
    virtual bool FindAdapterPort(std::span<char, kPortNameBytes> portName) = 0;
    // The port opened and set up for the accessory; null when it cannot be opened or configured.
    virtual std::unique_ptr<SerialPort> OpenPort(const char* portName) = 0;
    virtual void Pause(int milliseconds) = 0;
    // Returns after `milliseconds`, or as soon as the system announces a device or shutdown asks the thread
    // to end.
    virtual void WaitForDeviceNotice(int milliseconds) = 0;
    virtual void SetIconState(int state) = 0;
    // The accessory's share of the talk key.
    virtual void SetKeyPressed(bool pressed) = 0;
};

// The accessory thread's body: searches for an adapter, probes it while it answers, and after each search
// that found nothing usable waits for a device notice or the fallback time. Returns once KeepRunning turns
// false, within one probe or at once from the wait.
void RunAccessoryLoop(AccessorySystem& system);
