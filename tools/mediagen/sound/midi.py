"""A small Standard MIDI File writer for the game's jingles and music.

Times and lengths are in beats (quarter notes). Each part gets its own channel
and instrument (General MIDI program number); channel 9 is the drum kit.
"""
import struct

TICKS = 480  # per beat

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name: str) -> int:
    """'C4' -> 60, 'F#5' -> 78, 'Bb3' -> 58."""
    step = NOTE_NAMES[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        step += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + step


def _varlen(value: int) -> bytes:
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


class Part:
    def __init__(self, channel: int, program: int, volume: int = 100, pan: int = 64, reverb: int = 40):
        self.channel = channel
        self.events = []  # (tick, order, bytes)
        if channel != 9:
            self._at(0, 0, bytes([0xC0 | channel, program]))
        self.control(0, 7, volume)
        self.control(0, 10, pan)
        self.control(0, 91, reverb)

    def _at(self, tick: int, order: int, data: bytes):
        self.events.append((tick, order, data))

    def control(self, beat: float, number: int, value: int):
        self._at(round(beat * TICKS), 1, bytes([0xB0 | self.channel, number, max(0, min(127, value))]))

    def bend(self, beat: float, semitones: float):
        """Pitch bend, +-2 semitones range."""
        value = max(0, min(16383, 8192 + round(semitones / 2 * 8192)))
        self._at(round(beat * TICKS), 1, bytes([0xE0 | self.channel, value & 0x7F, value >> 7]))

    def note(self, beat: float, note, length: float, velocity: int = 90):
        key = pitch(note) if isinstance(note, str) else note
        start = round(beat * TICKS)
        end = max(start + 1, round((beat + length) * TICKS) - 4)  # a hair of air between notes
        # Note-offs sort before note-ons at the same tick so repeated notes re-strike.
        self._at(start, 2, bytes([0x90 | self.channel, key, max(1, min(127, velocity))]))
        self._at(end, 0, bytes([0x80 | self.channel, key, 0]))

    def chord(self, beat: float, notes, length: float, velocity: int = 80):
        for n in notes:
            self.note(beat, n, length, velocity)


class Song:
    def __init__(self, bpm: float):
        self.tempo = [(0, bpm)]
        self.parts = []
        self.end_beat = 0.0

    def set_tempo(self, beat: float, bpm: float):
        self.tempo.append((round(beat * TICKS), bpm))

    def part(self, channel: int, program: int, **kw) -> Part:
        p = Part(channel, program, **kw)
        self.parts.append(p)
        return p

    def seconds(self, beat: float) -> float:
        """Clock time of a beat under the tempo map."""
        tick = round(beat * TICKS)
        changes = sorted(self.tempo)
        total, last_tick, bpm = 0.0, 0, changes[0][1]
        for t, b in changes[1:]:
            if t >= tick:
                break
            total += (t - last_tick) / TICKS * 60 / bpm
            last_tick, bpm = t, b
        return total + (tick - last_tick) / TICKS * 60 / bpm

    def write(self, path: str):
        tracks = []
        conductor = [(t, 0, b"\xff\x51\x03" + struct.pack(">I", round(60_000_000 / bpm))[1:])
                     for t, bpm in sorted(self.tempo)]
        # A last event holds the file open until the ring-out has been rendered.
        conductor.append((round(self.end_beat * TICKS), 9, b"\xff\x01\x01 "))
        tracks.append(conductor)
        tracks += [p.events for p in self.parts]
        with open(path, "wb") as f:
            f.write(b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), TICKS))
            for events in tracks:
                body = bytearray()
                now = 0
                for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
                    body += _varlen(tick - now) + data
                    now = tick
                body += b"\x00\xff\x2f\x00"
                f.write(b"MTrk" + struct.pack(">I", len(body)) + body)
