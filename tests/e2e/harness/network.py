"""The run command's reference network, its log among a test's artefacts.

    with ReferenceNetwork("member_count") as network, Client("member_count") as c:
        network.wait_for_client(channel=0)
        network.add_member(channel=0, account=7)

Start it before the client, so that the client's greetings reach it."""

from launcher import network
from launcher.network import Member, parse_counters, parse_members

from . import paths

__all__ = ["Member", "ReferenceNetwork", "parse_counters", "parse_members"]


class ReferenceNetwork(network.ReferenceNetwork):
    """Logs to <artefacts>/<name>-network.log; the operator interface on a free port."""

    def __init__(self, name, address="127.0.0.1"):
        paths.ARTIFACTS.mkdir(parents=True, exist_ok=True)
        super().__init__(paths.ARTIFACTS / f"{name}-network.log", address)
        self.name = name
