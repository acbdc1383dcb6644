#pragma once

// Asks the user for a picture file and uploads it as the shared image of `channel`, blinking the HTTPS
// light. Returns the service's HTTP status; 0 when no file was chosen; -1 when the file cannot be sent
// (the user is told why, except for an empty file) or the exchange fails.
int SendSharedImage(int channel);
