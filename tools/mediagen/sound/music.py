"""MMusic: the traditional Russian tune "Korobeiniki" (public domain), in our
own arrangement for accordion and a small folk band. Each chorus passes the
tune to another voice; the piece ends on a cadence so that the game's restart
timer can run it again from the top."""
from midi import Song, pitch

ACCORDION, ACOUSTIC_BASS, NYLON_GUITAR, PIZZICATO, STRINGS = 21, 32, 24, 45, 48
XYLOPHONE, CLARINET, FLUTE, BRASS = 13, 71, 73, 61
DRUMS, KICK, TAMBOURINE, CRASH = 9, 36, 54, 49

BAR = 4  # beats

# The tune in A minor: (length in beats, note or None for a rest), 8 bars.
TUNE = [
    (1, "E5"), (0.5, "B4"), (0.5, "C5"), (1, "D5"), (0.5, "C5"), (0.5, "B4"),
    (1, "A4"), (0.5, "A4"), (0.5, "C5"), (1, "E5"), (0.5, "D5"), (0.5, "C5"),
    (1.5, "B4"), (0.5, "C5"), (1, "D5"), (1, "E5"),
    (1, "C5"), (1, "A4"), (2, "A4"),
    (0.5, None), (1, "D5"), (0.5, "F5"), (1, "A5"), (0.5, "G5"), (0.5, "F5"),
    (1.5, "E5"), (0.5, "C5"), (1, "E5"), (0.5, "D5"), (0.5, "C5"),
    (1, "B4"), (0.5, "B4"), (0.5, "C5"), (1, "D5"), (1, "E5"),
    (1, "C5"), (1, "A4"), (2, "A4"),
]

# One chord a bar: root for the bass, notes for the comping.
CHORDS = [
    ("E2", ["E4", "G#4", "B4"]), ("A2", ["E4", "A4", "C5"]),
    ("E2", ["D4", "G#4", "B4"]), ("A2", ["E4", "A4", "C5"]),
    ("D2", ["D4", "F4", "A4"]), ("C2", ["E4", "G4", "C5"]),
    ("E2", ["D4", "G#4", "B4"]), ("A2", ["E4", "A4", "C5"]),
]

# A harmonic minor, for the second voice a third below the tune.
A_MINOR = [pitch(n) % 12 for n in ("A0", "B0", "C1", "D1", "E1", "F1", "G#1")]


def tune_notes():
    beat = 0.0
    for length, note in TUNE:
        if note:
            yield beat, pitch(note), length
        beat += length


def third_below(key: int) -> int:
    """The scale note two steps under `key` (a diatonic third)."""
    lower = key - 1
    steps = 0
    while True:
        if lower % 12 in A_MINOR:
            steps += 1
            if steps == 2:
                return lower
        lower -= 1


def play_tune(part, start, octave=0, velocity=96, staccato=1.0, harmony=False):
    for beat, key, length in tune_notes():
        k = key + 12 * octave
        if harmony:
            k = third_below(k)
        part.note(start + beat, k, length * staccato, velocity)


def oom_pah(bass, comp, start, bars=8, velocity=80):
    """Bass on beats one and three, chords on two and four."""
    for bar in range(bars):
        root, notes = CHORDS[bar % 8]
        b = start + bar * BAR
        bass.note(b, root, 0.9, velocity + 10)
        bass.note(b + 2, pitch(root) + 7, 0.9, velocity)
        for off in (1, 3):
            comp.chord(b + off, notes, 0.45, velocity - 10)


def tremolo(part, start, bars, velocity=70):
    """Rapid repeated chord tones, the way a balalaika sustains a chord."""
    for bar in range(bars):
        _, notes = CHORDS[bar % 8]
        for i in range(16):
            part.note(start + bar * BAR + i * 0.25, notes[i % 3] if i % 2 else notes[-1], 0.22,
                      velocity + (8 if i % 4 == 0 else 0))


def music() -> Song:
    s = Song(144)
    lead = s.part(0, ACCORDION, volume=100, pan=60, reverb=45)
    bass = s.part(1, ACOUSTIC_BASS, volume=110, pan=64, reverb=20)
    comp = s.part(2, ACCORDION, volume=72, pan=70, reverb=40)
    clar = s.part(3, CLARINET, volume=92, pan=44, reverb=50)
    xylo = s.part(4, XYLOPHONE, volume=86, pan=84, reverb=45)
    pizz = s.part(5, PIZZICATO, volume=90, pan=36, reverb=50)
    guitar = s.part(6, NYLON_GUITAR, volume=76, pan=92, reverb=45)
    flute = s.part(7, FLUTE, volume=88, pan=52, reverb=55)
    strings = s.part(8, STRINGS, volume=70, pan=64, reverb=60)
    brass = s.part(10, BRASS, volume=80, pan=64, reverb=50)
    drums = s.part(DRUMS, 0, volume=76)

    def beat_keeping(start, bars, tambourine=True):
        for bar in range(bars):
            b = start + bar * BAR
            drums.note(b, KICK, 0.5, 90)
            drums.note(b + 2, KICK, 0.5, 78)
            if tambourine:
                for off in (1, 3):
                    drums.note(b + off, TAMBOURINE, 0.5, 70)

    t = 0
    # Introduction: the band vamps on the last four chords.
    for bar in range(4):
        root, notes = CHORDS[4 + bar]
        bass.note(t + bar * BAR, root, 0.9, 96)
        bass.note(t + bar * BAR + 2, pitch(root) + 7, 0.9, 86)
        comp.chord(t + bar * BAR + 1, notes, 0.45, 74)
        comp.chord(t + bar * BAR + 3, notes, 0.45, 74)
    tremolo(guitar, t, 4, 62)
    t += 4 * BAR

    # 1: the accordion alone over the band.
    play_tune(lead, t, velocity=100)
    oom_pah(bass, comp, t)
    beat_keeping(t, 8, tambourine=False)
    t += 8 * BAR
    # 2: clarinet takes the tune, accordion a third below.
    play_tune(clar, t, velocity=98)
    play_tune(lead, t, harmony=True, velocity=78)
    oom_pah(bass, comp, t)
    beat_keeping(t, 8)
    t += 8 * BAR
    # 3: light and plucked: xylophone, pizzicato an octave below, balalaika tremolo.
    play_tune(xylo, t, velocity=96, staccato=0.6)
    play_tune(pizz, t, octave=-1, velocity=90, staccato=0.5)
    tremolo(guitar, t, 8, 60)
    for bar in range(8):
        root, _ = CHORDS[bar]
        bass.note(t + bar * BAR, root, 0.9, 92)
        bass.note(t + bar * BAR + 2, pitch(root) + 7, 0.9, 84)
    t += 8 * BAR
    # 4: everyone: flute on top, accordion, strings and brass chords.
    play_tune(flute, t, octave=1, velocity=88)
    play_tune(lead, t, velocity=104)
    play_tune(clar, t, harmony=True, velocity=84)
    oom_pah(bass, comp, t, velocity=86)
    for bar in range(8):
        _, notes = CHORDS[bar]
        strings.chord(t + bar * BAR, [pitch(n) - 12 for n in notes], 3.9, 66)
        brass.chord(t + bar * BAR, notes, 0.9, 70 + (10 if bar in (3, 7) else 0))
    beat_keeping(t, 8)
    drums.note(t, CRASH, 2, 96)
    t += 8 * BAR
    # 5: the accordion once more, softer, and a final cadence.
    play_tune(lead, t, velocity=92)
    oom_pah(bass, comp, t, velocity=74)
    beat_keeping(t, 8, tambourine=False)
    t += 8 * BAR
    lead.chord(t, ["E4", "A4", "C5", "E5"], 3, 96)
    bass.note(t, "A1", 3, 104)
    strings.chord(t, ["A2", "E3", "A3", "C4"], 3.5, 70)
    drums.note(t, CRASH, 3, 90)
    drums.note(t, KICK, 1, 100)
    s.end_beat = t + 6
    return s
