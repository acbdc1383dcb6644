#!/bin/sh
# Stands in for the web browser in a test prefix: records each address the client opens.
for url in "$@"; do
    printf '%s\n' "$url" >>"${WINEPREFIX:-$HOME/.wine}/opened-urls.txt"
done
