#pragma once

#include <string_view>

// A USB-serial adapter the push-to-talk accessory can be wired to, as its hardware ID spells it.
struct UsbAdapterId {
    const char* vendor;
    const char* product;
};

// Whether a device's hardware ID (its first string) names a supported adapter: it contains both texts of one
// row, with the case as written.
bool IsSupportedAdapter(std::string_view hardwareId);
