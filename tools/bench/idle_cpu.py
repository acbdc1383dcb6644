#!/usr/bin/env python3
"""Processor cost of a running client against its floor: starts Zelvora.exe and the floor program
(ZelvoraFloor.exe, only the work a client cannot do without) against the reference network, each in a Wine
session of its own (prefix, wineserver, display, sound), and prints the processor time each program and its
wineserver consumed over the same windows, as a share of one core, and the client/floor ratio, in three
states: idle (listening, nobody talking), while a simulated member talks (on channel 0 to the client, on
channel 1 to the floor), and while the user holds the space bar (in both); and, asked for, with the group
list or the network window open on channel 1, every named channel full of members whose pictures the
reference web service serves, or with the parameters window open (the floor then idles). Processor time
(the scheduler's counts in /proc), not wall time; the load of the machine still moves the absolute figures, which is
why the floor runs beside the client: the ratio is the figure that holds from run to run. Both programs are
told one error level, so that they pace their presence alike; the floor, paced by Sleep, still sends fewer
presence datagrams when the machine is loaded, so each window also gives the ratio of processor time per
presence datagram each program sent (counted on the loopback interface). Each run measures its states in turn,
`--rounds` windows of each, and the summary gives each state's median ratio with its quartiles and extremes
over all the windows of all the runs, per second and per presence datagram.

    tools/bench/run.sh idle_cpu [--window 20] [--rounds 3] [--warm-up 25] [--repeat 3] [--error-level 0]
        [--states idle,member,user,grouplist,network,params] [--exe OTHER/Zelvora.exe] [--floor-paints]

--floor-paints has the floor also paint one pixel whenever the client must show a change (the title
animation's frames, the NETWORK ring's moves, the countdown, the needles and bars): most of what a painting
costs under Wine does not depend on what it draws, so the ratio against that floor is what the client spends
beyond the paintings its window must make.

Needs both presets built (Zelvora.exe, ZelvoraFloor.exe, the probe and zelvora-network). run.sh gives the
run a network namespace of its own, so the client's fixed ports do not meet another run's; --exe measures
another build of the client (an earlier one, say) with this run directory."""

import argparse
import contextlib
import os
import shutil
import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

from harness import WINDOW_CLASS, WINDOW_TITLE, WineSession
from harness.paths import ARTIFACTS
from launcher import paths, prefix
from launcher.network import ReferenceNetwork
from launcher.web import WebService
from presence_count import PresenceCounter

SPEAKER_ACCOUNT = 101
STATES = ("idle", "member", "user")
FLOOR_EXE = paths.WINDOWS_BUILD / "tools" / "bench" / "floor" / "ZelvoraFloor.exe"
# The floor takes another channel's stream, so that neither hears the other talk.
FLOOR_CHANNEL = 1
FLOOR_SPEAKER_ACCOUNT = 102
FLOOR_TITLE = "ZELVORA-FLOOR"
# The windows that fetch members' pictures: the main window's zone that opens them, and their class.
WINDOW_STATES = {"grouplist": ((100, 135), "GroupWndClass"), "network": ((427, 387), "NetworkWndClass"),
                 "params": ((57, 252), "ParamWndClass")}
WINDOW_CHANNEL = 1
FIRST_FILLER_ACCOUNT = 1000


def fill_channels(network, web):
    """15 members on each named channel, each with the first seed member's picture; the client, on channel 1,
    makes that channel's 16th."""
    for channel in range(1, 11):
        for index in range(15):
            account = FIRST_FILLER_ACCOUNT + 16 * channel + index
            web.execute("INSERT INTO accounts (account, picture) SELECT ?, picture FROM accounts WHERE account = 101",
                        (account,))
            network.add_member(channel, account)


def thread_times(pid):
    """Time each thread of a process spent on a processor, in seconds, from the scheduler's nanosecond counts
    (utime and stime come in 10 ms ticks, of which a 10 s window of a 2 % floor holds only 20); None once the
    process is gone."""
    try:
        tasks = list(Path(f"/proc/{pid}/task").iterdir())
    except OSError:
        return None
    times = {}
    for task in tasks:
        with contextlib.suppress(OSError):  # a thread that ended meanwhile
            times[task.name] = int((task / "schedstat").read_text().split()[0]) / 1e9
    return times


def command_line(pid):
    try:
        return Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
    except OSError:
        return ""


def wine_processes(wine_prefix, exe_name):
    """The program's process and its wineserver, found among the prefix's processes."""
    client = server = None
    for pid in prefix.processes_in(wine_prefix):
        line = command_line(pid)
        if exe_name in line:
            client = pid
        elif Path(line.split(" ", 1)[0]).name.startswith("wineserver"):
            server = pid
    if client is None or server is None:
        raise RuntimeError(f"{exe_name} {client}, wineserver {server}: not both found")
    return client, server


def measure(pids, seconds, counter, ports):
    """Share of one core (%) each process consumed over `seconds` of wall time (a thread started meanwhile
    counts from its start, one that ended meanwhile is left out), then the presence datagrams a second each of
    `ports` sent, then the share of the client's and the floor's main threads (the process's first thread,
    under Wine the one that runs the window's messages and timers)."""
    before = [thread_times(pid) for pid in pids]
    sent_before = counter.counts()
    start = time.monotonic()
    time.sleep(seconds)
    after = [thread_times(pid) for pid in pids]
    sent_after = counter.counts()
    elapsed = time.monotonic() - start
    if None in before or None in after:
        raise RuntimeError("a measured process ended during the window")
    shares = [100 * sum(t - old.get(task, 0) for task, t in new.items()) / elapsed
              for old, new in zip(before, after)]
    sent = [(sent_after.get(port, 0) - sent_before.get(port, 0)) / elapsed for port in ports]
    main = [100 * (after[i].get(str(pids[i]), 0) - before[i].get(str(pids[i]), 0)) / elapsed for i in (0, 2)]
    return shares + sent + main


class MemberSpeaking:
    """A simulated member speaks a tone on the client's channel and another on the floor's, for as long as the
    context lasts."""

    SPEAKERS = ((0, SPEAKER_ACCOUNT), (FLOOR_CHANNEL, FLOOR_SPEAKER_ACCOUNT))

    def __init__(self, network, seconds):
        self._network = network
        self._seconds = seconds

    def __enter__(self):
        self._threads = []
        for channel, account in self.SPEAKERS:
            self._network.add_member(channel, account)
            # Its own command line: speak returns once the sound has played, later than the operator's time-out.
            argv = [paths.NETWORK_EXE, "speak", "--channel", str(channel), "--account", str(account), "--tone",
                    "440", "--seconds", str(self._seconds), "--control", str(self._network.control_port)]
            thread = threading.Thread(target=subprocess.run, args=(argv,), kwargs={
                "stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "timeout": self._seconds + 60})
            thread.start()
            self._threads.append(thread)
            self._network.wait_for_log(lambda line, c=channel: f"talk start channel {c} " in line, timeout=20)
        return self

    def __exit__(self, *exc):
        for thread in self._threads:
            thread.join()
        for channel, account in self.SPEAKERS:
            self._network.remove_member(channel, account)


class UserTalking:
    """The space bar held down in the main window of the client and in the floor's window."""

    def __init__(self, session, floor_session):
        self._windows = [(session.display, session.display.wait_window(f"^{WINDOW_TITLE}$")),
                         (floor_session.display, floor_session.display.wait_window(f"^{FLOOR_TITLE}$"))]

    def __enter__(self):
        for display, window in self._windows:
            display.key_down(window, "space")
        return self

    def __exit__(self, *exc):
        for display, window in self._windows:
            display.key_up(window, "space")


class WindowOpen:
    """A window of the main window opened by a click on its zone, on channel 1, and closed by a second click
    before the client returns to channel 0."""

    def __init__(self, session, zone, window_class):
        self._session = session
        self._zone = zone
        self._class = window_class
        self._window = session.display.wait_window(f"^{WINDOW_TITLE}$")

    def _click(self):
        self._session.display.click(self._window, *self._zone)

    def __enter__(self):
        self._session.display.key(self._window, str(WINDOW_CHANNEL))
        time.sleep(2)  # the channel's list
        self._click()
        self._session.probe.wait_for(cls=self._class, timeout=20)
        return self

    def __exit__(self, *exc):
        self._click()
        self._session.wait_until(lambda: not self._session.probe.find(cls=self._class), timeout=20)
        self._session.display.key(self._window, "0")


def measure_state(state, network, session, floor_session, window):
    """One window of one state: the four processes' shares of one core and the two programs' presence rates,
    as `window()` measures them."""
    if state == "idle":
        return window()
    if state == "member":
        with MemberSpeaking(network, window.seconds + 4):
            time.sleep(1)
            return window()
    if state in WINDOW_STATES:
        with WindowOpen(session, *WINDOW_STATES[state]):
            time.sleep(3)  # past the opening, the first drawing of the network window
            return window()
    with UserTalking(session, floor_session):
        time.sleep(1)
        shares = window()
    time.sleep(2)
    return shares


class Window:
    """A measured window of `seconds` over the four processes and the two programs' presence senders."""

    def __init__(self, seconds, pids, counter, ports):
        self.seconds = seconds
        self._pids = pids
        self._counter = counter
        self._ports = ports

    def __call__(self):
        return measure(self._pids, self.seconds, self._counter, self._ports)


def voice_port(network, channel):
    """The UDP port the real client on `channel` sends from, as the network lists it."""
    return int(network.clients(channel)[0].address.rsplit(":", 1)[1])


def run_once(index, args):
    """A fresh client and floor, their states measured in turn `args.rounds` times: the windows of each state
    are interleaved with the others', so that a change of the machine's load falls on every state alike."""
    name = f"bench-idle-cpu-{os.getpid()}-{index}"
    results = {state: [] for state in args.states}
    with contextlib.ExitStack() as stack:
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        # One error level for both: each program's own would pace their presence apart with the machine's load.
        network = stack.enter_context(ReferenceNetwork(ARTIFACTS / f"{name}-network.log",
                                                       error_level=args.error_level))
        counter = stack.enter_context(PresenceCounter())
        if any(state in WINDOW_STATES for state in args.states):
            web = WebService(ARTIFACTS / f"{name}-web.log", ARTIFACTS / f"{name}-web.sqlite", fresh=True)
            fill_channels(network, stack.enter_context(web))
        session = stack.enter_context(WineSession(name))
        floor_session = stack.enter_context(WineSession(f"{name}-floor"))
        floor_session.launch(FLOOR_EXE, [str(FLOOR_CHANNEL)] + (["paints"] if args.floor_paints else []))
        run = session.copy_run_dir()
        if args.exe:
            shutil.copyfile(args.exe, run / "Zelvora.exe")
        session.launch(run / "Zelvora.exe", cwd=run)
        session.probe.wait_for(cls=WINDOW_CLASS, title=WINDOW_TITLE, timeout=60)
        network.wait_for_client(0)
        network.wait_for_client(FLOOR_CHANNEL)
        # Client and its wineserver, then the floor and its own: measured over the same windows.
        pids = wine_processes(session.prefix, "Zelvora.exe") + wine_processes(floor_session.prefix, FLOOR_EXE.name)
        window = Window(args.window, pids, counter, (voice_port(network, 0), voice_port(network, FLOOR_CHANNEL)))
        time.sleep(args.warm_up)
        for round_index in range(args.rounds):
            for state in args.states:
                shares = measure_state(state, network, session, floor_session, window)
                results[state].append(shares)
                client, server, floor, floor_server, client_sent, floor_sent, client_main, floor_main = shares
                per_presence = (f"  presence {client_sent:5.1f} / {floor_sent:5.1f} a second, ratio per datagram "
                                f"{presence_ratio(shares):4.2f}" if counter.available else "")
                print(f"run {index + 1}.{round_index + 1} {state:9}: client {client:5.2f} + wineserver "
                      f"{server:5.2f} = {client + server:5.2f} %  floor {floor:5.2f} + wineserver "
                      f"{floor_server:5.2f} = {floor + floor_server:5.2f} %  ratio "
                      f"{(client + server) / (floor + floor_server):4.2f}{per_presence}  main thread "
                      f"{client_main:4.2f} / {floor_main:4.2f} %", flush=True)
    return results


def load_average():
    return os.getloadavg()[0]


def totals(shares):
    """Client (with its wineserver) and floor (with its own), as shares of one core."""
    return shares[0] + shares[1], shares[2] + shares[3]


def presence_ratio(shares):
    """The client/floor ratio of processor time per presence datagram sent; None when one sent none."""
    client, floor = totals(shares)
    client_sent, floor_sent = shares[4], shares[5]
    if client_sent <= 0 or floor_sent <= 0 or floor <= 0:
        return None
    return (client / client_sent) / (floor / floor_sent)


def spread(ratios):
    """Median, quartiles and extremes of some ratios, as one line."""
    ratios = sorted(ratios)
    quartiles = statistics.quantiles(ratios, n=4) if len(ratios) > 1 else ratios * 3
    return (f"median {statistics.median(ratios):4.2f}, quartiles {quartiles[0]:4.2f}-{quartiles[2]:4.2f}, "
            f"min {ratios[0]:4.2f}, max {ratios[-1]:4.2f} over {len(ratios)} windows")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--window", type=float, default=20, help="seconds of each measured window")
    parser.add_argument("--rounds", type=int, default=3, help="windows of each state, in turn, per run")
    parser.add_argument("--error-level", type=int, choices=range(5), default=0,
                        help="the level the network tells both programs, which paces their presence")
    parser.add_argument("--warm-up", type=float, default=25, help="seconds after the client joined")
    parser.add_argument("--repeat", type=int, default=1, help="runs, each with a fresh client and floor")
    parser.add_argument("--exe", help="another Zelvora.exe to run from this run directory")
    parser.add_argument("--states", default=",".join(STATES), help="comma-separated among " + ", ".join(STATES))
    parser.add_argument("--floor-paints", action="store_true",
                        help="the floor also paints whenever the client must show a change")
    args = parser.parse_args()
    args.states = [s for s in args.states.split(",") if s]
    known = STATES + tuple(WINDOW_STATES)
    if any(s not in known for s in args.states):
        parser.error(f"states are among {', '.join(known)}")
    samples = {state: [] for state in args.states}
    for index in range(args.repeat):
        load_before = load_average()
        for state, shares in run_once(index, args).items():
            samples[state] += shares
        print(f"run {index + 1} load average {load_before:.1f} before, {load_average():.1f} after "
              f"({os.cpu_count()} cores)", flush=True)
    if args.floor_paints:
        print("floor: paints one pixel whenever the client must show a change")
    for state in args.states:
        pairs = [totals(shares) for shares in samples[state]]
        pooled = sum(c for c, _ in pairs) / sum(f for _, f in pairs)
        print(f"{state:9}: client/floor ratio {spread(c / f for c, f in pairs)}, all windows together "
              f"{pooled:4.2f} (client median {statistics.median(c for c, _ in pairs):5.2f} %, floor median "
              f"{statistics.median(f for _, f in pairs):5.2f} % of one core)")
        per_presence = [r for r in map(presence_ratio, samples[state]) if r is not None]
        if per_presence:
            print(f"{'':9}  per presence datagram {spread(per_presence)}")
        print(f"{'':9}  main thread median client {statistics.median(s[6] for s in samples[state]):4.2f} %, floor "
              f"{statistics.median(s[7] for s in samples[state]):4.2f} % of one core")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except subprocess.CalledProcessError as failure:
        print(f"idle_cpu: {failure}", file=sys.stderr)
        sys.exit(1)
