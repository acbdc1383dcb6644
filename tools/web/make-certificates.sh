#!/bin/sh
# Usage: tools/web/make-certificates.sh [DIR [HOST]]
# Makes, once, the local certificate authority of the reference web service (DIR/ca.pem and its key) and a
# server certificate it signs (DIR/server.pem, DIR/server.key) for localhost, 127.0.0.1, ::1 and HOST when
# given. DIR defaults to build/web-ca. Run again, it keeps what is there and only remakes a server
# certificate that is missing, older than the authority, about to expire or not for HOST.
set -eu
cd "$(dirname "$0")/../.."
dir=${1:-build/web-ca}
host=${2:-localhost}
mkdir -p "$dir"
cd "$dir"

# Test runs and the run command may call this at the same time.
exec 9>.lock
flock 9

if [ ! -s ca.pem ] || [ ! -s ca.key ]; then
    rm -f ca.pem ca.key server.pem server.key
    openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 3650 -keyout ca.key -out ca.pem \
        -subj "/O=Zelvora reference network/CN=Zelvora local certificate authority" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
        2>/dev/null
    chmod 600 ca.key
fi

names="DNS:localhost,IP:127.0.0.1,IP:::1"
case "$host" in
localhost | 127.0.0.1 | ::1) ;;
*[!0-9.]*) names="$names,DNS:$host" ;;
*) names="$names,IP:$host" ;;
esac

if [ -s server.pem ] && [ -s server.key ] && [ ! server.pem -ot ca.pem ] &&
    openssl x509 -in server.pem -noout -checkend 2592000 >/dev/null &&
    [ "$(cat server.names 2>/dev/null)" = "$names" ]; then
    exit 0
fi
openssl req -new -newkey rsa:2048 -sha256 -nodes -keyout server.key -out server.csr -subj "/CN=$host" \
    2>/dev/null
printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\nsubjectAltName=%s\n' \
    "$names" >server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -set_serial "0x$(openssl rand -hex 8)" -days 825 \
    -sha256 -extfile server.ext -out server.pem 2>/dev/null
chmod 600 server.key
printf '%s\n' "$names" >server.names
rm -f server.csr server.ext
