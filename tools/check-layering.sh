#!/bin/sh
# Fails, naming the lines, when the layering is broken: a portable file (any C++ file of src/ or tests/native/
# outside a win32/ folder) includes a Windows header or anything from a win32/ folder, or a file of src/
# includes from a folder the table below does not allow it. Checks the repository, or the tree given as the
# only argument. Run by CTest in the native preset.
set -eu
cd "${1:-$(dirname "$0")/..}"

# Which folders of src/ each folder's files may include from (their own folder always), from the ground up:
# platform, session (the types every subsystem shares), the subsystems, and app, the composition root.
edges='
platform:
session: platform
net: platform session
audio: platform session
web: platform session
peripherals: platform session net web
settings: platform session audio web
app: platform session net audio web peripherals settings
'
# Loops allowed until they are removed, one "from: to..." line each; none is left.
loops=''

status=0
report() {
    if [ -n "$2" ]; then
        printf 'check-layering: %s\n%s\n' "$1" "$2" >&2
        status=1
    fi
}

native=""
if [ -d tests/native ]; then
    native=tests/native
fi
# shellcheck disable=SC2086 # no folder of native tests in a planted tree
portable=$(find src $native -path '*/win32' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
# shellcheck disable=SC2086 # one word per file; source file names hold no spaces
report "portable files that include Windows headers or from a win32/ folder:" \
    "$(grep -nHiE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*/)?(windows|winsock2|ws2tcpip)\.h[>"]|^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*/)?win32/' $portable || true)"

# A quoted include without a folder may only name a header generated at the root of src/ (build_config.h...).
generated=$(find src -maxdepth 1 -name '*.h.in' | sed 's#^src/##; s#\.in$##' | tr '\n' ' ')
report "includes against the table of allowed folder edges (file:line: from -> to):" \
    "$(grep -rnHE --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' src |
        awk -v edges="$edges$loops" -v generated="$generated" '
            BEGIN {
                n = split(edges, lines, "\n")
                for (i = 1; i <= n; ++i) {
                    if (split(lines[i], sides, ":") != 2) continue
                    known[sides[1]] = 1
                    m = split(sides[2], targets, " ")
                    for (j = 1; j <= m; ++j) allowed[sides[1] " " targets[j]] = 1
                }
                n = split(generated, names, " ")
                for (i = 1; i <= n; ++i) rootHeader[names[i]] = 1
            }
            {
                split($0, place, ":")
                split(place[1], parts, "/")
                from = parts[2]
                included = $0
                sub(/^[^"]*"/, "", included)
                sub(/".*$/, "", included)
                to = included ~ /\// ? substr(included, 1, index(included, "/") - 1) : ""
                if (to == "" && (included in rootHeader)) next
                if (from in known && (to == from || (from " " to) in allowed)) next
                printf "  %s:%s: %s -> %s\n", place[1], place[2], from, (to == "" ? included : to)
            }')"

exit $status
