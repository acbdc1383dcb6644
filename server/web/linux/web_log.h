#pragma once

#include <string>

namespace zelvora::web {

// One timestamped line on standard output, written whole; safe from any thread.
void LogLine(const std::string& text);

// A request target fit for the log: printable ASCII only, cut to a sane length.
std::string Printable(const std::string& text);

} // namespace zelvora::web
