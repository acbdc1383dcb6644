#!/bin/sh
# The layering check passes a tree that follows its table and fails, naming the line, each include planted
# against it. Run by CTest in the native preset.
set -eu
check="$(cd "$(dirname "$0")/../.." && pwd)/tools/check-layering.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

mkdir -p "$tree/src/platform" "$tree/src/session" "$tree/src/web" "$tree/src/app"
touch "$tree/src/build_config.h.in"
printf '#include "platform/socket.h"\n' >"$tree/src/session/state.h"
printf '#include "session/state.h"\n#include "build_config.h"\n#include <net/if.h>\n' >"$tree/src/web/fetch.cpp"
printf '#include "web/fetch.h"\n#include "settings/store.h"\n' >"$tree/src/app/main.cpp"
if ! "$check" "$tree"; then
    echo "check_layering_test: a tree that follows the table failed the check" >&2
    exit 1
fi

failures=0
# plant FILE INCLUDE: FILE of src/ includes INCLUDE; the check must fail and name FILE's line.
plant() {
    mkdir -p "$(dirname "$tree/src/$1")"
    printf '\n#include "%s"\n' "$2" >"$tree/src/$1"
    if output=$("$check" "$tree" 2>&1) || ! printf '%s\n' "$output" | grep -q "src/$1:2:"; then
        printf 'check_layering_test: src/%s including "%s" was not reported\n%s\n' "$1" "$2" "$output" >&2
        failures=1
    fi
    rm "$tree/src/$1"
}
plant platform/upward.h session/state.h
plant net/into_app.cpp app/main_window.h
plant web/sideways.cpp net/protocol.h
plant session/new_loop.h peripherals/usb_icon.h
plant unknown/folder.h platform/socket.h
plant net/stray.cpp stray.h
exit $failures
