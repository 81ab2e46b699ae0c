"""The short tunes: letter and deal jingles, the two intro sounds and the two
end-of-game sounds. Each function returns a Song whose end_beat covers the
ring-out; the renderer cuts and fades it to the wanted length."""
from midi import Song, pitch

# General MIDI programs and drum keys used here.
CELESTA, GLOCKENSPIEL, VIBRAPHONE = 8, 9, 11
TREMOLO_STRINGS, PIZZICATO, HARP, TIMPANI = 44, 45, 46, 47
STRINGS = 48
TRUMPET, TROMBONE, MUTED_TRUMPET, BRASS = 56, 57, 59, 61
CLARINET = 71
REVERSE_CYMBAL = 119
ACOUSTIC_BASS = 32
CRASH, SNARE, TRIANGLE, SUSPENDED = 49, 38, 81, 57
DRUMS = 9


def scale_run(start: str, steps, degrees=(0, 2, 4, 5, 7, 9, 11)):
    """Notes of a major scale upwards from `start`, `steps` notes long."""
    base = pitch(start)
    return [base + 12 * (i // 7) + degrees[i % 7] for i in range(steps)]


def found_letter() -> Song:
    """WGGut: two bright bell notes rising a fifth."""
    s = Song(120)
    glock = s.part(0, GLOCKENSPIEL, volume=110, reverb=50)
    cel = s.part(1, CELESTA, volume=90, pan=80, reverb=50)
    glock.note(0, "E6", 0.5, 96)
    glock.note(0.25, "B6", 1.0, 110)
    cel.chord(0.25, ["E5", "B5"], 1.0, 70)
    s.end_beat = 1.6
    return s


def deal_solved() -> Song:
    """WGMil: a quick rising arpeggio landing on a ringing major chord."""
    s = Song(150)
    vib = s.part(0, VIBRAPHONE, volume=110, reverb=55)
    glock = s.part(1, GLOCKENSPIEL, volume=90, pan=88, reverb=55)
    bass = s.part(2, PIZZICATO, volume=100, pan=48)
    drums = s.part(DRUMS, 0, volume=80)
    for i, n in enumerate(["C5", "E5", "G5"]):
        vib.note(i * 0.25, n, 0.3, 90 + 8 * i)
    vib.chord(0.75, ["C5", "E5", "G5", "C6"], 2.0, 108)
    glock.note(0.75, "C7", 1.5, 96)
    glock.note(1.0, "G6", 1.5, 80)
    bass.note(0.75, "C3", 1.0, 110)
    drums.note(0.75, TRIANGLE, 1.0, 90)
    s.end_beat = 3.6
    return s


def intro_opening() -> Song:
    """SZastNew1, timed to the opening animation at 150 beats a minute
    (0.4 s a beat): the letters of the title land 0.2 s apart from 0.76 s on,
    each with a bell note of a rising scale; the word is whole at 2.6 s,
    greeted by a harp sweep, brass and a cymbal; the gleam follows."""
    s = Song(150)
    strings = s.part(0, TREMOLO_STRINGS, volume=90, reverb=60)
    whoosh = s.part(1, REVERSE_CYMBAL, volume=80, reverb=30)
    bells = s.part(2, GLOCKENSPIEL, volume=112, pan=76, reverb=55)
    harp = s.part(3, HARP, volume=100, pan=44, reverb=60)
    brass = s.part(4, BRASS, volume=105, reverb=60)
    timp = s.part(5, TIMPANI, volume=110, reverb=50)
    celesta = s.part(6, CELESTA, volume=100, pan=90, reverb=70)
    drums = s.part(DRUMS, 0, volume=90)

    whoosh.note(0, "C4", 2.2, 80)
    strings.chord(0, ["D3", "A3", "D4", "F#4"], 6.5, 80)
    for i in range(27):  # swell towards the landing of the last letter
        strings.control(i * 0.25, 11, 30 + i * 3)
    for i, key in enumerate(scale_run("D5", 8)):
        bells.note(1.9 + 0.5 * i, key, 0.6, 92 + 2 * i)
    for i, key in enumerate(scale_run("D4", 15)):
        harp.note(5.7 + i * 0.05, key, 1.0, 70 + 2 * i)
    brass.chord(6.5, ["D3", "A3", "D4", "F#4", "A4"], 3.2, 108)
    brass.note(6.5, "D5", 3.2, 100)
    timp.note(6.5, "D2", 1.0, 120)
    timp.note(6.0, "A1", 0.5, 90)
    drums.note(6.5, CRASH, 2.0, 110)
    for i, key in enumerate(["D7", "A6", "F#6", "D6", "A6", "D7"]):
        celesta.note(6.9 + i * 0.3, key, 0.8, 80 + 4 * i)
    s.end_beat = 10.6
    return s


def intro_flourish() -> Song:
    """SZastNew2: a harp sweep into a glittering chord as the star pops up."""
    s = Song(120)
    harp = s.part(0, HARP, volume=105, reverb=60)
    glock = s.part(1, GLOCKENSPIEL, volume=105, pan=84, reverb=60)
    celesta = s.part(2, CELESTA, volume=95, pan=44, reverb=60)
    drums = s.part(DRUMS, 0, volume=80)
    for i, key in enumerate(scale_run("G4", 11)):
        harp.note(i * 0.05, key, 0.8, 70 + 3 * i)
    glock.chord(0.6, ["G6", "D7"], 1.0, 100)
    celesta.chord(0.6, ["G5", "B5", "D6", "G6"], 1.0, 90)
    drums.note(0.6, TRIANGLE, 1.0, 80)
    s.end_beat = 2.2
    return s


def good_result() -> Song:
    """S_FiGut: a brass fanfare with timpani, a snare roll and a cymbal."""
    s = Song(132)
    tpt1 = s.part(0, TRUMPET, volume=110, pan=40, reverb=45)
    tpt2 = s.part(1, TRUMPET, volume=100, pan=88, reverb=45)
    brass = s.part(2, BRASS, volume=100, pan=64, reverb=50)
    bones = s.part(3, TROMBONE, volume=100, pan=76, reverb=45)
    timp = s.part(4, TIMPANI, volume=110, reverb=45)
    drums = s.part(DRUMS, 0, volume=90)
    lead = [(0, "G4", 1 / 3), (1 / 3, "G4", 1 / 3), (2 / 3, "G4", 1 / 3), (1, "C5", 1),
            (2, "G4", 0.5), (2.5, "C5", 0.5), (3, "E5", 3)]
    second = [(0, "E4", 1 / 3), (1 / 3, "E4", 1 / 3), (2 / 3, "E4", 1 / 3), (1, "G4", 1),
              (2, "E4", 0.5), (2.5, "G4", 0.5), (3, "C5", 3)]
    for beat, key, length in lead:
        tpt1.note(beat, key, length, 112)
    for beat, key, length in second:
        tpt2.note(beat, key, length, 100)
    bones.note(1, "C3", 1, 100)
    bones.note(2, "G2", 1, 100)
    bones.chord(3, ["C3", "G3"], 3, 108)
    brass.chord(3, ["C4", "E4", "G4"], 3, 104)
    timp.note(0, "G2", 1, 100)
    timp.note(1, "C2", 1, 110)
    timp.note(2, "G2", 1, 100)
    timp.note(3, "C2", 2, 120)
    for i in range(8):
        drums.note(2 + i / 8, SNARE, 0.1, 60 + 6 * i)
    drums.note(3, CRASH, 3, 118)
    s.end_beat = 7.2
    return s


def poor_result() -> Song:
    """S_FiBad: a soft, sighing fall on a muted trumpet over low strings."""
    s = Song(84)
    horn = s.part(0, MUTED_TRUMPET, volume=100, reverb=60)
    pad = s.part(1, STRINGS, volume=70, reverb=60)
    bass = s.part(2, ACOUSTIC_BASS, volume=90, reverb=40)
    fall = [(0, "Bb4", 0.7), (0.75, "A4", 0.7), (1.5, "Ab4", 0.7), (2.25, "G4", 2.5)]
    for beat, key, length in fall:
        horn.note(beat, key, length, 84)
    # A slow vibrato on the long last note, drooping slightly at its end.
    for i in range(40):
        b = 2.45 + i * 0.05
        droop = -0.5 * max(0.0, (i - 24) / 16)
        horn.bend(b, 0.18 * (1 if (i // 3) % 2 else -1) + droop)
    horn.bend(4.9, 0)
    pad.chord(0, ["G3", "Bb3", "D4"], 2.25, 60)
    pad.chord(2.25, ["Eb3", "G3", "C4"], 2.6, 56)
    bass.note(0, "G2", 2.2, 80)
    bass.note(2.25, "C2", 2.6, 80)
    s.end_beat = 6.0
    return s
