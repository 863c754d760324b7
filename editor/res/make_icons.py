#!/usr/bin/python3
"""Draws tvedit's icons (the program, the toolbar and the action list) as
.ico files beside this script. Run once after changing a picture; the .ico
files are committed, so the build never needs Python."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    # Shapes are given on a 16-unit grid and scaled to the canvas.
    def s(self, v):
        return v * self.size / 16.0

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(int(self.s(y0)), int(math.ceil(self.s(y1)))):
            for x in range(int(self.s(x0)), int(math.ceil(self.s(x1)))):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, fill=None):
        self.rect(x0, y0, x1, y1, colour)
        if fill:
            self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill)

    def disc(self, cx, cy, r, colour):
        for y in range(self.size):
            for x in range(self.size):
                if math.hypot(x + 0.5 - self.s(cx), y + 0.5 - self.s(cy)) <= self.s(r):
                    self.put(x, y, colour)

    def poly(self, points, colour):
        pts = [(self.s(x), self.s(y)) for x, y in points]
        for y in range(self.size):
            for x in range(self.size):
                px, py = x + 0.5, y + 0.5
                inside = False
                j = len(pts) - 1
                for i in range(len(pts)):
                    xi, yi = pts[i]
                    xj, yj = pts[j]
                    if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                        inside = not inside
                    j = i
                if inside:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1.5):
        steps = int(self.size * 2)
        for i in range(steps + 1):
            t = i / steps
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, colour)

    def bitmap(self):
        """32-bit BGRA rows bottom-up, then the AND mask."""
        n = self.size
        data = bytearray()
        for y in reversed(range(n)):
            for x in range(n):
                c = self.px[y][x]
                if c is None:
                    data += bytes((0, 0, 0, 0))
                else:
                    r, g, b = c
                    data += bytes((b, g, r, 255))
        row = ((n + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(n)):
            bits = bytearray(row)
            for x in range(n):
                if self.px[y][x] is None:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(data) + len(mask), 0, 0, 0, 0)
        return header + bytes(data) + bytes(mask)


def write_ico(name, draw, sizes):
    images = []
    for size in sizes:
        c = Canvas(size)
        draw(c)
        images.append((size, c.bitmap()))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bmp in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(bmp), offset)
        offset += len(bmp)
    for _, bmp in images:
        out += bmp
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(out)


BLACK = (40, 40, 40)
WHITE = (255, 255, 255)
PAPER = (250, 250, 240)
GREY = (128, 128, 128)
BLUE = (40, 90, 200)
GREEN = (40, 150, 60)
RED = (200, 40, 40)
YELLOW = (240, 200, 40)
ORANGE = (230, 130, 30)
PURPLE = (130, 60, 170)
TEAL = (30, 140, 150)


def page(c, fill=PAPER):
    c.frame(3, 1, 13, 15, BLACK, fill)


def page_lines(c, colour=GREY):
    for y in (4, 6, 8, 10, 12):
        c.rect(5, y, 11, y + 0.8, colour)


def arrow_right(c, colour):
    c.poly([(6, 5), (6, 11), (12, 8)], colour)


def arrow_up(c, colour):
    c.poly([(8, 2), (2, 9), (6, 9), (6, 14), (10, 14), (10, 9), (14, 9)], colour)


def arrow_down(c, colour):
    c.poly([(8, 14), (2, 7), (6, 7), (6, 2), (10, 2), (10, 7), (14, 7)], colour)


def cross(c, colour):
    c.line(4, 4, 12, 12, colour, 2.5)
    c.line(12, 4, 4, 12, colour, 2.5)


def window(c, bar=BLUE):
    c.frame(1, 2, 15, 14, BLACK, WHITE)
    c.rect(2, 3, 14, 5, bar)


def folder(c):
    c.poly([(1, 4), (6, 4), (7, 5), (15, 5), (15, 14), (1, 14)], YELLOW)
    c.rect(1, 6, 15, 7, ORANGE)


def main_icon(c):
    page(c)
    page_lines(c)
    c.poly([(7, 6), (7, 14), (14, 10)], GREEN)


def letter_q(c, colour):
    c.disc(8, 7, 5, colour)
    c.disc(8, 7, 3, WHITE)
    c.rect(7, 12, 9, 15, colour)


# Toolbar (24 x 24, also shown at 16 in menus) and the program icon.
TOOLBAR = {
    "main.ico": main_icon,
    "new.ico": lambda c: (page(c), c.disc(12, 4, 3, YELLOW)),
    "open.ico": folder,
    "save.ico": lambda c: (c.frame(2, 2, 14, 14, BLACK, BLUE), c.rect(4, 2, 12, 7, WHITE), c.rect(5, 10, 11, 14, GREY)),
    "properties.ico": lambda c: (page(c), page_lines(c, BLUE)),
    "insert.ico": lambda c: (page(c), c.rect(7, 4, 9, 12, GREEN), c.rect(4, 7, 12, 9, GREEN)),
    "delete.ico": lambda c: cross(c, RED),
    "moveup.ico": lambda c: arrow_up(c, BLUE),
    "movedown.ico": lambda c: arrow_down(c, BLUE),
    "test.ico": lambda c: (c.disc(8, 8, 7, GREEN), c.poly([(6, 4), (6, 12), (12, 8)], WHITE)),
    "about.ico": lambda c: (c.disc(8, 8, 7, BLUE), c.rect(7, 7, 9, 13, WHITE), c.rect(7, 3, 9, 5, WHITE)),
    "help.ico": lambda c: (c.disc(8, 8, 7, YELLOW), letter_q(c, BLACK)),
    "wizard.ico": lambda c: (c.line(3, 13, 11, 5, PURPLE, 2), c.disc(12, 4, 2.5, YELLOW)),
    "website.ico": lambda c: (c.disc(8, 8, 7, TEAL), c.line(1, 8, 15, 8, WHITE, 1), c.line(8, 1, 8, 15, WHITE, 1)),
}

# One per action code, 16 x 16: numbered as the resources 5200-5218.
ACTIONS = {
    5200: ("act_launch.ico", lambda c: (window(c), arrow_right(c, GREEN))),
    5201: ("act_open.ico", lambda c: (folder(c), arrow_right(c, GREEN))),
    5202: ("act_print.ico", lambda c: (c.frame(1, 6, 15, 12, BLACK, GREY), c.frame(4, 2, 12, 7, BLACK, WHITE), c.frame(4, 10, 12, 15, BLACK, WHITE))),
    5203: ("act_copy.ico", lambda c: (c.frame(1, 1, 10, 11, BLACK, PAPER), c.frame(6, 5, 15, 15, BLACK, PAPER))),
    5204: ("act_move.ico", lambda c: (page(c), c.poly([(2, 6), (2, 10), (9, 10), (9, 13), (14, 8), (9, 3), (9, 6)], ORANGE))),
    5205: ("act_delete.ico", lambda c: (page(c), cross(c, RED))),
    5206: ("act_kill.ico", lambda c: (c.disc(8, 8, 7, RED), c.rect(4, 7, 12, 9, WHITE))),
    5207: ("act_close.ico", lambda c: (window(c), cross(c, RED))),
    5208: ("act_destroy.ico", lambda c: (window(c, RED), c.line(3, 13, 13, 6, BLACK, 2))),
    5209: ("act_hide.ico", lambda c: (c.frame(1, 2, 15, 14, GREY, (220, 220, 220)), c.rect(2, 3, 14, 5, GREY))),
    5210: ("act_show.ico", lambda c: (window(c), c.disc(8, 10, 3, GREEN))),
    5211: ("act_showall.ico", lambda c: (c.frame(1, 1, 11, 10, BLACK, WHITE), c.rect(2, 2, 10, 4, BLUE), c.frame(5, 6, 15, 15, BLACK, WHITE), c.rect(6, 7, 14, 9, BLUE))),
    5212: ("act_shutdown.ico", lambda c: (c.disc(8, 8, 7, RED), c.disc(8, 9, 4, WHITE), c.disc(8, 9, 2.5, RED), c.rect(7, 2, 9, 9, WHITE))),
    5213: ("act_restart.ico", lambda c: (c.disc(8, 8, 7, GREEN), c.disc(8, 8, 4, WHITE), c.disc(8, 8, 2.5, GREEN), c.poly([(8, 1), (14, 4), (8, 7)], GREEN))),
    5214: ("act_exit.ico", lambda c: (c.frame(2, 1, 10, 15, BLACK, (150, 100, 50)), c.poly([(9, 5), (9, 11), (15, 8)], RED))),
    5215: ("act_screensaver.ico", lambda c: (c.frame(1, 2, 15, 12, BLACK, (20, 20, 80)), c.disc(5, 6, 1, YELLOW), c.disc(10, 8, 1, WHITE), c.rect(6, 12, 10, 15, GREY))),
    5216: ("act_comment.ico", lambda c: (c.line(3, 14, 8, 2, GREEN, 2), c.line(8, 14, 13, 2, GREEN, 2))),
    5217: ("act_message.ico", lambda c: (c.frame(1, 2, 15, 11, BLACK, YELLOW), c.poly([(4, 10), (4, 15), (8, 10)], BLACK))),
    5218: ("act_wait.ico", lambda c: (c.disc(8, 8, 7, BLACK), c.disc(8, 8, 6, WHITE), c.rect(7.5, 3, 8.5, 8.5, BLACK), c.rect(8, 7.5, 12, 8.5, BLACK))),
}

if __name__ == "__main__":
    for name, draw in TOOLBAR.items():
        write_ico(name, draw, (16, 24, 32) if name == "main.ico" else (16, 24))
    for _, (name, draw) in ACTIONS.items():
        write_ico(name, draw, (16,))
