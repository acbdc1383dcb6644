#pragma once

#include <cstdint>

// Posts the colour record of `colour` (a COLORREF) for the account to the web service, so the account keeps
// the colour for its later runs. The reply is not interpreted; a failure is only written to the standard
// output by the HTTPS client.
void UploadBackgroundColour(std::uint32_t colour, int account);
