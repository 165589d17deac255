#!/usr/bin/env python3
"""Draws the program's pictures into src/resources: the program icon, the port-state icons,
the toolbar, dialog-button, file-manager-button and path-line strips, and the menu images.

Every picture is a flat pictogram drawn from a few shapes on a 16-unit grid, scaled to its size
and smoothed by supersampling. Strips come in three looks: normal, hot (a little brighter) and
disabled (grey and faded). Bitmaps are 32-bit with alpha; their transparent pixels are magenta,
so that code which keys on that colour sees the same outline.

Run it again only to change the pictures; the build uses the committed files."""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'resources')
SS = 4  # subpixels per pixel along each axis

# Colours (r, g, b).
BLUE = (47, 123, 217)
DARK_BLUE = (28, 82, 156)
GREEN = (46, 160, 67)
DARK_GREEN = (27, 110, 44)
RED = (217, 54, 62)
DARK_RED = (150, 30, 38)
YELLOW = (242, 179, 61)
DARK_YELLOW = (190, 128, 30)
GREY = (91, 100, 112)
LIGHT_GREY = (200, 205, 212)
WHITE = (255, 255, 255)
PAPER = (250, 250, 252)
OUTLINE = (110, 118, 130)
BROWN = (160, 110, 60)


class Canvas:
    """RGBA picture drawn at SS x SS subpixels per pixel; shapes are given in pixels."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.sub = [[(0.0, 0.0, 0.0, 0.0)] * (w * SS) for _ in range(h * SS)]

    def fill(self, inside, box, colour, alpha=1.0):
        x0, y0, x1, y1 = box
        r, g, b = colour
        for sy in range(max(0, int(y0 * SS)), min(self.h * SS, int(math.ceil(y1 * SS)) + 1)):
            y = (sy + 0.5) / SS
            row = self.sub[sy]
            for sx in range(max(0, int(x0 * SS)), min(self.w * SS, int(math.ceil(x1 * SS)) + 1)):
                x = (sx + 0.5) / SS
                if inside(x, y):
                    pr, pg, pb, pa = row[sx]
                    k = 1.0 - alpha
                    row[sx] = (r * alpha + pr * k, g * alpha + pg * k, b * alpha + pb * k, alpha + pa * k)

    def pixels(self):
        """Straight-alpha (r, g, b, a) rows, 0..255."""
        out = []
        for y in range(self.h):
            line = []
            for x in range(self.w):
                tr = tg = tb = ta = 0.0
                for sy in range(y * SS, y * SS + SS):
                    for sx in range(x * SS, x * SS + SS):
                        r, g, b, a = self.sub[sy][sx]
                        tr += r * a
                        tg += g * a
                        tb += b * a
                        ta += a
                n = SS * SS
                a = ta / n
                if a <= 0.001:
                    line.append((255, 0, 255, 0))
                else:
                    line.append((round(tr / ta), round(tg / ta), round(tb / ta), round(a * 255)))
            out.append(line)
        return out


class Pen:
    """Draws on a canvas in units of a 16-unit grid placed at (ox, oy) with scale s."""

    def __init__(self, canvas, s, ox=0.0, oy=0.0):
        self.c, self.s, self.ox, self.oy = canvas, s, ox, oy

    def p(self, x, y):
        return self.ox + x * self.s, self.oy + y * self.s

    def rect(self, x0, y0, x1, y1, colour, radius=0.0, alpha=1.0):
        (ax, ay), (bx, by) = self.p(x0, y0), self.p(x1, y1)
        r = radius * self.s

        def inside(x, y):
            if not (ax <= x <= bx and ay <= y <= by):
                return False
            dx = max(ax + r - x, 0, x - (bx - r))
            dy = max(ay + r - y, 0, y - (by - r))
            return dx * dx + dy * dy <= r * r if r > 0 else True

        self.c.fill(inside, (ax, ay, bx, by), colour, alpha)

    def framed_rect(self, x0, y0, x1, y1, fill, outline, radius=0.0, width=1.0):
        self.rect(x0, y0, x1, y1, outline, radius)
        self.rect(x0 + width, y0 + width, x1 - width, y1 - width, fill, max(0.0, radius - width))

    def ellipse(self, cx, cy, rx, ry, colour, alpha=1.0):
        (x, y), rxs, rys = self.p(cx, cy), rx * self.s, ry * self.s
        self.c.fill(lambda px, py: ((px - x) / rxs) ** 2 + ((py - y) / rys) ** 2 <= 1.0,
                    (x - rxs, y - rys, x + rxs, y + rys), colour, alpha)

    def ring(self, cx, cy, r_out, r_in, colour, start=None, end=None):
        (x, y), ro, ri = self.p(cx, cy), r_out * self.s, r_in * self.s

        def inside(px, py):
            d = math.hypot(px - x, py - y)
            if not (ri <= d <= ro):
                return False
            if start is None:
                return True
            a = math.degrees(math.atan2(y - py, px - x)) % 360  # counter-clockwise from east
            return (a - start) % 360 <= (end - start) % 360

        self.c.fill(inside, (x - ro, y - ro, x + ro, y + ro), colour)

    def poly(self, points, colour, alpha=1.0):
        pts = [self.p(x, y) for x, y in points]
        xs, ys = [q[0] for q in pts], [q[1] for q in pts]
        edges = list(zip(pts, pts[1:] + pts[:1]))

        def inside(px, py):
            hit = False
            for (x1, y1), (x2, y2) in edges:
                if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                    hit = not hit
            return hit

        self.c.fill(inside, (min(xs), min(ys), max(xs), max(ys)), colour, alpha)

    def line(self, points, width, colour):
        w = width * self.s / 2
        pts = [self.p(x, y) for x, y in points]
        for (x1, y1), (x2, y2) in zip(pts, pts[1:]):
            def inside(px, py, x1=x1, y1=y1, x2=x2, y2=y2):
                dx, dy = x2 - x1, y2 - y1
                t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - x1) * dx + (py - y1) * dy) / (dx * dx + dy * dy)))
                return math.hypot(px - (x1 + t * dx), py - (y1 + t * dy)) <= w
            self.c.fill(inside, (min(x1, x2) - w, min(y1, y2) - w, max(x1, x2) + w, max(y1, y2) + w), colour)


# ---------------------------------------------------------------- pictograms (16-unit grid)

def sheet(p, x, y, w=8, h=10, lines=True):
    p.poly([(x, y), (x + w - 2.5, y), (x + w, y + 2.5), (x + w, y + h), (x, y + h)], OUTLINE)
    p.poly([(x + 1, y + 1), (x + w - 3, y + 1), (x + w - 1, y + 3), (x + w - 1, y + h - 1), (x + 1, y + h - 1)], PAPER)
    if lines:
        for ly in range(3, h - 2, 2):
            p.rect(x + 2, y + ly, x + w - 2, y + ly + 0.8, LIGHT_GREY)


def copy(p):
    sheet(p, 1.5, 1.5, 8.5, 10)
    sheet(p, 6, 4.5, 8.5, 10)


def paste(p):
    p.framed_rect(2, 2.5, 12, 14.5, BROWN, (110, 72, 35), radius=1)
    p.framed_rect(4.5, 1, 9.5, 4, LIGHT_GREY, GREY, radius=0.8)
    sheet(p, 6.5, 6, 8, 9)


def delete(p):
    p.line([(3.5, 3.5), (12.5, 12.5)], 3.2, DARK_RED)
    p.line([(12.5, 3.5), (3.5, 12.5)], 3.2, DARK_RED)
    p.line([(3.5, 3.5), (12.5, 12.5)], 2.2, RED)
    p.line([(12.5, 3.5), (3.5, 12.5)], 2.2, RED)


def scissors(p):
    p.line([(5, 1.5), (10, 10)], 1.6, GREY)
    p.line([(11, 1.5), (6, 10)], 1.6, GREY)
    p.ring(5, 12, 3, 1.6, RED)
    p.ring(11, 12, 3, 1.6, RED)


def refresh_arrow(p, colour=GREEN, dark=DARK_GREEN):
    p.ring(8, 8.5, 6, 3.6, dark, 20, 290)
    p.ring(8, 8.5, 5.4, 4.2, colour, 22, 288)
    p.poly([(10.2, 0.8), (15.2, 5.6), (9.2, 7.4)], dark)
    p.poly([(10.9, 2.2), (13.6, 5.1), (10.2, 6.1)], colour)


def phone(p, x=4, y=1, w=8, h=14, screen=BLUE):
    p.framed_rect(x, y, x + w, y + h, (52, 56, 66), (30, 32, 38), radius=1.5)
    p.rect(x + 1.3, y + 1.6, x + w - 1.3, y + h * 0.5, screen)
    for row in range(3):
        for col in range(3):
            kx = x + 1.6 + col * (w - 3.2) / 2.6
            ky = y + h * 0.58 + row * h * 0.12
            p.rect(kx, ky, kx + (w - 3.2) / 4, ky + h * 0.07, LIGHT_GREY)


def rescan(p):
    phone(p, 1.5, 1, 7.5, 13)
    p.ring(10.5, 9.5, 4, 2.6, DARK_BLUE)
    p.ellipse(10.5, 9.5, 2.7, 2.7, (210, 230, 250), alpha=0.85)
    p.line([(13.2, 12.3), (15.2, 14.5)], 2.2, DARK_BLUE)


def plug(p, colour=GREY):
    p.rect(6.5, 10, 9.5, 15.5, (60, 64, 72))
    p.framed_rect(3.5, 4.5, 12.5, 11, colour, (50, 54, 62), radius=1.2)
    p.rect(5, 0.8, 6.8, 5, (176, 180, 186))
    p.rect(9.2, 0.8, 11, 5, (176, 180, 186))


def ports(p):
    plug(p, BLUE)


def folder(p, body=YELLOW, dark=DARK_YELLOW):
    p.poly([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 13.5), (1, 13.5)], dark)
    p.poly([(1, 6), (15, 6), (15, 13.5), (1, 13.5)], body)
    p.rect(1, 6, 15, 6.8, (250, 210, 120))


def new_folder(p):
    folder(p)
    p.rect(9.5, 6.5, 15.5, 8.5, DARK_GREEN)
    p.rect(11.5, 4.5, 13.5, 10.5, DARK_GREEN)
    p.rect(10, 7, 15, 8, GREEN)
    p.rect(12, 5, 13, 10, GREEN)


def rename(p):
    p.rect(1, 12, 10, 13, GREY)
    p.line([(4.5, 11.5), (13, 3)], 3.2, (60, 60, 60))
    p.line([(5, 11), (12.5, 3.5)], 2.2, YELLOW)
    p.line([(12.3, 3.7), (13.6, 2.4)], 2.4, (230, 120, 140))
    p.poly([(2.6, 13.4), (3.4, 10.4), (5.6, 12.6)], (60, 60, 60))


def send_file(p):
    sheet(p, 1, 1, 8.5, 11)
    p.poly([(6.5, 9.5), (11, 9.5), (11, 7), (15.5, 11.5), (11, 16), (11, 13.5), (6.5, 13.5)], DARK_BLUE)
    p.poly([(7.5, 10.5), (12, 10.5), (12, 9.4), (14.1, 11.5), (12, 13.6), (12, 12.5), (7.5, 12.5)], BLUE)


def exit_door(p):
    p.framed_rect(2, 1, 10, 15, (150, 100, 55), (100, 64, 30), radius=0.5)
    p.rect(3.5, 2.5, 8.5, 13.5, (185, 130, 75))
    p.ellipse(7.4, 8.3, 0.7, 0.7, YELLOW)
    p.poly([(8, 6.5), (11.5, 6.5), (11.5, 4), (15.5, 8), (11.5, 12), (11.5, 9.5), (8, 9.5)], DARK_GREEN)
    p.poly([(9, 7.4), (12.4, 7.4), (12.4, 6.2), (14.2, 8), (12.4, 9.8), (12.4, 8.6), (9, 8.6)], GREEN)


def select_all(p):
    for x in range(2, 14, 2):
        p.rect(x, 1.5, x + 1, 2.5, GREY)
        p.rect(x, 13.5, x + 1, 14.5, GREY)
    for y in range(2, 14, 2):
        p.rect(1.5, y, 2.5, y + 1, GREY)
        p.rect(13.5, y, 14.5, y + 1, GREY)
    p.rect(4.5, 4.5, 11.5, 11.5, BLUE, radius=0.8)


def info(p, colour=BLUE, dark=DARK_BLUE):
    p.ellipse(8, 8, 7, 7, dark)
    p.ellipse(8, 8, 6, 6, colour)
    p.ellipse(8, 4.6, 1.2, 1.2, WHITE)
    p.rect(7, 6.8, 9, 12.2, WHITE, radius=0.4)


def help_mark(p):
    p.ellipse(8, 8, 7, 7, DARK_BLUE)
    p.ellipse(8, 8, 6, 6, BLUE)
    p.ring(8, 6.3, 3, 1.6, WHITE, 300, 200)
    p.rect(7.2, 8.2, 8.8, 10.2, WHITE)
    p.ellipse(8, 12, 1.1, 1.1, WHITE)


def globe(p):
    p.ellipse(8, 8, 7, 7, DARK_BLUE)
    p.ellipse(8, 8, 6, 6, (90, 160, 230))
    p.ring(8, 8, 6, 5.2, (210, 232, 250))
    p.rect(2, 7.6, 14, 8.4, (210, 232, 250))
    p.rect(7.6, 2, 8.4, 14, (210, 232, 250))
    p.poly([(5, 4), (8, 3), (9, 6), (6.5, 7.3), (4.5, 6)], GREEN)
    p.poly([(9, 9), (12, 9.5), (11, 12.5), (9, 12)], GREEN)


def disconnect(p):
    p.rect(0.5, 7, 3, 9, (60, 64, 72))
    p.framed_rect(2.5, 4.5, 7, 11.5, BLUE, (40, 60, 110), radius=1)
    p.rect(7, 5.8, 8.5, 6.8, (150, 154, 160))
    p.rect(7, 9.2, 8.5, 10.2, (150, 154, 160))
    p.framed_rect(11.5, 4.5, 15.5, 11.5, LIGHT_GREY, GREY, radius=1)
    p.line([(7.5, 14), (11.5, 2)], 1.6, RED)


def ok_mark(p):
    p.line([(2.5, 8.5), (6.3, 12.3), (13.5, 3.8)], 3.4, DARK_GREEN)
    p.line([(2.5, 8.5), (6.3, 12.3), (13.5, 3.8)], 2.2, GREEN)


def cancel_mark(p):
    delete(p)


def gear(p, cx=8, cy=8, r=6.5, colour=GREY, dark=(60, 66, 76)):
    teeth = []
    for i in range(16):
        a = math.radians(i * 22.5 + 11.25)
        rr = r if i % 2 == 0 else r * 0.72
        teeth.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    p.poly(teeth, dark)
    inner = [((x - cx) * 0.82 + cx, (y - cy) * 0.82 + cy) for x, y in teeth]
    p.poly(inner, colour)
    p.ellipse(cx, cy, r * 0.3, r * 0.3, WHITE)


def serial_port(p, colour=DARK_BLUE):
    p.poly([(1, 4.5), (15, 4.5), (13.2, 11.5), (2.8, 11.5)], (30, 40, 60))
    p.poly([(2, 5.5), (14, 5.5), (12.5, 10.5), (3.5, 10.5)], colour)
    for i in range(5):
        p.rect(3.6 + i * 2, 6.6, 4.6 + i * 2, 7.6, WHITE)
    for i in range(4):
        p.rect(4.6 + i * 2, 8.4, 5.6 + i * 2, 9.4, WHITE)


def irda_port(p):
    p.framed_rect(1, 5, 6, 11, (70, 20, 30), (40, 10, 15), radius=1)
    p.rect(2.5, 6.5, 4.5, 9.5, RED, radius=0.5)
    for r, w in ((4.5, 1.1), (7.5, 1.1), (10.5, 1.1)):
        p.ring(4, 8, r, r - w, DARK_RED, 300, 60)


def bluetooth(p):
    p.ellipse(8, 8, 5.6, 7.4, DARK_BLUE)
    p.ellipse(8, 8, 4.8, 6.6, BLUE)
    p.line([(5.2, 5.2), (10.6, 10.4), (8, 13), (8, 3), (10.6, 5.6), (5.2, 10.8)], 1.2, WHITE)


def with_gear(draw):
    def picture(p):
        draw(p)
        small = Pen(p.c, p.s * 0.5, p.ox + 8 * p.s, p.oy + 8 * p.s)
        gear(small, colour=(120, 128, 140), dark=(40, 44, 52))
    return picture


def up_arrow(p):
    p.poly([(8, 1), (15, 8), (10.5, 8), (10.5, 15), (5.5, 15), (5.5, 8), (1, 8)], DARK_GREEN)
    p.poly([(8, 2.5), (13, 7.3), (9.6, 7.3), (9.6, 14), (6.4, 14), (6.4, 7.3), (3, 7.3)], GREEN)


def star(p):
    pts = []
    for i in range(10):
        a = math.radians(-90 + i * 36)
        r = 7.2 if i % 2 == 0 else 3.0
        pts.append((8 + r * math.cos(a), 8.6 + r * math.sin(a)))
    p.poly(pts, DARK_YELLOW)
    p.poly([((x - 8) * 0.8 + 8, (y - 8.6) * 0.8 + 8.6) for x, y in pts], YELLOW)


def program(p):
    phone(p, 3.5, 0.5, 9, 15)
    p.ellipse(12.3, 12.3, 3.6, 3.6, DARK_GREEN)
    p.ellipse(12.3, 12.3, 3, 3, GREEN)
    p.line([(10.6, 11.4), (13.8, 11.4)], 0.9, WHITE)
    p.poly([(13.3, 10.2), (14.6, 11.4), (13.3, 12.6)], WHITE)
    p.line([(10.8, 13.3), (14, 13.3)], 0.9, WHITE)
    p.poly([(11.3, 12.1), (10, 13.3), (11.3, 14.5)], WHITE)


def info_view(p):
    phone(p, 1, 1, 8, 14)
    small = Pen(p.c, p.s * 0.55, p.ox + 7.5 * p.s, p.oy + 7 * p.s)
    info(small)


# ---------------------------------------------------------------- looks and files

def draw(picture, size, grid=16.0):
    c = Canvas(size, size)
    picture(Pen(c, size / grid))
    return c.pixels()


def hot_look(px):
    return [[(r, g, b, a) if a == 0 else (min(255, r + (255 - r) * 18 // 100), min(255, g + (255 - g) * 18 // 100),
                                           min(255, b + (255 - b) * 18 // 100), a) for r, g, b, a in row] for row in px]


def disabled_look(px):
    out = []
    for row in px:
        line = []
        for r, g, b, a in row:
            if a == 0:
                line.append((r, g, b, a))
                continue
            y = (299 * r + 587 * g + 114 * b) // 1000
            y = y + (255 - y) * 40 // 100
            line.append((y, y, y, a * 60 // 100))
        out.append(line)
    return out


def strip(pictures, size, look=lambda px: px):
    rows = [[] for _ in range(size)]
    for picture in pictures:
        px = look(draw(picture, size)) if picture else [[(255, 0, 255, 0)] * size for _ in range(size)]
        for y in range(size):
            rows[y].extend(px[y])
    return rows


def bmp32(px):
    h, w = len(px), len(px[0])
    data = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b, a in px[y]:
            data += bytes((b, g, r, a))
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info_header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 32, 0, len(data), 2835, 2835, 0, 0)
    return header + info_header + bytes(data)


def ico(images):
    """Icon file of 32-bit images with their AND masks."""
    blobs = []
    for px in images:
        h, w = len(px), len(px[0])
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for r, g, b, a in px[y]:
                xor += bytes((b, g, r, a) if a else (0, 0, 0, 0))
        mask_row = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(mask_row)
            for x in range(w):
                if px[y][x][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append((w, h, header + bytes(xor) + bytes(mask)))
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for w, h, data in blobs:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in blobs:
        out += data
    return out


def port_state(plugged, greyed):
    """26 x 11: a plug on the left and a socket on the right, apart or joined."""
    c = Canvas(26, 11)
    p = Pen(c, 1.0)
    body = (120, 124, 130) if greyed else DARK_BLUE
    socket = (150, 154, 160) if greyed else GREY
    shift = 5 if plugged else 0
    p.rect(0, 4.5, 3 + shift, 6.5, (90, 94, 100) if greyed else (50, 54, 62))
    p.rect(3 + shift, 2, 9 + shift, 9, body, radius=1)
    p.rect(9 + shift, 3.5, 12 + shift, 4.5, LIGHT_GREY)
    p.rect(9 + shift, 6.5, 12 + shift, 7.5, LIGHT_GREY)
    p.rect(17, 1, 23, 10, socket, radius=1)
    p.rect(23, 4.5, 26, 6.5, (90, 94, 100) if greyed else (50, 54, 62))
    if not greyed and plugged:
        p.ellipse(20, 5.5, 1.2, 1.2, (120, 230, 120))
    return c.pixels()


def write(name, data):
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(data)


TOOLBAR = [ports, scissors, copy, paste, delete, rescan, refresh_arrow]
BUTTONS = [ok_mark, cancel_mark, info, gear, help_mark, refresh_arrow,
           serial_port, with_gear(serial_port), irda_port, with_gear(irda_port), bluetooth, with_gear(bluetooth)]
EXPLORER = [folder, info_view]
PATHLINE = [up_arrow, star, bluetooth, irda_port, serial_port]
MENU = {120: exit_door, 121: new_folder, 122: rename, 124: send_file, 203: scissors, 204: copy, 205: paste,
        206: delete, 207: select_all, 250: folder, 252: info, 253: disconnect, 303: refresh_arrow, 401: ports,
        801: globe, 802: program}

if __name__ == '__main__':
    for suffix, look in (('normal', lambda px: px), ('hot', hot_look), ('disabled', disabled_look)):
        write('toolbar_%s.bmp' % suffix, bmp32(strip(TOOLBAR, 24, look)))
        write('buttons_%s.bmp' % suffix, bmp32(strip(BUTTONS, 16, look)))
    write('explorer_normal.bmp', bmp32(strip(EXPLORER, 32)))
    write('explorer_hot.bmp', bmp32(strip(EXPLORER, 32, hot_look)))
    write('pathline_normal.bmp', bmp32(strip(PATHLINE, 16)))
    write('pathline_hot.bmp', bmp32(strip(PATHLINE[:2], 16, hot_look)))
    write('pathline_disabled.bmp', bmp32(strip(PATHLINE[:2], 16, disabled_look)))
    for command, picture in MENU.items():
        write('menu_%d.bmp' % command, bmp32(strip([picture], 16)))
    write('port_apart.ico', ico([port_state(False, False)]))
    write('port_plugged.ico', ico([port_state(True, False)]))
    write('port_greyed.ico', ico([port_state(False, True)]))
    write('program.ico', ico([draw(program, n) for n in (48, 32, 16)]))
