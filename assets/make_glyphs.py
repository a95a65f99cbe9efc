#!/usr/bin/env python3
"""Draws the small glyphs the skin engine carries: caption buttons, the
check box and its mark, and the spin and combo arrows.

Run from the repository root: python3 assets/make_glyphs.py
Only the standard library is used and nothing is random, so reruns give the
same bytes.
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "glyphs")

SUB = 4            # subsamples per pixel edge for anti-aliasing
HALO_ALPHA = 105   # dark rim under the white caption glyphs
STROKE = 1.6       # width of the diagonal and curved caption strokes


# Shapes are inside-tests on continuous coordinates: pixel (i, j) covers
# [i, i+1) x [j, j+1). Subsamples never fall on whole numbers, so a rectangle
# with whole-number edges covers whole pixels and stays crisp.

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def stroke(points, width):
    """Polyline with round caps and joins."""
    segs = list(zip(points, points[1:])) or [(points[0], points[0])]
    lim = (width / 2) ** 2

    def inside(x, y):
        for (ax, ay), (bx, by) in segs:
            vx, vy = bx - ax, by - ay
            n = vx * vx + vy * vy
            t = 0.0 if n == 0 else max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / n))
            dx, dy = x - ax - t * vx, y - ay - t * vy
            if dx * dx + dy * dy <= lim:
                return True
        return False
    return inside


def arc_points(cx, cy, r, a0, a1, steps=48):
    """Points along a circle, angles in degrees with y pointing down."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * k / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * k / steps)))
            for k in range(steps + 1)]


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def coverage(w, h, shape):
    """Fraction of each pixel inside shape, row by row."""
    offs = [(k + 0.5) / SUB for k in range(SUB)]
    out = []
    for j in range(h):
        for i in range(w):
            hits = sum(1 for sy in offs for sx in offs if shape(i + sx, j + sy))
            out.append(hits / (SUB * SUB))
    return out


def dilate(cov, w, h):
    """One-pixel grow; diagonal neighbours count less so the rim's corners
    come out rounded rather than square."""
    out = []
    for j in range(h):
        for i in range(w):
            best = 0.0
            for dj in (-1, 0, 1):
                for di in (-1, 0, 1):
                    ii, jj = i + di, j + dj
                    if 0 <= ii < w and 0 <= jj < h:
                        weight = 0.6 if di and dj else 1.0
                        best = max(best, cov[jj * w + ii] * weight)
            out.append(best)
    return out


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]  # premultiplied

    def paint(self, cov, colour, alpha):
        """Source-over of colour (an RGB tuple, or a function of the row) at
        alpha 0..255, weighted by the coverage list."""
        for idx, c in enumerate(cov):
            a = c * alpha / 255.0
            if a <= 0.0:
                continue
            rgb = colour(idx // self.w) if callable(colour) else colour
            p = self.px[idx]
            for k in range(3):
                p[k] = rgb[k] / 255.0 * a + p[k] * (1.0 - a)
            p[3] = a + p[3] * (1.0 - a)

    def set(self, i, j, rgba):
        a = rgba[3] / 255.0
        self.px[j * self.w + i] = [c / 255.0 * a for c in rgba[:3]] + [a]

    def rgba(self):
        """Straight (not premultiplied) 8-bit RGBA rows, as PNG wants them."""
        rows = []
        for j in range(self.h):
            row = bytearray()
            for p in self.px[j * self.w:(j + 1) * self.w]:
                a = p[3]
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(min(255, int(p[k] / a * 255.0 + 0.5)) for k in range(3))
                row.append(min(255, int(a * 255.0 + 0.5)))
            rows.append(bytes(row))
        return rows


def png_bytes(w, h, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\0" + r for r in rows)  # filter 0 on every row
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def read_png(path):
    """Just enough of a decoder to check our own output: size, colour type
    and the rows (we only ever write filter 0)."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, head, idat = 8, None, b""
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        crc = struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])[0]
        assert zlib.crc32(data[pos + 4:pos + 8 + n]) == crc, path
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    w, h = head[0], head[1]
    raw = zlib.decompress(idat)
    stride = 1 + 4 * w
    assert len(raw) == stride * h and all(raw[j * stride] == 0 for j in range(h)), path
    return head, [raw[j * stride + 1:(j + 1) * stride] for j in range(h)]


# Caption glyphs: white on a dark rim so they read on any part of the picture.
# Shapes are laid out around the image centre; even widths and heights keep
# them exactly centred in the 26- and 38-pixel buttons.

def caption(w, h, shape):
    cov = coverage(w, h, shape)
    c = Canvas(w, h)
    c.paint(dilate(cov, w, h), (0, 0, 0), HALO_ALPHA)
    c.paint(cov, (255, 255, 255), 255)
    return c


def help_glyph():
    # Hook on a circle, a short drop into a crisp stem, and a square dot.
    cx, cy, r = 13.0, 6.8, 2.3
    hook = arc_points(cx, cy, r, 165, 405)
    end = hook[-1]
    neck = stroke(hook + [(cx + 0.1, end[1] + 1.0), (cx, 10.2)], STROKE)
    stem = rect(12, 10, 14, 11)
    dot = rect(12, 12, 14, 14)
    return caption(26, 18, union(neck, stem, dot))


def menu_glyph():
    return caption(26, 18, union(rect(8, 4, 18, 6), rect(8, 8, 18, 10), rect(8, 12, 18, 14)))


def minimize_glyph():
    return caption(26, 18, rect(8, 11, 18, 13))


def square_outline(x0, y0, x1, y1):
    # Heavier top edge, like a window's title bar.
    return minus(rect(x0, y0, x1, y1), rect(x0 + 1, y0 + 2, x1 - 1, y1 - 1))


def maximize_glyph():
    return caption(26, 18, square_outline(8, 4, 18, 14))


def restore_glyph():
    front = (8, 7, 15, 14)
    back = square_outline(11, 4, 18, 11)
    # The back window shows only where the front one does not cover it.
    return caption(26, 18, union(square_outline(*front), minus(back, rect(*front))))


def close_glyph():
    # Both diagonals run through pixel centres around (19, 9).
    d = 4.0
    cross = union(stroke([(19 - d, 9 - d), (19 + d, 9 + d)], STROKE),
                  stroke([(19 - d, 9 + d), (19 + d, 9 - d)], STROKE))
    return caption(38, 18, cross)


def check_box():
    c = Canvas(13, 13)
    outer = rounded_rect(0, 0, 13, 13, 2.5)
    inner = rounded_rect(1, 1, 12, 12, 1.5)

    # Faint top-to-bottom shade so the box does not look flat.
    def shade(row):
        t = max(0.0, min(1.0, (row - 1) / 10.0))
        return tuple(int(255 - t * d + 0.5) for d in (26, 22, 16))
    c.paint(coverage(13, 13, inner), shade, 200)
    c.paint(coverage(13, 13, minus(outer, inner)), (0x40, 0x40, 0x40), 220)
    return c


def check_mark():
    c = Canvas(13, 13)
    tick = stroke([(3.4, 6.9), (5.4, 9.1), (9.6, 4.1)], 2.0)
    c.paint(coverage(13, 13, tick), (0x20, 0x30, 0x20), 255)
    return c


def arrow(w, h, counts, vertical, flip):
    """Solid triangle, no smoothing: the arrows are only a few pixels wide."""
    c = Canvas(w, h)
    span = w if vertical else h
    for k, n in enumerate(reversed(counts) if flip else counts):
        first = (span - n) // 2
        for m in range(first, first + n):
            i, j = (m, k) if vertical else (k, m)
            c.set(i, j, (0, 0, 0, 255))
    return c


ARROW_STEPS = [1, 3, 5, 7]


def glyphs():
    down = arrow(7, 4, ARROW_STEPS, True, True)
    return [
        ("caption_help.png", help_glyph()),
        ("caption_menu.png", menu_glyph()),
        ("caption_minimize.png", minimize_glyph()),
        ("caption_maximize.png", maximize_glyph()),
        ("caption_restore.png", restore_glyph()),
        ("caption_close.png", close_glyph()),
        ("check_box.png", check_box()),
        ("check_mark.png", check_mark()),
        ("arrow_up.png", arrow(7, 4, ARROW_STEPS, True, False)),
        ("arrow_down.png", down),
        ("arrow_left.png", arrow(4, 7, ARROW_STEPS, False, False)),
        ("arrow_right.png", arrow(4, 7, ARROW_STEPS, False, True)),
        # The combo box's drop button uses the down arrow under its own name.
        ("combo_arrow.png", down),
    ]


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, canvas in glyphs():
        rows = canvas.rgba()
        path = os.path.join(OUT, name)
        with open(path, "wb") as f:
            f.write(png_bytes(canvas.w, canvas.h, rows))
        # Read it back so a writer fault shows here, not as a blank button.
        head, back = read_png(path)
        assert head == (canvas.w, canvas.h, 8, 6, 0, 0, 0) and back == rows, path
        print(os.path.relpath(path), f"{canvas.w}x{canvas.h}")


if __name__ == "__main__":
    main()
