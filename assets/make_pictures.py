#!/usr/bin/env python3
"""Draws the skin pictures and the program icon.

Run from the repository root: python3 assets/make_pictures.py
Everything is computed from fixed seeds, so reruns give the same bytes.
"""
import io
import os
import struct
import sys

try:
    import numpy as np
    from PIL import Image, ImageFilter
except ImportError:
    # A pyenv or venv python often lacks the Debian python3-numpy/python3-pil
    # modules; fall back to the system interpreter that has them.
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

OUT = os.path.dirname(os.path.abspath(__file__))


def lerp_stops(t, stops):
    """Piecewise-linear colour ramp; t is an array in 0..1."""
    pos = np.array([p for p, _ in stops])
    out = np.empty(t.shape + (3,))
    for c in range(3):
        out[..., c] = np.interp(t, pos, [col[c] for _, col in stops])
    return out


def soft_disc(w, h, cx, cy, r, edge):
    """Disc of radius r with a smooth falloff of width edge (0..1 mask)."""
    y, x = np.mgrid[0:h, 0:w]
    d = np.hypot(x - cx, y - cy)
    return np.clip((r - d) / edge + 0.5, 0.0, 1.0) ** 1.5


def screen(base, colour, mask):
    """Screen blend keeps highlights from clipping harshly."""
    layer = np.asarray(colour, float)[None, None, :] * mask[..., None]
    return 255.0 - (255.0 - base) * (255.0 - layer) / 255.0


def backdrop(w, h, seed, band, bokeh=1.0, waves=4):
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:h, 0:w].astype(float)
    u, v = x / (w - 1), y / (h - 1)

    # Diagonal ramp: deep navy upper left, teal in the middle, violet lower right.
    t = np.clip(0.55 * u + 0.45 * v, 0, 1)
    img = lerp_stops(t, [(0.0, (8, 18, 40)), (0.4, (12, 56, 74)),
                         (0.7, (32, 40, 92)), (1.0, (54, 26, 80))])

    # Broad glow behind the middle so the lower area is not flat.
    glow = np.exp(-(((u - 0.62) / 0.45) ** 2 + ((v - 0.62) / 0.5) ** 2))
    img = screen(img, (30, 100, 120), glow * 0.45)

    if waves:
        # A few gentle wave ribbons; blurred afterwards so they read as light.
        ribbon = np.zeros((h, w))
        for k in range(waves):
            amp = h * (0.035 + 0.015 * k)
            per = w * (0.9 + 0.35 * k)
            phase = rng.uniform(0, 2 * np.pi)
            base_y = h * (0.55 + 0.08 * k)
            cy = base_y + amp * np.sin(2 * np.pi * x[0] / per + phase)
            d = np.abs(y - cy[None, :])
            ribbon += np.exp(-(d / (1.2 + 0.4 * k)) ** 2) * (0.55 - 0.1 * k)
            ribbon += np.exp(-(d / (14 + 4 * k)) ** 2) * 0.10
        ribbon = np.asarray(Image.fromarray(np.uint8(np.clip(ribbon, 0, 1) * 255))
                            .filter(ImageFilter.GaussianBlur(1.2)), float) / 255
        img = screen(img, (120, 210, 230), ribbon * 0.45)

    # Bokeh: soft, faint circles of varied size, mostly in the lower two thirds.
    tints = [(110, 200, 230), (150, 130, 230), (90, 220, 200), (200, 160, 240)]
    for _ in range(int(w * h / 5200 * bokeh)):
        r = rng.uniform(6, 28) * w / 480
        cx = rng.uniform(-0.05, 1.05) * w
        cy = rng.uniform(0.25, 1.05) * h
        a = rng.uniform(0.05, 0.16)
        disc = soft_disc(w, h, cx, cy, r, edge=max(2.0, r * 0.25))
        ring = soft_disc(w, h, cx, cy, r, 1.5) - soft_disc(w, h, cx, cy, r - 1.5, 1.5)
        img = screen(img, tints[rng.integers(len(tints))], disc * a + ring * a * 0.6)

    # Light sweep: a wide diagonal sheen from upper right.
    s = (u - 0.75) * 0.8 + (v - 0.1) * 0.6
    sweep = np.exp(-(s / 0.12) ** 2) * np.clip(1.2 - v, 0, 1)
    img = screen(img, (180, 220, 255), sweep * 0.16)

    if band:
        # Darker band so white title text stays readable; deepest at the top.
        shade = np.clip(1 - (y - band) / (band * 0.35), 0, 1)
        shade = shade * shade * (3 - 2 * shade)
        dark = 0.45 + 0.2 * np.clip(1 - y / band, 0, 1)
        img *= (1 - dark * shade)[..., None]
        # Thin highlight along the band's lower edge, brightest mid-width.
        edge = np.exp(-((y - band * 1.05) / 1.2) ** 2) * (0.2 + 0.4 * np.sin(np.pi * u))
        img = screen(img, (140, 210, 240), edge * 0.3)
    else:
        # No title here; just keep the top edge from looking washed out.
        img *= (1 - 0.3 * np.clip(1 - v / 0.25, 0, 1) ** 2)[..., None]

    # Vignette plus faint grain (hides banding in the JPEG).
    vig = 1 - 0.28 * (((u - 0.5) * 1.6) ** 2 + ((v - 0.55) * 1.4) ** 2)
    img *= np.clip(vig, 0.6, 1)[..., None]
    img += rng.normal(0, 3.6, (h, w, 1))
    return Image.fromarray(np.uint8(np.rint(np.clip(img, 0, 255))), "RGB")


def save_jpeg(img, name):
    path = os.path.join(OUT, name)
    # Baseline (not progressive) JPEG: some picture loaders only take baseline.
    img.save(path, "JPEG", quality=85, optimize=True, progressive=False,
             subsampling=0)
    return path


def icon_image(size):
    """Rounded gradient tile with an eighth-note pair and a sound arc, drawn
    at 4x and downsampled for clean edges."""
    ss = 4
    n = size * ss
    y, x = np.mgrid[0:n, 0:n].astype(float) / n
    # Rounded-square mask via a superellipse-ish distance.
    m = 0.06
    r = 0.22
    qx = np.maximum(np.abs(x - 0.5) - (0.5 - m - r), 0)
    qy = np.maximum(np.abs(y - 0.5) - (0.5 - m - r), 0)
    tile = np.clip((r - np.hypot(qx, qy)) * n + 0.5, 0, 1)

    t = np.clip(0.5 * x + 0.6 * y, 0, 1)
    rgb = lerp_stops(t, [(0.0, (40, 200, 210)), (0.55, (40, 110, 190)), (1.0, (110, 50, 170))])
    # Top gloss.
    gloss = np.clip(1 - y / 0.5, 0, 1) ** 2 * 0.25
    rgb = rgb + (255 - rgb) * gloss[..., None]

    def seg(px, py, ax, ay, bx, by):
        dx, dy = bx - ax, by - ay
        k = np.clip(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0, 1)
        return np.hypot(px - ax - k * dx, py - ay - k * dy)

    def ellipse_head(cx, cy):
        # Tilted oval note head.
        a = -0.45
        xr = (x - cx) * np.cos(a) - (y - cy) * np.sin(a)
        yr = (x - cx) * np.sin(a) + (y - cy) * np.cos(a)
        return np.hypot(xr / 0.095, yr / 0.068)

    aa = 1.0 / n
    # Thicker strokes at small sizes so the glyph survives downsampling.
    w_stem = 0.028 if size >= 48 else 0.042
    note = np.zeros_like(x)
    for cx, cy in ((0.30, 0.70), (0.60, 0.64)):
        h = ellipse_head(cx, cy)
        note = np.maximum(note, np.clip((1 - h) / (aa / 0.07), 0, 1))
    x0, x1, y0, y1 = 0.37, 0.67, 0.28, 0.22
    for sx, top, bot in ((x0, y0, 0.68), (x1, y1, 0.62)):
        d = seg(x, y, sx, top + 0.04, sx, bot)
        note = np.maximum(note, np.clip((w_stem - d) / aa, 0, 1))
    # Beam: a slanted slab with square ends spanning both stems.
    top = y0 + (x - x0) * (y1 - y0) / (x1 - x0) - 0.01
    thick = 0.085
    inside = np.minimum(y - top, top + thick - y)
    inside = np.minimum(inside, np.minimum(x - (x0 - w_stem), (x1 + w_stem) - x))
    note = np.maximum(note, np.clip(inside / aa + 0.5, 0, 1))
    # Small sound arcs beside the upper note (only where they read).
    if size >= 32:
        cx, cy = 0.70, 0.40
        for rad in (0.10, 0.17):
            d = np.abs(np.hypot(x - cx, y - cy) - rad)
            ang = np.arctan2(y - cy, x - cx)
            arc = np.clip((0.018 - d) / aa, 0, 1) * (np.abs(ang) < 0.75)
            note = np.maximum(note, arc * 0.85)

    # Soft drop shadow under the white glyph.
    sh = Image.fromarray(np.uint8(note * 255)).filter(ImageFilter.GaussianBlur(n * 0.015))
    sh = np.roll(np.asarray(sh, float) / 255, (int(n * 0.012), int(n * 0.008)), (0, 1))
    rgb = rgb * (1 - 0.35 * sh[..., None])
    rgb = rgb * (1 - note[..., None]) + 255 * note[..., None]

    rgba = np.dstack([rgb, tile * 255])
    img = Image.fromarray(np.uint8(np.rint(np.clip(rgba, 0, 255))), "RGBA")
    return img.resize((size, size), Image.LANCZOS)


def dib_frame(img):
    """32-bit BGRA DIB with AND mask, the icon frame format every Windows
    version (and Wine) loads; PNG frames are only safe for the 256 size."""
    w, h = img.size
    px = np.asarray(img, np.uint8)[::-1]  # bottom-up rows
    xor = px[..., [2, 1, 0, 3]].tobytes()
    opaque = px[..., 3] >= 128
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in ~opaque:
        bits = np.packbits(row).tobytes()
        mask += bits + bytes(stride - len(bits))
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def save_icon(name):
    entries, blobs = [], []
    for size in (16, 32, 48, 256):
        img = icon_image(size)
        if size == 256:
            buf = io.BytesIO()
            img.save(buf, "PNG", optimize=True)
            blob = buf.getvalue()
        else:
            blob = dib_frame(img)
        entries.append((size, blob))
        blobs.append(blob)
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, blob in entries:
        dim = size % 256  # 0 stands for 256 in the directory
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    path = os.path.join(OUT, name)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))
    return path


def main():
    save_jpeg(backdrop(480, 300, seed=7, band=60), "player_background.jpg")
    save_jpeg(backdrop(702, 301, seed=11, band=0, bokeh=0.45, waves=2),
              "board_background.jpg")
    save_icon("app.ico")


if __name__ == "__main__":
    main()
