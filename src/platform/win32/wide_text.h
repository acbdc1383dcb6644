#pragma once

#include <string>

// Text conversions at the Win32 boundary: UTF-8 inside the program, UTF-16 for the system.
std::wstring WideFromUtf8(const char* utf8);
std::string Utf8FromWide(const std::wstring& wide);
