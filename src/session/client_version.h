#pragma once

// The client's version, told to the voice server in the version presence and to the web service with every
// account fetch.
inline constexpr char kVersionText[] = "0.7.7";
