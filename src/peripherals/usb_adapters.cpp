#include "peripherals/usb_adapters.h"

namespace {

// FTDI, Silicon Labs, Prolific, WCH and two more, in the order they are tried.
constexpr UsbAdapterId kSupportedAdapters[] = {
    {"VID_0403", "PID_6001"}, {"VID_0403", "PID_6010"}, {"VID_0403", "PID_6011"}, {"VID_0403", "PID_6014"},
    {"VID_0403", "PID_6015"}, {"VID_10C4", "PID_EA60"}, {"VID_10C4", "PID_EA70"}, {"VID_10C4", "PID_EA71"},
    {"VID_067B", "PID_2303"}, {"VID_067B", "PID_23A3"}, {"VID_067B", "PID_23B3"}, {"VID_067B", "PID_23C3"},
    {"VID_067B", "PID_23D3"}, {"VID_067B", "PID_23E3"}, {"VID_067B", "PID_23F3"}, {"VID_1A86", "PID_7523"},
    {"VID_1A86", "PID_5523"}, {"VID_1782", "PID_4D10"}, {"VID_1782", "PID_4D12"},
};

} // namespace

bool IsSupportedAdapter(std::string_view hardwareId) {
    for (const UsbAdapterId& adapter : kSupportedAdapters) {
        if (hardwareId.find(adapter.vendor) != std::string_view::npos &&
            hardwareId.find(adapter.product) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}
