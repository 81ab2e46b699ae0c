#!/usr/bin/python3
"""Renders the game's sounds and music.

Tunes are written as MIDI from our own notes (jingles.py, music.py), played
through FluidSynth with the FluidR3 General MIDI sound font, then cut, faded,
levelled and converted with SoX; the MP3s are encoded with LAME. The two
plain effects (the click and the miss) are synthesised with SoX alone. SoX
runs with fixed random numbers (-R), so a rerun gives the same files.

usage: make_sounds.py RESOURCES_DIR WORK_DIR
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import jingles  # noqa: E402
from music import music  # noqa: E402

SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"

# name, song, length in seconds
WAVE_TUNES = [
    ("WGGut", jingles.found_letter, 0.7),
    ("WGMil", jingles.deal_solved, 1.5),
]
# The intro sounds last as long as their animations (101 x 40 ms, about 1 s).
INTRO_TUNES = [
    ("SZastNew1", jingles.intro_opening, 4.04),
    ("SZastNew2", jingles.intro_flourish, 1.0),
]
# name, song, length, channels, sample rate, bit rate (kbit/s)
MP3_TUNES = [
    ("S_FiGut", jingles.good_result, 3.4, 2, 44100, 128),
    ("S_FiBad", jingles.poor_result, 4.2, 1, 44100, 64),
]


def run(*cmd):
    subprocess.run(cmd, check=True)


def sox(*args):
    # -R: the same dither and noise on every run.
    run("sox", "-R", "-V1", *args)


def render(song, name, work):
    """Plays a song through FluidSynth into a 44.1 kHz stereo float WAVE."""
    mid = os.path.join(work, name + ".mid")
    raw = os.path.join(work, name + ".raw.wav")
    song.write(mid)
    run("fluidsynth", "-n", "-i", "-q", "-g", "0.5", "-r", "44100", "-O", "float", "-T", "wav",
        "-F", raw, SOUNDFONT, mid)
    return raw


def finish(src, dst, seconds, channels, rate, encoding=("-e", "signed-integer", "-b", "16"),
           fade_out=0.25):
    """Cuts to length, fades the end, levels to -1 dBFS and converts."""
    sox(src, *encoding, "-c", str(channels), "-r", str(rate), dst,
        "trim", "0", f"{seconds}", "fade", "t", "0.003", f"{seconds}", f"{fade_out}",
        "gain", "-n", "-1")


def click(dst, work):
    """WClick: a short bright tick over a puff of filtered noise."""
    tick = os.path.join(work, "click_tick.wav")
    puff = os.path.join(work, "click_puff.wav")
    sox("-n", "-r", "44100", "-c", "1", "-b", "16", tick,
        "synth", "0.035", "sine", "2600:1100", "fade", "q", "0", "0.035", "0.032")
    sox("-n", "-r", "44100", "-c", "1", "-b", "16", puff,
        "synth", "0.012", "pinknoise", "fade", "q", "0.0005", "0.012", "0.011",
        "highpass", "1500", "gain", "-6")
    sox("-m", tick, puff, "-b", "16", dst, "gain", "-n", "-6")


def miss(dst, work):
    """WG_Ai: a soft, low two-step buzz, down a fourth."""
    parts = []
    for i, (length, freq) in enumerate(((0.14, 196), (0.30, 147))):
        part = os.path.join(work, f"miss_{i}.wav")
        sox("-n", "-r", "44100", "-c", "1", "-b", "16", part,
            "synth", f"{length}", "square", f"{freq}", "lowpass", "800", "lowpass", "1600",
            "tremolo", "26", "40", "fade", "q", "0.01", f"{length}", f"{length * 0.5}")
        parts.append(part)
    gap = os.path.join(work, "miss_gap.wav")
    sox("-n", "-r", "44100", "-c", "1", "-b", "16", gap, "trim", "0", "0.03")
    sox(parts[0], gap, parts[1], "-b", "16", dst, "gain", "-n", "-6")


def main() -> int:
    res, work = sys.argv[1:3]
    os.makedirs(work, exist_ok=True)
    wav_dir, mp3_dir = os.path.join(res, "wav"), os.path.join(res, "mp3")
    os.makedirs(wav_dir, exist_ok=True)
    os.makedirs(mp3_dir, exist_ok=True)

    click(os.path.join(wav_dir, "WClick.wav"), work)
    miss(os.path.join(wav_dir, "WG_Ai.wav"), work)
    for name, song, seconds in WAVE_TUNES:
        finish(render(song(), name, work), os.path.join(wav_dir, name + ".wav"), seconds, 2, 44100)
    for name, song, seconds in INTRO_TUNES:
        finish(render(song(), name, work), os.path.join(wav_dir, name + ".wav"), seconds, 2, 44100,
               encoding=("-e", "ima-adpcm"), fade_out=min(0.4, seconds / 4))

    mp3s = [(name, song(), seconds, channels, rate, kbps)
            for name, song, seconds, channels, rate, kbps in MP3_TUNES]
    piece = music()
    # The music: mono, 32 kHz, 96 kbit/s; ends after the final chord rings out.
    mp3s.append(("MMusic", piece, piece.seconds(piece.end_beat) - 1.5, 1, 32000, 96))
    for name, song, seconds, channels, rate, kbps in mp3s:
        pcm = os.path.join(work, name + ".wav")
        finish(render(song, name, work), pcm, round(seconds, 3), channels, rate, fade_out=0.6)
        run("lame", "--quiet", "--cbr", "-b", str(kbps), "-m", "m" if channels == 1 else "j",
            "-q", "2", "--noreplaygain", pcm, os.path.join(mp3_dir, name + ".mp3"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
