#!/usr/bin/env python3
"""Draws the welcome picture (480 x 360 PNG) and the closing sound (a short
WAVE chirp) into resources/app. Plain Python, no imaging library."""
import math
import os
import struct
import sys
import wave
import zlib

W, H = 480, 360


def ean13_modules(digits12):
    """The 95 modules of an EAN-13 symbol, 1 for a bar."""
    l_codes = ["0001101", "0011001", "0010011", "0111101", "0100011",
               "0110001", "0101111", "0111011", "0110111", "0001011"]
    g_codes = ["".join("1" if c == "0" else "0" for c in reversed(code)) for code in l_codes]
    r_codes = ["".join("1" if c == "0" else "0" for c in code) for code in l_codes]
    parity = ["LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
              "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"]
    d = [int(c) for c in digits12]
    check = (10 - sum(x * (3 if i % 2 else 1) for i, x in enumerate(d)) % 10) % 10
    d.append(check)
    bits = "101"
    for i, x in enumerate(d[1:7]):
        bits += (l_codes if parity[d[0]][i] == "L" else g_codes)[x]
    bits += "01010"
    for x in d[7:]:
        bits += r_codes[x]
    bits += "101"
    return [int(b) for b in bits], "".join(map(str, d))


def picture():
    px = [[(0, 0, 0)] * W for _ in range(H)]
    # Night-blue ground, lighter towards the top left.
    for y in range(H):
        for x in range(W):
            t = (x / W + y / H) / 2
            px[y][x] = (int(18 + 30 * (1 - t)), int(32 + 46 * (1 - t)), int(70 + 90 * (1 - t)))
    # A white label card with a symbol on it.
    cx0, cy0, cx1, cy1 = 120, 110, 360, 300
    for y in range(cy0, cy1):
        for x in range(cx0, cx1):
            px[y][x] = (250, 250, 246)
    modules, _ = ean13_modules("590123412345")
    module, left, top, bottom = 2, 145, 130, 270
    guards = set(list(range(0, 3)) + list(range(45, 50)) + list(range(92, 95)))
    for i, bar in enumerate(modules):
        if not bar:
            continue
        end = bottom + (10 if i in guards else 0)
        for y in range(top, end):
            for x in range(left + i * module, left + (i + 1) * module):
                px[y][x] = (20, 20, 24)
    # The red scan line across the card, with a soft glow.
    for y in range(196, 210):
        glow = 1 - abs(y - 203) / 7
        for x in range(100, 380):
            r, g, b = px[y][x]
            a = 0.85 * glow * glow
            px[y][x] = (int(r + (255 - r) * a), int(g * (1 - a) + 30 * a), int(b * (1 - a) + 30 * a))
    # Corner crop marks of the card.
    for (x, y, dx, dy) in ((cx0, cy0, -1, -1), (cx1, cy0, 1, -1), (cx0, cy1, -1, 1), (cx1, cy1, 1, 1)):
        for k in range(6, 22):
            px[y][x + dx * k] = (230, 230, 230)
            px[y + dy * k][x] = (230, 230, 230)
    return px


def write_png(path, px):
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in px)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def write_chirp(path, rate=22050, seconds=0.45):
    """A rising sine chirp, 440 to 1320 Hz, faded in and out."""
    n = int(rate * seconds)
    frames = bytearray()
    phase = 0.0
    for i in range(n):
        t = i / n
        freq = 440 + 880 * t * t
        phase += 2 * math.pi * freq / rate
        envelope = min(1.0, i / (0.02 * rate)) * (1 - t) ** 1.5
        frames += struct.pack("<h", int(12000 * envelope * math.sin(phase)))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "app")
    write_png(os.path.join(out, "splash.png"), picture())
    write_chirp(os.path.join(out, "ElephantSound.wav"))
