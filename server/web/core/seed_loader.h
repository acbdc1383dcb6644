#pragma once

#include "account_store.h"

#include <string>

namespace zelvora::web {

// Loads a seed folder into the store: members.tsv (one member a line: account, first name, town, phrase,
// day, e-mail, folder, background as six hexadecimal digits or "-", separated by tabs, UTF-8), pictures/
// <account>.png, usb_black.png, usb_green.png, usb_red.png, and optionally shared/<channel>.jpg or .png.
// Everything is checked before anything is stored. Returns an empty text on success, else what is wrong.
std::string LoadSeed(AccountStore& store, const std::string& folder);

} // namespace zelvora::web
