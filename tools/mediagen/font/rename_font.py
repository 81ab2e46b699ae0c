#!/usr/bin/python3
"""Makes the display font "OldCyr Bold" from Old Standard TT Bold.

The OFL asks a modified font to carry a name of its own, so every name record
that presented the original family is replaced; the copyright notice and the
licence stay.  The licence text the font carries (name ID 13) is written next
to it.  The head table's timestamps are kept as they are, so a rerun gives the
same bytes.

usage: rename_font.py SOURCE.ttf OUT.ttf OUT_LICENCE.txt
"""
import sys

from fontTools.ttLib import TTFont

FAMILY = "OldCyr Bold"
STYLE = "Bold"
POSTSCRIPT = "OldCyr-Bold"

# Windows Unicode English and Macintosh Roman English: the records every
# platform reads.  Localised style and full names only repeat the old family.
KEEP_PLATFORMS = {(3, 1, 0x409), (1, 0, 0)}


def main() -> int:
    src, out_font, out_licence = sys.argv[1:4]
    font = TTFont(src, recalcTimestamp=False)
    name = font["name"]
    licence = name.getName(13, 3, 1, 0x409).toUnicode()
    version = name.getName(5, 3, 1, 0x409).toUnicode().strip()

    name.names = [r for r in name.names
                  if r.nameID not in (1, 2, 3, 4, 6, 16, 17)
                  or (r.platformID, r.platEncID, r.langID) in KEEP_PLATFORMS]
    for platform in KEEP_PLATFORMS:
        for name_id, text in ((1, FAMILY), (2, STYLE), (3, f"{FAMILY}: {version}"),
                              (4, FAMILY), (6, POSTSCRIPT), (16, FAMILY), (17, STYLE)):
            name.setName(text, name_id, *platform)

    # The signature covered the old names; a stale one only makes loaders complain.
    if "DSIG" in font:
        del font["DSIG"]
    font.save(out_font)

    with open(out_licence, "w", encoding="utf-8", newline="\n") as f:
        f.write(f"{FAMILY} is a renamed copy of Old Standard TT Bold {version}\n"
                "by Alexey Kryukov; only its name records differ.\n\n")
        f.write(licence.replace("\r\n", "\n").rstrip() + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
