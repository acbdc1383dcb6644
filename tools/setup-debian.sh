#!/bin/sh
# Installs the Debian 12 packages the build and the tests need, only those missing. Runs as root or with sudo.
# Wine's package only recommends the X and TLS libraries it loads at run time, so they are named here.
# nginx is the web service's TLS front, which zelvora-web starts by itself; Debian's own nginx service is not used.
# openbox draws the frames and captions of the client's boxes on the run command's private display.
set -eu

packages="
cmake g++ make git python3 python3-pil ca-certificates
googletest libgtest-dev libbenchmark-dev
clang libclang-rt-14-dev clang-format
g++-mingw-w64-x86-64-posix wine64 nsis
libgnutls30 libxext6 libxrender1 libxrandr2 libxcursor1 libxi6 libxinerama1 libxcomposite1 libxfixes3
xvfb xdotool fonts-liberation openbox
pulseaudio pulseaudio-utils sox
iproute2 util-linux
libcpp-httplib-dev libssl-dev libsqlite3-dev pkg-config openssl libcap2-bin python3-pil
nginx libnginx-mod-stream
"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $package"
    fi
done
if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" = 0 ]; then
    as_root=""
elif command -v sudo >/dev/null; then
    as_root="sudo"
else
    echo "setup: these packages are missing and neither root nor sudo is available:$missing" >&2
    exit 1
fi
echo "setup: installing$missing"
$as_root apt-get update -q
# shellcheck disable=SC2086 # one word per package
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
