#!/usr/bin/python3
"""Writes the editor's wizard pictures beside this script: the wizard frame's
picture wiz_picture.bmp (110 x 250, a blue gradient with a page and a magic
wand) and the startup dialog's icons wiz_new.ico, wiz_open.ico, wiz_help.ico
and wiz_tut.ico (48, 32 and 16 pixels). Drawn with the agent's icon painter.

usage: wiz_pictures.py [OUTPUT_FOLDER]
"""
import importlib.machinery
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
painter = importlib.machinery.SourceFileLoader(
    "agent_icons", os.path.join(here, "..", "..", "tools", "make-agent-icons")).load_module()

W, H = 110, 250


def sym_folder(img, u, o):
    c = painter.WHITE
    img.rect(int(o + u * 0.05), int(o + u * 0.22), int(o + u * 0.45), int(o + u * 0.32), c)
    img.rect(int(o + u * 0.05), int(o + u * 0.32), int(o + u * 0.95), int(o + u * 0.85), c)


def wizard_picture():
    img = painter.Image(W, H)
    for y in range(H):
        t = y / (H - 1)
        row = (int(30 + 50 * t), int(60 + 100 * t), int(140 + 100 * t), 255)
        for x in range(W):
            img.px[y][x] = row
    tile = painter.icon((50, 110, 200), painter.sym_page, 48)
    painter.paste(img, tile, (W - 48) // 2, 40)
    wand = painter.icon((150, 70, 170), painter.sym_wand, 32)
    painter.paste(img, wand, W // 2 + 4, 76)
    return img


ICONS = {
    "wiz_new": ((50, 110, 200), painter.sym_page),
    "wiz_open": ((220, 160, 40), sym_folder),
    "wiz_help": ((30, 120, 200), painter.sym_question),
    "wiz_tut": ((40, 150, 80), painter.sym_star),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else here
    for name, (colour, sym) in ICONS.items():
        with open(os.path.join(out, name + ".ico"), "wb") as f:
            f.write(painter.ico_bytes([painter.icon(colour, sym, s) for s in (48, 32, 16)]))
    with open(os.path.join(out, "wiz_picture.bmp"), "wb") as f:
        f.write(painter.bmp_bytes(wizard_picture()))


if __name__ == "__main__":
    main()
