#!/usr/bin/env python3
"""CPU used by the client and its wineserver under Wine, listening idle and then talking, against the
reference network, in a network namespace of its own. Builds nothing: run it after tools/build.sh.

    tools/wine/isolated.sh tools/bench/client_cpu.py [--seconds 15]
"""

import argparse
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))
sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import WM_DESTROY, Client  # noqa: E402
from harness.network import ReferenceNetwork  # noqa: E402
from harness.tone import tone  # noqa: E402
from wine_processes import cpu_shares, processes_of  # noqa: E402

SETTLE = 10.0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seconds", type=float, default=15.0, help="length of each measurement")
    args = parser.parse_args()
    with ReferenceNetwork("bench_cpu"), Client("bench_cpu") as client:
        mic = client.session.scratch / "mic.raw"
        mic.write_bytes(tone(440, SETTLE + 3 * args.seconds))
        client.sound.play_microphone(mic)
        client.window_id(timeout=60)
        time.sleep(SETTLE)
        prefix = client.session.prefix
        client_pids = processes_of(prefix, ["Zelvora.exe"])
        server_pids = processes_of(prefix, ["wineserver"])
        if not client_pids or not server_pids:
            sys.exit(f"client {client_pids} or wineserver {server_pids} not found")
        idle = cpu_shares([client_pids, server_pids], args.seconds)
        client.key_down("space")
        time.sleep(1.0)  # past the switch to talking
        talking = cpu_shares([client_pids, server_pids], args.seconds)
        client.key_up("space")
        for phase, (client_share, server_share) in (("listening idle", idle), ("talking", talking)):
            print(f"{phase}: client {100 * client_share:.1f} % + wineserver {100 * server_share:.1f} % = "
                  f"{100 * (client_share + server_share):.1f} % of a core over {args.seconds:.0f} s")
        client.probe.post("class:X", WM_DESTROY)
        client.wait_exit(30)


if __name__ == "__main__":
    main()
