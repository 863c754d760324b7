#!/usr/bin/python3
"""Writes the pictures of the menu editor's startup wizard into this folder:
dlg_startupnew.ico, dlg_startupopen.ico and dlg_startupopentv.ico, at 48x48
and 32x32, drawn with the agent's icon painter (tools/make-agent-icons).

usage: menuedit/res/dlg_make_icons.py [OUTPUT_FOLDER]
"""
import importlib.machinery
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = importlib.machinery.SourceFileLoader(
    "agent_icons", os.path.join(HERE, "..", "..", "tools", "make-agent-icons"))
_spec = importlib.util.spec_from_loader("agent_icons", _loader)
ai = importlib.util.module_from_spec(_spec)
_loader.exec_module(ai)


def sym_new(img, u, o):
    ai.sym_menu(img, u, o)
    green = (40, 150, 60, 255)
    c = o + u * 0.78
    img.disc(c, c, u * 0.2, green)
    img.rect(c - u * 0.12, c - u * 0.03, c + u * 0.12, c + u * 0.03, ai.WHITE)
    img.rect(c - u * 0.03, c - u * 0.12, c + u * 0.03, c + u * 0.12, ai.WHITE)


def sym_open(img, u, o):
    folder = (240, 200, 90, 255)
    img.rect(o + u * 0.08, o + u * 0.2, o + u * 0.42, o + u * 0.3, folder)
    img.rect(o + u * 0.08, o + u * 0.28, o + u * 0.92, o + u * 0.84, folder)
    img.rect(o + u * 0.3, o + u * 0.38, o + u * 0.7, o + u * 0.76, ai.WHITE)
    dark = (120, 60, 20, 255)
    for i in range(3):
        y = o + u * (0.46 + i * 0.1)
        img.rect(o + u * 0.36, y, o + u * 0.64, y + max(1, u * 0.05), dark)


def sym_opentv(img, u, o):
    ai.sym_tv(img, u, o)


PICTURES = {
    "dlg_startupnew.ico": ((220, 130, 40), sym_new),
    "dlg_startupopen.ico": ((200, 150, 50), sym_open),
    "dlg_startupopentv.ico": ((40, 90, 180), sym_opentv),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else HERE
    for name, (colour, sym) in PICTURES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(ai.ico_bytes([ai.icon(colour, sym, s) for s in (48, 32)]))


if __name__ == "__main__":
    main()
