#!/usr/bin/env python3
"""Draws the program icon and the three 16x16 port-image strips (kept in src/resources).

Run it again only to change the pictures; the build uses the committed files."""
import struct, os

OUT = os.path.join(os.path.dirname(__file__), '..', 'src', 'resources')
MAGENTA = (255, 0, 255)  # transparent key of the strips

def bmp24(w, h, px):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = px[y][x]
            line += bytes((b, g, r))
        line += b'\0' * (row - len(line))
        data += line
    hdr = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return hdr + info + bytes(data)

def canvas(w, h, c):
    return [[c for _ in range(w)] for _ in range(h)]

def rect(px, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = c

def serial(px, ox, body, pins):
    rect(px, ox + 2, 5, ox + 13, 10, body)
    rect(px, ox + 3, 11, ox + 12, 11, body)
    for x in (4, 6, 8, 10, 12):
        px[7][ox + x - 1] = pins
    for x in (5, 7, 9, 11):
        px[9][ox + x - 1] = pins
    rect(px, ox + 7, 1, ox + 8, 4, body)

def irda(px, ox, body, waves):
    rect(px, ox + 1, 6, ox + 4, 9, body)
    for r, c in ((6, waves), (9, waves), (12, waves)):
        for y in range(16):
            for x in range(16):
                d = ((x - 3) ** 2 + (y - 7.5) ** 2) ** 0.5
                if abs(d - r) < 0.6 and x > 4:
                    px[y][ox + x] = c

def bluetooth(px, ox, body, rune):
    for y in range(1, 15):
        for x in range(4, 12):
            if ((x - 8) / 4.2) ** 2 + ((y - 7.5) / 7) ** 2 <= 1:
                px[y][ox + x] = body
    for y in range(3, 13):
        px[y][ox + 8] = rune
    for i in range(3):
        px[3 + i][ox + 9 + min(i, 1)] = rune
        px[6 + i][ox + 10 - i] = rune
        px[9 + i][ox + 9 + min(i, 1)] = rune
        px[12 - i][ox + 10 - i] = rune
    for i in range(3):
        px[9 - i][ox + 6 + i] = rune
        px[6 + i][ox + 6 + i] = rune

STATES = [  # normal, connected, identified, switched off (three rows of four shades)
    ((90, 90, 100), (230, 230, 230)), ((40, 110, 200), (255, 255, 255)),
    ((30, 150, 60), (255, 255, 255)), ((170, 170, 170), (120, 120, 120)),
]

def strip(draw, colours):
    px = canvas(16 * 12, 16, MAGENTA)
    for i in range(12):
        body, fg = STATES[i % 4]
        if i >= 4:
            body = tuple(min(255, v + 25 * (i // 4)) for v in body)
        draw(px, i * 16, body, fg)
    return bmp24(16 * 12, 16, px)

def icon():
    def image(n):
        px = [[(0, 0, 0, 0) for _ in range(n)] for _ in range(n)]
        s = n / 32
        for y in range(n):
            for x in range(n):
                X, Y = x / s, y / s
                if 9 <= X < 23 and 2 <= Y < 30:
                    px[y][x] = (40, 40, 48, 255)
                    if 11 <= X < 21 and 5 <= Y < 19:
                        px[y][x] = (80, 170, 240, 255)
                    elif 11 <= X < 21 and 21 <= Y < 28 and int(X) % 3 != 1 and int(Y) % 3 != 2:
                        px[y][x] = (200, 200, 210, 255)
        xor = bytearray()
        for y in range(n - 1, -1, -1):
            for x in range(n):
                r, g, b, a = px[y][x]
                xor += bytes((b, g, r, a))
        mask_row = ((n + 31) // 32) * 4
        mask = bytearray()
        for y in range(n - 1, -1, -1):
            bits = 0
            row = bytearray(mask_row)
            for x in range(n):
                if px[y][x][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        hdr = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        return hdr + bytes(xor) + bytes(mask)
    imgs = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(imgs))
    offset = 6 + 16 * len(imgs)
    for n, data in zip((32, 16), imgs):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in imgs:
        out += data
    return out

with open(os.path.join(OUT, 'ports_serial.bmp'), 'wb') as f:
    f.write(strip(serial, None))
with open(os.path.join(OUT, 'ports_irda.bmp'), 'wb') as f:
    f.write(strip(irda, None))
with open(os.path.join(OUT, 'ports_bluetooth.bmp'), 'wb') as f:
    f.write(strip(bluetooth, None))
with open(os.path.join(OUT, 'program.ico'), 'wb') as f:
    f.write(icon())
