#pragma once

#include <string>
#include <string_view>

// An endpoint's icon property: a file path, a comma, then the icon's index in that file ("x.dll,-3004").
struct IconReference {
    std::string location;
    int index = 0;
    bool hasIndex = false; // false when there was no comma
};

IconReference ParseIconReference(std::string_view text);
