#pragma once

#include "peripherals/accessory_loop.h"

#include <memory>
#include <span>

// The port name of the first present serial device whose hardware ID names a supported adapter and that has a
// readable "PortName"; false when there is none.
bool FindSupportedAdapterPort(std::span<char, kPortNameBytes> portName);

// The port "\\.\<name>" opened exclusively at 9600 baud 8N1 with the accessory's read time-outs; null when it
// cannot be opened or set up.
std::unique_ptr<SerialPort> OpenAccessoryPort(const char* portName);
