#include "peripherals/accessory_loop.h"

#include "peripherals/accessory_probe.h"
#include "peripherals/usb_icon.h"

namespace {

// Probes the open port until a write fails or the thread is asked to end, then closes it.
void ProbeUntilLost(std::unique_ptr<SerialPort> port, AccessorySystem& system) {
    system.SetIconState(kUsbIconGreen);
    std::uint8_t reply[kAccessoryReplyBytes];
    while (system.KeepRunning()) {
        if (!port->Write(kAccessoryProbe)) {
            break;
        }
        const int received = port->Read(reply);
        if (received >= 0) {
            const bool pressed = ReplyMeansKeyPressed(std::span(reply, static_cast<std::size_t>(received)));
            system.SetIconState(pressed ? kUsbIconRed : kUsbIconGreen);
            system.SetKeyPressed(pressed);
        }
        system.Pause(kProbeIntervalMs);
    }
    port.reset();
    // A key held while the adapter went away must not leave the client talking.
    system.SetKeyPressed(false);
    system.SetIconState(kUsbIconBlack);
}

} // namespace

void RunAccessoryLoop(AccessorySystem& system) {
    while (system.KeepRunning()) {
        char portName[kPortNameBytes] = {};
        if (system.FindAdapterPort(portName)) {
            // A port that cannot be opened or configured (another program may hold it) is tried again after
            // the wait rather than at once, which would spin.
            if (std::unique_ptr<SerialPort> port = system.OpenPort(portName)) {
                ProbeUntilLost(std::move(port), system);
            }
        }
        if (system.KeepRunning()) {
            system.WaitForDeviceNotice(kSearchFallbackMs);
        }
    }
}
