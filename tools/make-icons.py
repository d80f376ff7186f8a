#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files into src/mainwindow/res.

The icons are drawn from simple shapes in a unit square, rendered with 4x4 supersampling at every
size the icon carries, and stored as 32-bit images with an alpha channel (plus the AND mask that
older readers want). Run it again after changing a drawing; the .ico files are committed.
"""
import math
import os
import struct
import sys

SUPER = 4


class Canvas:
    def __init__(self, size):
        self.size = size
        self.n = size * SUPER
        self.px = [[(0, 0, 0, 0)] * self.n for _ in range(self.n)]

    def _cover(self, inside, color, bbox):
        x0, y0, x1, y1 = bbox
        lo_x = max(0, int(x0 * self.n) - 1)
        hi_x = min(self.n, int(x1 * self.n) + 2)
        lo_y = max(0, int(y0 * self.n) - 1)
        hi_y = min(self.n, int(y1 * self.n) + 2)
        for j in range(lo_y, hi_y):
            y = (j + 0.5) / self.n
            row = self.px[j]
            for i in range(lo_x, hi_x):
                x = (i + 0.5) / self.n
                if inside(x, y):
                    row[i] = blend(row[i], color)

    def polygon(self, points, color):
        def inside(x, y):
            c = False
            k = len(points) - 1
            for m in range(len(points)):
                xi, yi = points[m]
                xj, yj = points[k]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                k = m
            return c
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self._cover(inside, color, (min(xs), min(ys), max(xs), max(ys)))

    def rect(self, x0, y0, x1, y1, color, radius=0.0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 + 1e-12
        self._cover(inside, color, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, color):
        self._cover(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color, (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r, width, color):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            return r - width / 2 <= d <= r + width / 2
        self._cover(inside, color, (cx - r - width, cy - r - width, cx + r + width, cy + r + width))

    def line(self, x0, y0, x1, y1, width, color):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], color)
        self.circle(x0, y0, width / 2, color)
        self.circle(x1, y1, width / 2, color)

    def pixels(self):
        out = []
        s2 = SUPER * SUPER
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r = g = b = a = 0
                for j in range(SUPER):
                    for i in range(SUPER):
                        pr, pg, pb, pa = self.px[y * SUPER + j][x * SUPER + i]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a:
                    row.append((r // a, g // a, b // a, a // s2))
                else:
                    row.append((0, 0, 0, 0))
            out.append(row)
        return out


def blend(dst, src):
    sr, sg, sb, sa = src
    dr, dg, db, da = dst
    a = sa + da * (255 - sa) // 255
    if a == 0:
        return (0, 0, 0, 0)
    def ch(s, d):
        return (s * sa + d * da * (255 - sa) // 255) // a
    return (ch(sr, dr), ch(sg, dg), ch(sb, db), a)


OUTLINE = (60, 60, 70, 255)
PAPER = (250, 250, 244, 255)
FLAP = (215, 215, 205, 255)
GREEN = (40, 150, 60, 255)
FOLDER = (240, 190, 60, 255)
FOLDER_DARK = (200, 140, 30, 255)
BLUE = (50, 110, 200, 255)


def envelope(c, x0, y0, x1, y1):
    w = (x1 - x0)
    c.rect(x0, y0, x1, y1, OUTLINE, radius=w * 0.06)
    t = w * 0.05
    c.rect(x0 + t, y0 + t, x1 - t, y1 - t, PAPER, radius=w * 0.03)
    mx = (x0 + x1) / 2
    c.polygon([(x0 + t, y0 + t), (x1 - t, y0 + t), (mx, y0 + (y1 - y0) * 0.6)], FLAP)
    c.line(x0 + t, y0 + t, mx, y0 + (y1 - y0) * 0.6, t * 0.9, OUTLINE)
    c.line(x1 - t, y0 + t, mx, y0 + (y1 - y0) * 0.6, t * 0.9, OUTLINE)


def arrow(c, x0, y0, x1, y1, color):
    h = y1 - y0
    my = (y0 + y1) / 2
    head = x1 - (x1 - x0) * 0.45
    pts = [(x0, my - h * 0.18), (head, my - h * 0.18), (head, y0), (x1, my), (head, y1), (head, my + h * 0.18),
           (x0, my + h * 0.18)]
    c.polygon([(x - 0.02, y - 0.02) for x, y in pts], OUTLINE)
    c.polygon([(x + 0.02, y + 0.02) for x, y in pts], OUTLINE)
    c.polygon(pts, color)


def folder(c):
    c.polygon([(0.06, 0.22), (0.38, 0.22), (0.46, 0.3), (0.94, 0.3), (0.94, 0.86), (0.06, 0.86)], FOLDER_DARK)
    c.rect(0.09, 0.33, 0.91, 0.83, FOLDER, radius=0.02)
    c.polygon([(0.06, 0.4), (0.94, 0.4), (0.94, 0.86), (0.06, 0.86)], FOLDER)
    c.line(0.06, 0.4, 0.94, 0.4, 0.04, FOLDER_DARK)


def program(size):
    c = Canvas(size)
    envelope(c, 0.04, 0.2, 0.8, 0.78)
    arrow(c, 0.45, 0.52, 0.97, 0.94, GREEN)
    return c


def send_now(size):
    return program(size)


def temporary(size):
    c = Canvas(size)
    folder(c)
    c.circle(0.66, 0.64, 0.3, OUTLINE)
    c.circle(0.66, 0.64, 0.25, (255, 255, 255, 255))
    c.line(0.66, 0.64, 0.66, 0.46, 0.07, OUTLINE)
    c.line(0.66, 0.64, 0.8, 0.7, 0.07, OUTLINE)
    return c


def desktop(size):
    c = Canvas(size)
    c.rect(0.04, 0.1, 0.96, 0.74, OUTLINE, radius=0.05)
    c.rect(0.1, 0.16, 0.9, 0.68, BLUE)
    c.rect(0.1, 0.56, 0.9, 0.68, (90, 160, 90, 255))
    c.rect(0.42, 0.74, 0.58, 0.86, OUTLINE)
    c.rect(0.24, 0.84, 0.76, 0.94, OUTLINE, radius=0.03)
    return c


def attachments(size):
    c = Canvas(size)
    folder(c)
    clip = (90, 90, 110, 255)
    w = 0.075
    c.line(0.55, 0.85, 0.55, 0.2, w, clip)
    c.line(0.75, 0.25, 0.75, 0.8, w, clip)
    c.ring(0.65, 0.2, 0.1, w, clip)
    c.rect(0.5, 0.2, 0.8, 0.26, (0, 0, 0, 0))
    c.line(0.55, 0.2, 0.55, 0.25, w, clip)
    c.line(0.75, 0.2, 0.75, 0.25, w, clip)
    c.polygon([(0.55 - w / 2, 0.13), (0.75 + w / 2, 0.13), (0.75 + w / 2, 0.2), (0.55 - w / 2, 0.2)], (0, 0, 0, 0))
    c.ring(0.65, 0.2, 0.1, w, clip)
    return c


def custom(size):
    c = Canvas(size)
    folder(c)
    pts = []
    for k in range(10):
        r = 0.3 if k % 2 == 0 else 0.13
        ang = -math.pi / 2 + k * math.pi / 5
        pts.append((0.66 + r * math.cos(ang), 0.6 + r * math.sin(ang)))
    c.polygon([(x, y + 0.015) for x, y in pts], OUTLINE)
    c.polygon(pts, BLUE)
    return c


def write_ico(path, images):
    entries = []
    blobs = []
    for canvas in images:
        size = canvas.size
        pix = canvas.pixels()
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        xor = bytearray()
        for row in reversed(pix):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(pix):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blobs.append(header + bytes(xor) + bytes(mask))
        entries.append(size)
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    for size, blob in zip(entries, blobs):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'mainwindow', 'res')
    os.makedirs(root, exist_ok=True)
    icons = {
        'ferryl.ico': (program, (16, 32, 48)),
        'send_now.ico': (send_now, (32,)),
        'temporary.ico': (temporary, (16,)),
        'desktop.ico': (desktop, (16,)),
        'attachments.ico': (attachments, (16,)),
        'custom.ico': (custom, (16,)),
    }
    for name, (draw, sizes) in icons.items():
        write_ico(os.path.join(root, name), [draw(s) for s in sizes])
        print('wrote', name)


if __name__ == '__main__':
    sys.exit(main())
