"""The reference network (zelvora-network serve) on the client's fixed ports, driven by its operator tool.

    with ReferenceNetwork(log_path) as network:
        network.wait_for_client(channel=0)
        network.add_member(channel=0, account=7)
        network.notice(240)

Start it before the client, so that the client's greetings reach it."""

import subprocess
import time
from dataclasses import dataclass

from . import paths
from .services import LoggedService


@dataclass(frozen=True)
class Member:
    channel: int
    account: int
    address: str  # "host:port" of a client's voice socket; "" for a simulated member
    error: int  # the error level relayed to it; -1 for a simulated member
    relay: int  # its relay byte; -1 for a simulated member
    talking: bool

    @property
    def simulated(self):
        return not self.address


def parse_members(text):
    """The members listed by `zelvora-network members`, in the order listed."""
    members = []
    for line in text.splitlines():
        words = line.split()
        if not words or words[0] != "member":
            continue
        talking = words[-1] == "talking"
        if talking:
            words = words[:-1]
        channel, account = int(words[1]), int(words[2])
        if words[3:] == ["simulated"]:
            members.append(Member(channel, account, "", -1, -1, talking))
        elif len(words) == 8 and words[4] == "error" and words[6] == "relay":
            members.append(Member(channel, account, words[3], int(words[5]), int(words[7]), talking))
        else:
            raise ValueError(f"unexpected member line: {line!r}")
    return members


def parse_counters(text):
    """`zelvora-network stats` as a dict of counter name to value."""
    counters = {}
    for line in text.splitlines():
        name, _, value = line.rpartition(" ")
        if name and value.isdigit():
            counters[name] = int(value)
    return counters


class ReferenceNetwork(LoggedService):
    """`serve` with its operator interface on `control` (0: a free port, None: the program's own); its log
    goes to the file `log` and stays readable through `log_lines()`; `error_level` (0 to 4) is told to every
    client instead of its own link's. Use as a context manager: SIGTERM ends it; ServiceDidNotStart says why it
    could not start."""

    def __init__(self, log, address="127.0.0.1", control=0, error_level=None):
        self.log = log
        self.address = address
        self.control_port = control
        self.error_level = error_level

    def __enter__(self):
        argv = [paths.NETWORK_EXE, "serve", "--address", self.address]
        if self.control_port is not None:
            argv += ["--control", self.control_port]
        if self.error_level is not None:
            argv += ["--error-level", str(self.error_level)]
        ready = self._start(argv, "zelvora-network")
        if self.control_port == 0:
            self.control_port = int(ready.rsplit(":", 1)[1])
        return self

    def command(self, *args):
        """Runs an operator subcommand against this network; its output, or RuntimeError on failure."""
        control = [] if self.control_port is None else ["--control", str(self.control_port)]
        result = subprocess.run([str(paths.NETWORK_EXE), *map(str, args), *control],
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=20)
        if result.returncode != 0:
            raise RuntimeError(f"zelvora-network {' '.join(map(str, args))}: {result.stderr.decode().strip()}")
        return result.stdout.decode()

    def members(self):
        return parse_members(self.command("members"))

    def clients(self, channel=None):
        """The real clients listed, on one channel or on all."""
        return [m for m in self.members() if not m.simulated and (channel is None or m.channel == channel)]

    def counters(self):
        return parse_counters(self.command("stats"))

    def add_member(self, channel, account):
        self.command("add-member", "--channel", channel, "--account", account)

    def remove_member(self, channel, account):
        self.command("remove-member", "--channel", channel, "--account", account)

    def notice(self, code, to="all"):
        self.command("notice", code, "--to", to)

    def wait_for_client(self, channel, count=1, timeout=30):
        """The real clients on a channel, once there are `count` of them (a client's relay byte is set by
        then: the network tags every member it relays to)."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.clients(channel)
            if len(found) >= count:
                return found
            if time.monotonic() > deadline:
                raise TimeoutError(f"{len(found)} of {count} clients on channel {channel} after {timeout} s")
            time.sleep(0.25)
