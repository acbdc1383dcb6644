"""python3 -m harness.run_win32 EXE [ARGS...]: runs a Win32 test program under Wine in a fresh prefix on a
private display, with the program's folder as working directory, and exits with the program's exit code."""

import sys
from pathlib import Path

from launcher.processes import terminate_on_sigterm

from .session import WineSession


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    terminate_on_sigterm()
    exe = Path(argv[1]).resolve()
    if not exe.is_file():
        print(f"{exe}: no such program", file=sys.stderr)
        return 2
    # The arguments are part of the name: one program run in two modes at once needs two artefact folders.
    name = "-".join(["win32", exe.stem, *(arg.strip("-/") for arg in argv[2:])])
    name = "".join(c if c.isalnum() or c in "-_." else "_" for c in name)
    with WineSession(name) as session:
        sys.stdout.flush()
        program = session.launch(exe, argv[2:], stdout=sys.stdout.fileno())
        return program.proc.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
