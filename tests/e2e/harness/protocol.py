"""The client's datagrams, built and read for the stand-in peers of the end-to-end tests: what the voice
server, the supervisor and the speech synthesiser send and receive. Every number is little-endian.

    presence = protocol.read_presence(datagram.data)      # None for any other datagram
    peer.send(protocol.relayed_voice(sequence, error_level=2), client_address)"""

import struct
from dataclasses import dataclass

VOICE_PORT = 30000  # + channel number
SUPERVISOR_PORT = 31000  # + channel number
UPDATE_NOTICE = 220
CLOSING_NOTICE = 240
SYNTHESISER_PORT = 5555
CHANNELS = 11

GREETING = b"T.WIN" + bytes(4)
VERSION_BODY = b"V077\x02"
NAME_BODY = b"NWIN.PSEUDO.WIN.\x00"
AUDIO_LENGTH = 1024
PAYLOAD_AT = 24
PAYLOAD_BYTES = 1000
LIST_REQUEST = b"L\x00\x00"
SYNTHESISER_STOP = b"\xff"
TALK_KEY_PRESS = b"T"
TALK_KEY_RELEASE = b"R"

_PRESENCE_HEADER = struct.Struct("<2sxH4x")
_PRESENCE_KINDS = {b"V": "version", b"N": "name", b"D": "device"}
_AUDIO_HEADER = struct.Struct("<cBBHx15s3x")
_AUDIO_NAME = b"NWIN-APP-Radio\x00"
_RELAYED_HEADER = struct.Struct("<cBBHbxB16x")


def device_body(pc_identifier):
    """The device body of presence for a PC identifier (bytes); any length but 16 gives the fixed one."""
    return b"D" + (pc_identifier if len(pc_identifier) == 16 else b"DEVICE.ID") + b"\x00"


def presence(account, body=VERSION_BODY):
    """A presence datagram, as a member's voice socket sends it."""
    return _PRESENCE_HEADER.pack(b"R.", account) + body


@dataclass(frozen=True)
class Presence:
    account: int
    kind: str  # "version", "name" or "device"
    body: bytes  # from the kind's letter on


def read_presence(data):
    """The presence datagram in `data`, or None for another datagram. Bytes 2 and 5 to 8 must be zero."""
    if len(data) < _PRESENCE_HEADER.size + 1 or data[:3] != b"R.\x00" or any(data[5:9]):
        return None
    kind = _PRESENCE_KINDS.get(data[9:10])
    if kind is None:
        return None
    return Presence(_PRESENCE_HEADER.unpack_from(data)[1], kind, bytes(data[9:]))


def is_presence(datagram, kind=None):
    """Whether a recorded datagram is presence (of that kind, when one is named)."""
    found = read_presence(datagram.data)
    return found is not None and kind in (None, found.kind)


@dataclass(frozen=True)
class Audio:
    sequence: int
    account: int
    payload: bytes


def read_audio(data):
    """The audio datagram the client sends while its user talks, or None for another datagram."""
    if len(data) != AUDIO_LENGTH:
        return None
    kind, sequence, fixed, account, name = _AUDIO_HEADER.unpack_from(data)
    if kind != b"A" or fixed != 2 or name != _AUDIO_NAME:
        return None
    return Audio(sequence, account, bytes(data[PAYLOAD_AT:]))


def is_audio(datagram):
    return read_audio(datagram.data) is not None


def relayed_voice(sequence, *, relay_byte=0, account=0x0107, error_level=0, payload=None, kind=b"A"):
    """A datagram the voice server relays to a member: speech when `payload` (1000 bytes) is given,
    silence otherwise."""
    header = _RELAYED_HEADER.pack(kind, sequence, relay_byte, account, error_level, 0 if payload is None else 1)
    return header + (payload or b"")


def list_reply(channel, accounts):
    """The supervisor's answer to a list request: a channel's member accounts."""
    return struct.pack(f"<cbb{len(accounts)}H", b"L", channel, len(accounts), *accounts)


def read_list_reply(data):
    """(channel, accounts) of a list reply."""
    if data[:1] != b"L" or len(data) < 3:
        raise ValueError(f"not a list reply: {data!r}")
    channel, count = struct.unpack_from("<bb", data, 1)
    return channel, list(struct.unpack_from(f"<{count}H", data, 3))


def status_reply(notice):
    """The supervisor's answer to a status request: 220 (update), 240 (closing in 20 s) or no notice."""
    return bytes([ord("A"), 0, notice])


def status_request(relay_byte):
    return bytes([ord("A"), 1, relay_byte & 0xFF])


def is_status_request(datagram):
    return len(datagram.data) == 3 and datagram.data[:2] == b"A\x01"


def is_list_request(datagram):
    return datagram.data == LIST_REQUEST


def speech_text(text):
    """The datagram that asks the synthesiser to speak a text (cp1252, cut to 200 bytes)."""
    return b"\x01" + text.encode("cp1252")[:200]
