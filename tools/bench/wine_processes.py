"""The Linux processes behind a Wine session, found by their prefix, and the CPU time they use."""

import os
import time
from pathlib import Path

TICKS = os.sysconf("SC_CLK_TCK")


def _environment(pid):
    try:
        return (Path("/proc") / str(pid) / "environ").read_bytes().split(b"\0")
    except OSError:
        return []


def _command(pid):
    try:
        return (Path("/proc") / str(pid) / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
    except OSError:
        return ""


def processes_of(prefix, names):
    """PIDs of the processes of the Wine prefix whose command line mentions one of `names`."""
    wanted = f"WINEPREFIX={prefix}".encode()
    found = []
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit() and wanted in _environment(entry.name):
            if any(name in _command(entry.name) for name in names):
                found.append(int(entry.name))
    return found


def cpu_seconds(pids):
    total = 0
    for pid in pids:
        try:
            fields = (Path("/proc") / str(pid) / "stat").read_text().rsplit(")", 1)[1].split()
        except OSError:
            continue
        total += int(fields[11]) + int(fields[12])  # utime, stime
    return total / TICKS


def cpu_shares(groups, seconds):
    """For each group of PIDs, the share of one core it uses over the same `seconds` of wall time."""
    before, start = [cpu_seconds(pids) for pids in groups], time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - start
    return [(cpu_seconds(pids) - used) / elapsed for pids, used in zip(groups, before)]
