#!/usr/bin/env python3
"""Checks the byte layout of the committed sound-board clips.

Run from the repository root: python3 assets/check_clips.py
The player has to cope with exactly these shapes (zero-byte lead-ins, a
large ID3v2 tag, MPEG-2 half-rate mono), so a regenerated clip that drifts
from them would silently stop covering a case. Exits 1 on any mismatch.
"""
import os
import sys

CLIPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "clips")

# name: (leading zero bytes, ID3v2.3 tag size or 0, MPEG version,
#        kbit/s, Hz, channel mode); every clip is layer III.
EXPECTED = {
    "01_crowd_laughter.mp3": (0, 0, 1, 128, 44100, "joint"),
    "02_snicker.mp3": (0, 0, 1, 192, 44100, "joint"),
    "03_scream.mp3": (0, 0, 1, 192, 44100, "joint"),
    "04_light_applause.mp3": (0, 0, 1, 192, 44100, "joint"),
    "05_cheering.mp3": (0, 0, 1, 192, 44100, "joint"),
    "06_evil_laugh.mp3": (261, 0, 2, 80, 22050, "mono"),
    "07_hearty_laugh.mp3": (0, 0, 1, 192, 44100, "joint"),
    "08_machine_gun.mp3": (0, 0, 1, 192, 44100, "joint"),
    "09_thunder_rain.mp3": (417, 0, 1, 128, 44100, "stereo"),
    "10_kneel.mp3": (0, 4096, 1, 128, 44100, "mono"),
    "11_gunshot.mp3": (0, 0, 1, 192, 44100, "joint"),
    "12_helicopter.mp3": (0, 0, 1, 192, 44100, "joint"),
}

# Layer III bitrates (kbit/s) by index, MPEG-1 and MPEG-2/2.5.
BITRATES = {
    1: [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
    2: [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
}
RATES = {1: [44100, 48000, 32000], 2: [22050, 24000, 16000],
         2.5: [11025, 12000, 8000]}
MODES = ["stereo", "joint", "dual", "mono"]


def parse_header(b, pos):
    """Decode the 4-byte frame header at pos; None if it is not one."""
    if pos + 4 > len(b) or b[pos] != 0xFF or (b[pos + 1] & 0xE0) != 0xE0:
        return None
    ver = {3: 1, 2: 2, 0: 2.5}.get((b[pos + 1] >> 3) & 3)
    layer = 4 - ((b[pos + 1] >> 1) & 3)
    bri, sri = b[pos + 2] >> 4, (b[pos + 2] >> 2) & 3
    if ver is None or layer == 4 or bri in (0, 15) or sri == 3:
        return None
    kbps = BITRATES[1 if ver == 1 else 2][bri] if layer == 3 else None
    rate = RATES[ver][sri]
    pad = (b[pos + 2] >> 1) & 1
    if kbps is None:
        size = None
    else:
        # 1152 samples per MPEG-1 layer III frame, 576 for MPEG-2/2.5.
        size = (144 if ver == 1 else 72) * kbps * 1000 // rate + pad
    return {"version": ver, "layer": layer, "kbps": kbps, "rate": rate,
            "mode": MODES[b[pos + 3] >> 6], "size": size,
            "samples": 1152 if ver == 1 else 576}


def check(name, expected):
    zeros, tag, ver, kbps, rate, mode = expected
    path = os.path.join(CLIPS, name)
    if not os.path.exists(path):
        return ["missing"]
    b = open(path, "rb").read()
    errs = []

    lead = len(b) - len(b.lstrip(b"\0"))
    if lead != zeros:
        errs.append("%d leading zero bytes, want %d" % (lead, zeros))
    pos = lead

    if tag:
        if b[pos:pos + 3] != b"ID3":
            return errs + ["no ID3v2 tag"]
        if b[pos + 3] != 3:
            errs.append("ID3v2.%d, want 2.3" % b[pos + 3])
        s = b[pos + 6:pos + 10]
        if any(x & 0x80 for x in s):
            errs.append("ID3 size is not syncsafe")
        total = 10 + (s[0] << 21 | s[1] << 14 | s[2] << 7 | s[3])
        if total != tag:
            errs.append("ID3 tag is %d bytes, want %d" % (total, tag))
        pos += total
    elif b[pos:pos + 3] == b"ID3":
        errs.append("unexpected ID3v2 tag")
    if b[-128:-125] == b"TAG":
        errs.append("unexpected ID3v1 tag")

    first = parse_header(b, pos)
    if first is None:
        return errs + ["no MPEG frame header at byte %d" % pos]
    got = (first["version"], first["layer"], first["kbps"], first["rate"], first["mode"])
    want = (ver, 3, kbps, rate, mode)
    if got != want:
        errs.append("first frame is %s, want %s" % (got, want))
    body = b[pos + 4:pos + (first["size"] or 4)]
    if b"Xing" in body or b"Info" in body:
        errs.append("first frame is a Xing/Info header, not audio")

    # Walk the frames: each must sit right where the previous one ends,
    # share the first one's format, and the last must end the file.
    frames = 0
    while pos < len(b):
        h = parse_header(b, pos)
        if h is None or h["size"] is None:
            errs.append("frame sync lost at byte %d" % pos)
            break
        if (h["version"], h["kbps"], h["rate"], h["mode"]) != \
                (first["version"], first["kbps"], first["rate"], first["mode"]):
            errs.append("frame %d changes format" % frames)
            break
        if pos + h["size"] > len(b):
            errs.append("last frame truncated")
            break
        pos += h["size"]
        frames += 1
    seconds = frames * first["samples"] / first["rate"]
    if not 1.0 <= seconds <= 6.0:
        errs.append("%.2f s long, want 1-6 s" % seconds)
    return errs or ["ok: %d frames, %.2f s, %s" % (frames, seconds, got)]


def main():
    failed = False
    extra = sorted(set(os.listdir(CLIPS)) - set(EXPECTED)) if os.path.isdir(CLIPS) else []
    for name in extra:
        print("%-22s unexpected file" % name)
        failed = True
    for name, expected in EXPECTED.items():
        result = check(name, expected)
        bad = not result[0].startswith("ok")
        failed |= bad
        print("%-22s %s" % (name, "; ".join(result)))
    print("FAILED" if failed else "all clips ok")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
