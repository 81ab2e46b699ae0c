#!/usr/bin/env python3
"""Writes resources/resources.qrc from the files under resources/.

Every resource is addressed by kind and name, the name being the file's base
name: ":/raw/B29_Left" (PNG pictures, WAVE and MP3 sounds), ":/gif/GZastNew1",
":/jpeg/BG", ":/any/OLDCYRBOLD" (the font) and ":/flags/ILEuro_000" (the flag
lists).  The puzzle bases are enciphered at build time and added by CMake.
"""
import pathlib
import sys
from xml.sax.saxutils import escape, quoteattr

ROOT = pathlib.Path(__file__).resolve().parent.parent / "resources"

# (prefix, folder, file endings); order only decides the order in the file.
GROUPS = [
    ("/raw", "png", (".png",)),
    ("/raw", "wav", (".wav",)),
    ("/raw", "mp3", (".mp3",)),
    ("/gif", "gif", (".gif",)),
    ("/jpeg", "jpeg", (".jpg", ".jpeg")),
    ("/any", "font", (".ttf",)),
    ("/flags", "png/flags", (".png",)),
]


def main() -> int:
    seen = {}
    out = ['<!DOCTYPE RCC>', '<RCC version="1.0">']
    for prefix, folder, endings in GROUPS:
        files = sorted(p for p in (ROOT / folder).glob("*")
                       if p.is_file() and p.suffix.lower() in endings)
        if not files:
            continue
        out.append(f'  <qresource prefix="{prefix}">')
        for p in files:
            key = (prefix, p.stem.upper())
            if key in seen:
                print(f"duplicate resource name {p.stem} ({seen[key]} and {p})", file=sys.stderr)
                return 1
            seen[key] = p
            rel = p.relative_to(ROOT).as_posix()
            out.append(f'    <file alias={quoteattr(p.stem)}>{escape(rel)}</file>')
        out.append('  </qresource>')
    out.append('</RCC>')
    (ROOT / "resources.qrc").write_text("\n".join(out) + "\n", encoding="utf-8")
    print(f"resources.qrc: {len(seen)} files")
    return 0


if __name__ == "__main__":
    sys.exit(main())
