#pragma once

#include <string>

// Names and icons of the system's audio endpoints, for the device chooser and the parameters window.
// Each call initialises COM around itself; a failing step leaves the description as it was.

struct EndpointDescription {
    std::string name;         // friendly name, UTF-8
    std::string iconLocation; // icon file, UTF-8
    int iconIndex = 0;        // icon index in that file
};

// The default output endpoint. Also writes the name to the standard output. False when anything failed,
// the icon property without its comma included.
bool DescribeDefaultOutput(EndpointDescription& description);

// The active capture endpoint at `position` in the system's list; false when there is none there.
bool DescribeCaptureEndpoint(int position, EndpointDescription& description);

// Position of the default capture endpoint among the active ones, described; -1 with a warning box when it
// is not among them, -1 quietly when the system cannot tell.
int FindDefaultCaptureIndex(EndpointDescription& description);
