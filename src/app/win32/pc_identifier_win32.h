#pragma once

// Fills the PC identifier from the serial number of the system drive's volume.
void ReadPcIdentifier(char (&out)[20]);
