#!/usr/bin/env python3
"""Draws the program's bitmaps and cursors as SVG into resources/art/ and writes resources/art.qrc.

One style for everything: rounded shapes, a thin dark outline, a bright palette and bold
Liberation Sans labels. Buttons come in states: up (raised), down (pressed: shifted and darker),
focus (a gold ring) and disabled (greyed). Run it again after changing a drawing:
    python3 scripts/make_art.py
"""

import math
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "resources", "art")

INK = "#2d3047"  # the dark outline and label colour
FONT = "Liberation Sans"

RED = "#ff6b6b"
ORANGE = "#ffa94d"
YELLOW = "#ffd43b"
LIME = "#a9e34b"
GREEN = "#51cf66"
TEAL = "#38d9a9"
SKY = "#74c0fc"
BLUE = "#4dabf7"
INDIGO = "#748ffc"
PURPLE = "#b197fc"
PINK = "#f783ac"
WHITE = "#ffffff"
CREAM = "#fff6e0"
BROWN = "#c08552"

# Per unit: button face, accent (number badge, frames).
TILES = {"face": "#ffe4c4", "accent": "#ff8c3a"}
PATTERNS = {"face": "#e9e0ff", "accent": "#8a63e8"}
STATS = {"face": "#d6f5dc", "accent": "#2fa866"}

FOCUS_RING = "#ffb000"
PRESSED = "#6f84a6"  # mixed into a pressed button's face


# --- colour handling ------------------------------------------------------------------------

def _rgb(hexcol):
    h = hexcol.lstrip("#")
    return int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16)


def _hex(r, g, b):
    return "#%02x%02x%02x" % tuple(max(0, min(255, int(round(v)))) for v in (r, g, b))


def darker(hexcol, f=0.85):
    r, g, b = _rgb(hexcol)
    return _hex(r * f, g * f, b * f)


def mix(a, b, f):
    ra, ga, ba = _rgb(a)
    rb, gb, bb = _rgb(b)
    return _hex(ra + (rb - ra) * f, ga + (gb - ga) * f, ba + (bb - ba) * f)


def lighter(hexcol, f=0.5):
    r, g, b = _rgb(hexcol)
    return _hex(r + (255 - r) * f, g + (255 - g) * f, b + (255 - b) * f)


class Mode:
    """How colours of the drawing in progress are shown: normal, pressed or greyed."""
    current = "normal"


def c(col):
    if col is None or col == "none" or not col.startswith("#"):
        return col or "none"
    if Mode.current == "disabled":
        r, g, b = _rgb(col)
        lum = 0.3 * r + 0.59 * g + 0.11 * b
        v = 150 + lum * 0.36
        return _hex(v, v, v)
    if Mode.current == "down":
        return darker(col, 0.95)
    return col


# --- SVG building -----------------------------------------------------------------------------

def _num(v):
    if isinstance(v, float):
        s = ("%.2f" % v).rstrip("0").rstrip(".")
        return "0" if s == "-0" else s
    return str(v)


def _pts(points):
    return " ".join("%s,%s" % (_num(x), _num(y)) for x, y in points)


def _style(fill, stroke, sw, extra=""):
    s = 'fill="%s"' % c(fill)
    if stroke:
        cap = "" if "stroke-linecap" in extra else ' stroke-linecap="round"'
        s += ' stroke="%s" stroke-width="%s" stroke-linejoin="round"%s' % (c(stroke), _num(sw), cap)
    return s + extra


class Svg:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.parts = []

    def add(self, s):
        self.parts.append(s)

    def rect(self, x, y, w, h, r=0, fill=WHITE, stroke=INK, sw=1.5, extra=""):
        self.add('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" ry="%s" %s/>' % (
            _num(x), _num(y), _num(w), _num(h), _num(r), _num(r), _style(fill, stroke, sw, extra)))

    def circle(self, cx, cy, r, fill=WHITE, stroke=INK, sw=1.5, extra=""):
        self.add('<circle cx="%s" cy="%s" r="%s" %s/>' % (
            _num(cx), _num(cy), _num(r), _style(fill, stroke, sw, extra)))

    def ellipse(self, cx, cy, rx, ry, fill=WHITE, stroke=INK, sw=1.5, extra=""):
        self.add('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" %s/>' % (
            _num(cx), _num(cy), _num(rx), _num(ry), _style(fill, stroke, sw, extra)))

    def poly(self, points, fill=WHITE, stroke=INK, sw=1.5, extra=""):
        self.add('<polygon points="%s" %s/>' % (_pts(points), _style(fill, stroke, sw, extra)))

    def polyline(self, points, stroke=INK, sw=1.5, extra=""):
        self.add('<polyline points="%s" %s/>' % (_pts(points), _style("none", stroke, sw, extra)))

    def line(self, x1, y1, x2, y2, stroke=INK, sw=1.5, extra=""):
        self.add('<line x1="%s" y1="%s" x2="%s" y2="%s" %s/>' % (
            _num(x1), _num(y1), _num(x2), _num(y2), _style("none", stroke, sw, extra)))

    def path(self, d, fill=WHITE, stroke=INK, sw=1.5, extra=""):
        self.add('<path d="%s" %s/>' % (d, _style(fill, stroke, sw, extra)))

    def text(self, x, y, s, size, fill=INK, anchor="middle", weight="bold"):
        s = s.replace("&", "&amp;").replace("<", "&lt;")
        self.add('<text x="%s" y="%s" font-family="%s" font-size="%s" font-weight="%s" '
                 'text-anchor="%s" fill="%s">%s</text>' % (
                     _num(x), _num(y), FONT, _num(size), weight, anchor, c(fill), s))

    def lines(self, x, cy, rows, size, fill=INK, anchor="middle", gap=1.15):
        """Text rows centred vertically on cy (baselines set from the font size)."""
        n = len(rows)
        first = cy - (n - 1) * size * gap / 2 + size * 0.36
        for i, row in enumerate(rows):
            self.text(x, first + i * size * gap, row, size, fill, anchor)

    def begin(self, transform):
        self.add('<g transform="%s">' % transform)

    def end(self):
        self.add("</g>")

    def render(self):
        head = ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
                'width="%d" height="%d" viewBox="0 0 %d %d">\n' % (self.w, self.h, self.w, self.h))
        return head + "\n".join(self.parts) + "\n</svg>\n"


def regpoly(cx, cy, r, n, rot=-90.0):
    return [(cx + r * math.cos(math.radians(rot + 360.0 * i / n)),
             cy + r * math.sin(math.radians(rot + 360.0 * i / n))) for i in range(n)]


def arc_path(cx, cy, r, a0, a1):
    """Open arc from angle a0 to a1 (degrees, y down, clockwise positive)."""
    x0, y0 = cx + r * math.cos(math.radians(a0)), cy + r * math.sin(math.radians(a0))
    x1, y1 = cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1))
    large = 1 if abs(a1 - a0) > 180 else 0
    sweep = 1 if a1 > a0 else 0
    return "M%s,%s A%s,%s 0 %d %d %s,%s" % (_num(x0), _num(y0), _num(r), _num(r), large, sweep,
                                            _num(x1), _num(y1))


def pie_path(cx, cy, r, a0, a1):
    return "M%s,%s L%s Z" % (_num(cx), _num(cy), arc_path(cx, cy, r, a0, a1)[1:])


# --- buttons ----------------------------------------------------------------------------------

STATES = ("up", "down", "focus", "disabled")


def button(w, h, state, face, content, radius=8, depth=3, sw=1.5):
    """A raised rounded button; content(svg) draws on the up face whose top-left is (0, 0)."""
    Mode.current = {"down": "down", "disabled": "disabled"}.get(state, "normal")
    svg = Svg(w, h)
    m = sw / 2.0
    fw, fh = w - 2 * m, h - 2 * m - depth
    if state == "down":
        svg.rect(m, m + depth, fw, fh, radius, fill=mix(face, PRESSED, 0.2), stroke=INK, sw=sw)
        svg.add('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" ry="%s" fill="none" '
                'stroke="%s" stroke-opacity="0.25" stroke-width="%s"/>' % (
                    _num(m + sw), _num(m + depth + sw), _num(fw - 2 * sw), _num(fh - 2 * sw),
                    _num(max(radius - sw, 1)), _num(max(radius - sw, 1)), c(INK), _num(sw)))
        svg.begin("translate(0,%s)" % _num(depth))
    else:
        svg.rect(m, m + depth, fw, fh, radius, fill=darker(face, 0.62), stroke=INK, sw=sw)
        svg.rect(m, m, fw, fh, radius, fill=face, stroke=INK, sw=sw)
        svg.add('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" ry="%s" fill="#ffffff" '
                'fill-opacity="0.45"/>' % (_num(m + sw * 1.5), _num(m + sw * 1.5),
                                           _num(fw - 3 * sw), _num(fh * 0.42),
                                           _num(max(radius - sw, 1)), _num(max(radius - sw, 1))))
        svg.begin("translate(0,0)")
    content(svg)
    svg.end()
    if state == "focus":
        inset = m + sw + 1.5
        svg.rect(inset, inset, w - 2 * inset, h - depth - 2 * inset, max(radius - 2, 2),
                 fill="none", stroke=FOCUS_RING, sw=2.5)
    Mode.current = "normal"
    return svg


# --- small pictures used in several places ----------------------------------------------------

def hex_patch(svg, cx, cy, r, cols, sw=1.5):
    """Seven hexagons in a honeycomb."""
    dx = r * math.sqrt(3)
    centres = [(0, 0), (dx, 0), (-dx, 0), (dx / 2, 1.5 * r), (-dx / 2, 1.5 * r),
               (dx / 2, -1.5 * r), (-dx / 2, -1.5 * r)]
    for i, (x, y) in enumerate(centres):
        svg.poly(regpoly(cx + x, cy + y, r, 6, -90), fill=cols[i % len(cols)], sw=sw)


def machine(svg, x, y, w, h, body, label, label_size=None, sw=1.5):
    """A number machine: hopper on top, body with a display, chute out of the right side."""
    hw = w * 0.42
    svg.poly([(x + w * 0.12, y), (x + w * 0.12 + hw, y), (x + w * 0.12 + hw * 0.72, y + h * 0.3),
              (x + w * 0.12 + hw * 0.28, y + h * 0.3)], fill=lighter(body, 0.45), sw=sw)
    svg.rect(x + w * 0.78, y + h * 0.62, w * 0.22, h * 0.22, 2, fill=lighter(body, 0.45), sw=sw)
    svg.rect(x, y + h * 0.26, w * 0.84, h * 0.74, min(w, h) * 0.12, fill=body, sw=sw)
    dw, dh = w * 0.6, h * 0.34
    svg.rect(x + w * 0.12, y + h * 0.38, dw, dh, 3, fill=WHITE, sw=sw * 0.8)
    svg.text(x + w * 0.12 + dw / 2, y + h * 0.38 + dh / 2 + (label_size or dh * 0.8) * 0.36,
             label, label_size or dh * 0.8)
    svg.circle(x + w * 0.2, y + h * 0.87, h * 0.05, fill=RED, sw=sw * 0.7)
    svg.circle(x + w * 0.34, y + h * 0.87, h * 0.05, fill=YELLOW, sw=sw * 0.7)


def card(svg, x, y, w, h, label, fill=YELLOW, size=None, sw=1.5):
    svg.rect(x, y, w, h, 3, fill=fill, sw=sw)
    s = size or h * 0.62
    svg.text(x + w / 2, y + h / 2 + s * 0.36, label, s)


def bars(svg, x, base, width, gap, heights, cols, sw=1.5):
    for i, hgt in enumerate(heights):
        bx = x + i * (width + gap)
        svg.rect(bx, base - hgt, width, hgt, 1.5, fill=cols[i % len(cols)], sw=sw)


def axes(svg, x, y, w, h, sw=1.5):
    svg.polyline([(x, y), (x, y + h), (x + w, y + h)], sw=sw)


def pie(svg, cx, cy, r, fractions, cols, sw=1.5):
    a = -90.0
    for i, f in enumerate(fractions):
        b = a + 360.0 * f
        svg.path(pie_path(cx, cy, r, a, b), fill=cols[i % len(cols)], sw=sw)
        a = b


def face_kid(svg, cx, cy, r, skin, hair, shirt, sw=1.5):
    svg.circle(cx, cy + r * 1.55, r * 1.05, fill=shirt, sw=sw)
    svg.circle(cx, cy, r, fill=skin, sw=sw)
    svg.path("M%s,%s Q%s,%s %s,%s" % (_num(cx - r * 0.95), _num(cy - r * 0.15), _num(cx),
                                       _num(cy - r * 1.55), _num(cx + r * 0.95),
                                       _num(cy - r * 0.15)), fill=hair, sw=sw)
    svg.circle(cx - r * 0.36, cy + r * 0.12, r * 0.11, fill=INK, stroke=None)
    svg.circle(cx + r * 0.36, cy + r * 0.12, r * 0.11, fill=INK, stroke=None)
    svg.path(arc_path(cx, cy + r * 0.2, r * 0.45, 30, 150), fill="none", sw=sw * 0.9)


def star(svg, cx, cy, r, fill=YELLOW, sw=1.5):
    pts = []
    for i in range(10):
        rr = r if i % 2 == 0 else r * 0.45
        a = math.radians(-90 + 36 * i)
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    svg.poly(pts, fill=fill, sw=sw)


def arrow_right(svg, x, y, w, h, fill, sw=1.5):
    """A fat arrow pointing right in the box (x, y, w, h)."""
    t = h * 0.28
    svg.poly([(x, y + h / 2 - t), (x + w * 0.55, y + h / 2 - t), (x + w * 0.55, y),
              (x + w, y + h / 2), (x + w * 0.55, y + h), (x + w * 0.55, y + h / 2 + t),
              (x, y + h / 2 + t)], fill=fill, sw=sw)


def magnifier(svg, cx, cy, r, sw=1.5):
    a = math.radians(45)
    x0, y0 = cx + r * math.cos(a), cy + r * math.sin(a)
    svg.line(x0, y0, x0 + r * 0.9, y0 + r * 0.9, stroke=INK, sw=r * 0.55)
    svg.line(x0 + r * 0.1, y0 + r * 0.1, x0 + r * 0.85, y0 + r * 0.85, stroke=BROWN, sw=r * 0.3)
    svg.circle(cx, cy, r, fill=lighter(SKY, 0.45), sw=sw * 1.4)
    svg.path(arc_path(cx, cy, r * 0.62, 200, 260), fill="none", stroke=WHITE, sw=sw * 1.2)


def pencil(svg, x0, y0, x1, y1, width, body=YELLOW, sw=1.5):
    """A pencil from its tip (x0, y0) to its end (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    ln = math.hypot(dx, dy)
    ux, uy = dx / ln, dy / ln
    nx, ny = -uy * width / 2, ux * width / 2
    tip = ln * 0.22
    bx, by = x0 + ux * tip, y0 + uy * tip
    ex, ey = x1 - ux * width * 0.5, y1 - uy * width * 0.5
    svg.poly([(bx + nx, by + ny), (ex + nx, ey + ny), (ex - nx, ey - ny), (bx - nx, by - ny)],
             fill=body, sw=sw)
    svg.poly([(ex + nx, ey + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (ex - nx, ey - ny)],
             fill=PINK, sw=sw)
    svg.poly([(x0, y0), (bx + nx, by + ny), (bx - nx, by - ny)], fill="#f5d6a8", sw=sw)
    svg.poly([(x0, y0), (x0 + ux * tip * 0.4 + nx * 0.4, y0 + uy * tip * 0.4 + ny * 0.4),
              (x0 + ux * tip * 0.4 - nx * 0.4, y0 + uy * tip * 0.4 - ny * 0.4)], fill=INK,
             stroke=INK, sw=sw * 0.6)


def badge(svg, cx, cy, r, n, accent):
    svg.circle(cx, cy, r, fill=accent, sw=1.5)
    svg.text(cx, cy + r * 0.42, str(n), r * 1.2, fill=WHITE)


# --- the main menu ----------------------------------------------------------------------------

MAIN_W, MAIN_H = 220, 170


def main_button(label_rows, picture):
    def draw(svg):
        picture(svg)
        svg.rect(14, 118, MAIN_W - 28, 42, 10, fill=WHITE, sw=1.5)
        svg.lines(MAIN_W / 2, 139, label_rows, 16, gap=1.1)
    return draw


def pic_tiles(svg):
    hex_patch(svg, 110, 62, 17, [YELLOW, ORANGE, TEAL, ORANGE, SKY, PINK, LIME])
    for x, y, rot, col in ((40, 38, -90, RED), (180, 38, -90, BLUE),
                           (40, 88, 90, GREEN), (180, 88, 90, PURPLE)):
        svg.poly(regpoly(x, y, 17, 3, rot), fill=col)


def pic_patterns(svg):
    machine(svg, 62, 16, 92, 90, PURPLE, "+2", 22)
    card(svg, 22, 24, 32, 28, "3", YELLOW, 19)
    svg.path("M40,56 Q44,76 62,72", fill="none", sw=1.5, extra=' stroke-dasharray="3,3"')
    card(svg, 164, 82, 32, 28, "5", YELLOW, 19)
    star(svg, 186, 30, 9, PINK, 1.3)
    star(svg, 170, 52, 5, SKY, 1.1)


def pic_stats(svg):
    axes(svg, 24, 16, 104, 90)
    bars(svg, 36, 106, 18, 7, [46, 78, 30, 60], [RED, YELLOW, GREEN, BLUE])
    pie(svg, 170, 58, 32, [0.45, 0.3, 0.25], [ORANGE, TEAL, PINK])


def view_intro(svg):
    svg.rect(12, 9, 38, 27, 4, fill=INK, sw=1.5)
    svg.rect(15, 12, 32, 21, 2, fill=SKY, stroke=None)
    svg.poly([(26, 16), (26, 29), (37, 22.5)], fill=YELLOW, sw=1.2)
    svg.line(24, 40, 38, 40, sw=2)
    svg.text(102, 29, "View Intro", 17)


def demo_instructions(svg):
    svg.path("M12,12 h14 a4,4 0 0 1 4,4 v23 a4,4 0 0 0 -4,-4 h-14 Z", fill=SKY)
    svg.path("M48,12 h-14 a4,4 0 0 0 -4,4 v23 a4,4 0 0 1 4,-4 h14 Z", fill=WHITE)
    for y in (18, 23, 28):
        svg.line(34, y, 44, y, sw=1.2)
    svg.lines(113, 23, ["Demonstration", "Instructions"], 14)


def unit_menu_button(icon, rows):
    def draw(svg):
        icon(svg)
        svg.lines(96, 23, rows, 15 if len(rows) == 1 else 14)
    return draw


def icon_explore(svg):
    magnifier(svg, 24, 19, 11)


def icon_make(svg):
    pencil(svg, 14, 38, 38, 10, 9)
    star(svg, 36, 32, 8, YELLOW, 1.2)


def icon_solve(svg):
    svg.circle(25, 22, 15, fill=GREEN)
    svg.polyline([(17, 22), (23, 29), (33, 15)], stroke=WHITE, sw=4)


# --- investigation buttons --------------------------------------------------------------------

INV_W, INV_H = 150, 130


def investigation(unit, n, rows, motif):
    def draw(svg):
        motif(svg)
        badge(svg, 22, 22, 15, n, unit["accent"])
        svg.lines(INV_W / 2, 106, rows, 13)
    return draw


# Tiles and Tessellations: tiles and polygons. The motif area is about (40..142, 8..84).

def tiles1(svg):
    cols = [YELLOW, ORANGE, TEAL, SKY]
    side, h = 24, 24 * math.sqrt(3) / 2
    for row in range(3):
        y = 12 + row * h
        x0 = 46 + (row % 2) * side / 2
        for i in range(4):
            x = x0 + i * side - (row % 2) * side
            if x >= 44:
                svg.poly([(x, y + h), (x + side, y + h), (x + side / 2, y)],
                         fill=cols[(i + row) % 4], sw=1.3)
            if i < 3:
                svg.poly([(x + side / 2, y), (x + side * 1.5, y), (x + side, y + h)],
                         fill=cols[(i + row + 2) % 4], sw=1.3)
    magnifier(svg, 118, 62, 11)


def tiles2(svg):
    svg.poly([(50, 80), (134, 80), (98, 18)], fill=SKY)
    svg.path(pie_path(50, 80, 26, -59.7, 0), fill=YELLOW, stroke=INK, sw=1.2)
    svg.path(pie_path(134, 80, 18, 180, 239.4), fill=PINK, stroke=INK, sw=1.2)
    svg.poly([(50, 80), (134, 80), (98, 18)], fill="none")
    svg.rect(104, 14, 34, 18, 5, fill=WHITE, sw=1.2)
    svg.text(121, 28, "60\u00b0", 13)


def tiles3(svg):
    s = 19
    cols = [TEAL, YELLOW, ORANGE, SKY]
    for row in range(3):
        for col in range(4):
            x = 44 + col * s + (2 - row) * 8
            y = 14 + row * s
            svg.poly([(x, y + s), (x + s, y + s), (x + s + 8, y), (x + 8, y)],
                     fill=cols[(row + col) % 4], sw=1.3)
    x, y = 44 + s + 8, 14 + s
    svg.poly([(x, y + s), (x + 2 * s, y + s), (x + 2 * s + 8, y), (x + 8, y)], fill="none",
             stroke=RED, sw=3.5)


def tiles4(svg):
    svg.poly(regpoly(84, 50, 24, 6, 0), fill=YELLOW)
    svg.poly([(108, 50), (96, 29.2), (120, 29.2)], fill=TEAL)
    svg.poly([(108, 50), (96, 70.8), (120, 70.8)], fill=ORANGE)
    star(svg, 130, 18, 9, PINK, 1.2)
    star(svg, 56, 76, 6, SKY, 1.2)


def tiles5(svg):
    svg.line(66, 76, 58, 86, sw=3)
    svg.line(118, 76, 126, 86, sw=3)
    svg.rect(50, 10, 84, 68, 5, fill=BROWN)
    svg.rect(57, 17, 70, 54, 2, fill=WHITE, sw=1.2)
    hex_patch(svg, 92, 44, 9.5, [YELLOW, TEAL, ORANGE, PINK, SKY, LIME, PURPLE], sw=1.2)
    svg.poly([(124, 60), (118, 84), (126, 78), (132, 86), (134, 62)], fill=RED, sw=1.2)
    svg.circle(129, 58, 9, fill=YELLOW, sw=1.4)
    star(svg, 129, 58, 5, ORANGE, 1)


# Patterns: number machines, cards and codes.

def patterns1(svg):
    machine(svg, 64, 20, 56, 56, PURPLE, "+3", 15)
    card(svg, 46, 12, 22, 22, "A", WHITE, 15)
    card(svg, 118, 60, 22, 22, "D", WHITE, 15)
    svg.path("M57,36 Q58,46 70,44", fill="none", sw=1.4)


def patterns2(svg):
    cols = [RED, ORANGE, YELLOW, GREEN, BLUE, PURPLE]
    cx, cy = 92, 47
    for i in range(6):
        a = math.radians(-90 + 60 * i)
        b = math.radians(-90 + 60 * i + 30)
        c2 = math.radians(-90 + 60 * i - 30)
        pts = [(cx, cy), (cx + 21 * math.cos(b), cy + 21 * math.sin(b)),
               (cx + 36 * math.cos(a), cy + 36 * math.sin(a)),
               (cx + 21 * math.cos(c2), cy + 21 * math.sin(c2))]
        svg.poly(pts, fill=cols[i], sw=1.3)
    svg.circle(cx, cy, 4, fill=WHITE, sw=1.2)
    svg.path(arc_path(cx, cy, 42, -20, 25), fill="none", sw=1.6)
    svg.poly([(cx + 42 * math.cos(math.radians(25)) - 5, cy + 42 * math.sin(math.radians(25)) - 2),
              (cx + 42 * math.cos(math.radians(25)) + 4, cy + 42 * math.sin(math.radians(25)) - 5),
              (cx + 42 * math.cos(math.radians(25)) + 1, cy + 42 * math.sin(math.radians(25)) + 5)],
             fill=INK, sw=1)


def patterns3(svg):
    machine(svg, 62, 18, 60, 60, PURPLE, "\u00d72", 16)
    card(svg, 44, 10, 24, 22, "4", YELLOW, 15)
    card(svg, 118, 62, 24, 22, "8", YELLOW, 15)


def patterns4(svg):
    machine(svg, 44, 10, 44, 44, PURPLE, "+1", 12)
    machine(svg, 92, 40, 44, 44, PINK, "\u00d73", 12)
    svg.polyline([(88, 43), (98, 43), (101, 40)], stroke=INK, sw=3)
    svg.polyline([(88, 43), (98, 43), (101, 40)], stroke=YELLOW, sw=1.5)


def patterns5(svg):
    machine(svg, 56, 20, 62, 60, PURPLE, "?", 20)
    card(svg, 40, 10, 22, 22, "6", YELLOW, 15)
    card(svg, 114, 64, 26, 20, "11", YELLOW, 13)
    magnifier(svg, 126, 24, 10)


# Statistics: bar charts, plots and pies.

def stats1(svg):
    axes(svg, 48, 12, 92, 68)
    bars(svg, 56, 80, 16, 6, [40, 60, 28, 50], [RED, YELLOW, GREEN, BLUE])


def stats2(svg):
    axes(svg, 46, 8, 96, 64)
    stack = [1, 3, 5, 4, 2, 1]
    for i, k in enumerate(stack):
        for j in range(k):
            svg.circle(56 + i * 15, 66 - j * 11, 5, fill=TEAL, sw=1.2)
    for i in range(6):
        svg.text(56 + i * 15, 83, str(i + 1), 9)
    svg.line(92, 10, 92, 72, stroke=RED, sw=2, extra=' stroke-dasharray="4,3"')


def stats3(svg):
    pie(svg, 74, 46, 30, [0.4, 0.25, 0.2, 0.15], [ORANGE, SKY, PINK, LIME])
    svg.rect(112, 18, 30, 56, 4, fill=WHITE, sw=1.3)
    for i, col in enumerate((ORANGE, SKY, PINK, LIME)):
        svg.rect(117, 24 + i * 12, 8, 8, 1.5, fill=col, sw=1)
        svg.line(129, 28 + i * 12, 137, 28 + i * 12, sw=1.4)


def stats4(svg):
    axes(svg, 44, 18, 70, 62)
    bars(svg, 52, 80, 13, 5, [26, 48, 36], [INDIGO, ORANGE, TEAL])
    svg.path("M112,8 h26 a6,6 0 0 1 6,6 v18 a6,6 0 0 1 -6,6 h-10 l-8,8 v-8 h-8 a6,6 0 0 1 -6,-6 "
             "v-18 a6,6 0 0 1 6,-6 Z", fill=WHITE, sw=1.4)
    svg.text(125, 31, "?", 22, fill=RED)


def stats5(svg):
    face_kid(svg, 62, 36, 13, "#f1c27d", BROWN, BLUE)
    face_kid(svg, 92, 30, 13, "#c68642", "#4a3b2a", PINK)
    face_kid(svg, 122, 36, 13, "#ffdbac", "#e8b04b", GREEN)
    svg.rect(46, 66, 92, 18, 4, fill=WHITE, sw=1.3)
    bars(svg, 54, 81, 10, 6, [8, 12, 6, 10, 13], [RED, YELLOW, GREEN, BLUE, PINK], sw=1)


# --- workspace buttons ------------------------------------------------------------------------

def back_arrow(svg):
    svg.path("M10,20 L22,8 L22,14 L31,14 A9,9 0 0 1 31,32 L27,32 L27,26 L30,26 A3,3 0 0 0 30,20 "
             "L22,20 L22,32 Z", fill=ORANGE, sw=1.5)


def broom(svg):
    svg.line(36, 5, 24, 23, stroke=INK, sw=4.5)
    svg.line(36, 5, 24, 23, stroke=BROWN, sw=2.5)
    svg.path("M17,20 L29,27 L24,36 Q15,37 9,31 Z", fill=YELLOW, sw=1.5)
    svg.rect(18, 19.5, 13, 6, 2, fill=RED, sw=1.2, extra=' transform="rotate(30 24.5 22.5)"')
    for x, y in ((13, 33), (17, 35), (21, 36)):
        svg.line(x, y - 5, x + 1, y, stroke=darker(ORANGE, 0.8), sw=1)
    star(svg, 39, 30, 4, SKY, 1)
    star(svg, 8, 12, 3, PINK, 1)


def tries_dots(svg, cx, y, left):
    for i in range(3):
        x = cx + (i - 1) * 11
        svg.circle(x, y, 3.5, fill=YELLOW if i < left else WHITE, sw=1.2)


def check_button(left):
    def draw(svg):
        svg.circle(22, 19, 13, fill=GREEN)
        svg.polyline([(15, 19), (20, 25), (29, 13)], stroke=WHITE, sw=3.5)
        svg.text(76, 21, "Check", 17)
        tries_dots(svg, 76, 29.5, left)
    return draw


def continue_button(svg):
    svg.text(50, 25, "Continue", 16)
    svg.circle(101, 19, 11.5, fill=SKY)
    arrow_right(svg, 93, 12.5, 16, 13, WHITE, 1.2)


def view_solution(svg):
    svg.circle(22, 16, 10, fill=YELLOW)
    svg.rect(17, 25, 10, 7, 2, fill="#c9c9c9", sw=1.2)
    svg.path("M18.5,19 L21,14 L23,18 L25.5,13", fill="none", stroke=ORANGE, sw=1.4)
    for a in (-150, -90, -30):
        r = math.radians(a)
        svg.line(22 + 13 * math.cos(r), 16 + 13 * math.sin(r), 22 + 16 * math.cos(r),
                 16 + 16 * math.sin(r), sw=1.4)
    svg.lines(78, 19, ["View", "Solution"], 14)


# --- photos -----------------------------------------------------------------------------------

PHOTO_BLUE = "#61bfff"  # the workspace's and a photo's background


def little_photo(svg, x, y, w, h, sw=1.2):
    """A photo: light blue with a triangle and a square on it, in a white border."""
    svg.rect(x, y, w, h, 1.5, fill=WHITE, sw=sw)
    b = max(w, h) * 0.09
    svg.rect(x + b, y + b, w - 2 * b, h - 2 * b, 0.5, fill=PHOTO_BLUE, stroke=None)
    iw, ih = w - 2 * b, h - 2 * b
    svg.poly([(x + b + iw * 0.12, y + b + ih * 0.85), (x + b + iw * 0.48, y + b + ih * 0.85),
              (x + b + iw * 0.3, y + b + ih * 0.25)], fill=YELLOW, sw=sw * 0.8)
    svg.rect(x + b + iw * 0.56, y + b + ih * 0.42, iw * 0.32, ih * 0.43, 0.5, fill=ORANGE,
             sw=sw * 0.8)


def camera(svg):
    svg.rect(15, 6.5, 12, 6, 2, fill=darker(INDIGO, 0.85), sw=1.4)
    svg.rect(8, 10.5, 32, 23, 5, fill=INDIGO, sw=1.5)
    svg.rect(10, 14, 8, 4, 1.5, fill=YELLOW, sw=1)
    svg.circle(35, 14.5, 2, fill=RED, sw=1)
    svg.circle(25, 22.5, 8.5, fill=WHITE, sw=1.5)
    svg.circle(25, 22.5, 5.5, fill=SKY, sw=1.2)
    svg.path(arc_path(25, 22.5, 3.2, 200, 260), fill="none", stroke=WHITE, sw=1.3)


def magnifying_glass(svg):
    little_photo(svg, 6, 6, 22, 16)
    magnifier(svg, 26, 19, 9)


def viewer(svg):
    svg.line(17, 30, 13, 36, sw=2)
    svg.line(31, 30, 35, 36, sw=2)
    svg.rect(7, 5, 34, 26, 4, fill=BROWN, sw=1.5)
    little_photo(svg, 11, 9, 26, 18)


def viewer_step(forward):
    """Previous (a triangle against a bar, pointing left) and Next (pointing right)."""
    def draw(svg):
        svg.circle(24, 19, 14, fill=SKY, sw=1.5)
        s = 1 if forward else -1
        svg.poly([(24 - 6 * s, 11.5), (24 - 6 * s, 26.5), (24 + 5 * s, 19)], fill=WHITE, sw=1.3)
        svg.rect(24 + 6 * s - (0 if forward else 3.5), 11.5, 3.5, 15, 1, fill=WHITE, sw=1.3)
    return draw


def viewer_play(forward):
    """Play forward or backward: a slide show of photos, one after another."""
    def draw(svg):
        svg.circle(24, 19, 14, fill=GREEN, sw=1.5)
        s = 1 if forward else -1
        svg.poly([(24 - 7 * s, 11), (24 - 7 * s, 27), (24 + 1 * s, 19)], fill=WHITE, sw=1.3)
        svg.poly([(24 + 0 * s, 11), (24 + 0 * s, 27), (24 + 8 * s, 19)], fill=WHITE, sw=1.3)
    return draw


PHOTO_ART = [
    # name, drawing
    ("camera", camera),
    ("magnifying_glass", magnifying_glass),
    ("viewer", viewer),
    ("viewer_previous", viewer_step(False)),
    ("viewer_next", viewer_step(True)),
    ("viewer_play_backward", viewer_play(False)),
    ("viewer_play_forward", viewer_play(True)),
]


# --- Numbers page ----------------------------------------------------------------------------

def numbers_copy(svg):
    """Copy: a number card with its copy peeking out behind it."""
    svg.rect(8, 6, 24, 17, 3, fill=lighter(YELLOW, 0.5), sw=1.3,
             extra=' stroke-dasharray="3,2"')
    card(svg, 16, 13, 24, 17, "7", sw=1.4)
    svg.circle(37, 30, 6.5, fill=GREEN, sw=1.2)
    svg.line(37, 26.5, 37, 33.5, stroke=WHITE, sw=1.8)
    svg.line(33.5, 30, 40.5, 30, stroke=WHITE, sw=1.8)


def new_table(svg):
    """New table: a table of two columns with a header row, and a star for new."""
    x, y, w, h = 8, 8, 28, 25
    svg.rect(x, y, w, h, 2, fill=WHITE, sw=1.4)
    svg.rect(x, y, w, 7, 2, fill=SKY, sw=1.4)
    svg.line(x + w / 2, y, x + w / 2, y + h, sw=1.2)
    for row in (y + 13, y + 19):
        svg.line(x, row, x + w, row, sw=1)
    star(svg, 37, 11, 6.5, fill=YELLOW, sw=1.1)


NUMBERS_ART = [
    ("numbers_copy", numbers_copy),
    ("new_table", new_table),
]


# --- tool palette -----------------------------------------------------------------------------

def pointer_path(x, y, s):
    """The classic arrow pointer with its tip at (x, y), s = scale (1 = 16 px tall)."""
    pts = [(0, 0), (0, 15), (3.6, 11.6), (6.2, 17), (8.6, 15.8), (6.1, 10.6), (11, 10.6)]
    return [(x + px * s, y + py * s) for px, py in pts]


def tool_arrow(svg):
    svg.poly(pointer_path(14, 8, 1.45), fill=lighter(BLUE, 0.35), sw=1.5)


def tool_selector(svg):
    svg.rect(8, 8, 24, 19, 2, fill=lighter(SKY, 0.6), stroke=BLUE, sw=2,
             extra=' stroke-dasharray="4,3"')
    svg.poly(pointer_path(22, 17, 0.95), fill=WHITE, sw=1.3)


def tool_eraser(svg):
    svg.begin("rotate(-35 20 20)")
    svg.rect(7, 13, 26, 13, 3, fill=PINK, sw=1.5)
    svg.rect(7, 13, 10, 13, 3, fill=SKY, sw=1.5)
    svg.end()
    svg.line(8, 33, 21, 33, stroke=INK, sw=1.3, extra=' stroke-dasharray="2,2"')


def tool_writing(svg):
    pencil(svg, 9, 32, 33, 8, 7.5)
    svg.text(31, 34, "A", 13, fill=BLUE)


def tool_help(svg):
    svg.circle(20, 19, 13, fill=BLUE)
    svg.text(20, 26.5, "?", 21, fill=WHITE)


def tool_anglemeter(svg):
    svg.path(pie_path(10, 30, 22, -90, 0), fill=lighter(YELLOW, 0.3), stroke=INK, sw=1.2)
    svg.path(arc_path(10, 30, 11, -42, 0), fill="none", stroke=RED, sw=2)
    svg.line(10, 30, 33, 30, stroke=INK, sw=2.5)
    svg.line(10, 30, 27, 13, stroke=INK, sw=2.5)
    svg.circle(10, 30, 2.5, fill=RED, sw=1)


def tool_linemaker(svg):
    svg.line(9, 30, 31, 9, stroke=INK, sw=4)
    svg.line(9, 30, 31, 9, stroke=GREEN, sw=2)
    svg.circle(9, 30, 4, fill=WHITE, sw=1.4)
    svg.circle(31, 9, 4, fill=WHITE, sw=1.4)
    svg.line(26, 28, 34, 28, sw=2)
    svg.line(30, 24, 30, 32, sw=2)


def scissors(svg, cx, cy, s, sw=1.4):
    """Open scissors pointing left, pivot at (cx, cy)."""
    svg.poly([(cx - 14 * s, cy - 6 * s), (cx + 1.5 * s, cy - 2.5 * s), (cx, cy + 2 * s)],
             fill="#dfe6ee", sw=sw)
    svg.poly([(cx - 14 * s, cy + 6 * s), (cx + 1.5 * s, cy + 2.5 * s), (cx, cy - 2 * s)],
             fill="#dfe6ee", sw=sw)
    svg.line(cx, cy, cx + 6 * s, cy - 4 * s, sw=sw * 1.6)
    svg.line(cx, cy, cx + 6 * s, cy + 4 * s, sw=sw * 1.6)
    svg.circle(cx + 9 * s, cy - 5 * s, 3.6 * s, fill=RED, sw=sw)
    svg.circle(cx + 9 * s, cy + 5 * s, 3.6 * s, fill=RED, sw=sw)


def tool_cut(svg):
    svg.rect(6, 6, 20, 20, 2, fill=YELLOW, sw=1.4)
    svg.line(4, 4, 26, 26, stroke=RED, sw=1.8, extra=' stroke-dasharray="3,2"')
    svg.begin("rotate(45 27 27)")
    scissors(svg, 27, 27, 0.8, 1.2)
    svg.end()


def eye(svg, cx, cy, w, sw=1.4):
    svg.path("M%s,%s Q%s,%s %s,%s Q%s,%s %s,%s Z" % (
        _num(cx - w / 2), _num(cy), _num(cx), _num(cy - w * 0.55), _num(cx + w / 2), _num(cy),
        _num(cx), _num(cy + w * 0.55), _num(cx - w / 2), _num(cy)), fill=WHITE, sw=sw)
    svg.circle(cx, cy, w * 0.18, fill=BLUE, sw=sw * 0.8)
    svg.circle(cx, cy, w * 0.07, fill=INK, stroke=None)


def tool_hide_show(svg):
    svg.line(6, 12, 20, 12, stroke=INK, sw=2.5)
    svg.line(22, 12, 34, 12, stroke=INK, sw=2.5, extra=' stroke-dasharray="3,3"')
    eye(svg, 20, 26, 24)


def tool_mystery(svg):
    svg.rect(8, 12, 24, 20, 4, fill=PURPLE, sw=1.4)
    svg.poly([(12, 6), (22, 6), (19, 12), (15, 12)], fill=lighter(PURPLE, 0.45), sw=1.2)
    svg.rect(12, 15, 16, 13, 2, fill=WHITE, sw=1.1)
    svg.text(20, 26.5, "?", 13, fill=PURPLE)
    star(svg, 32, 9, 4.5, YELLOW, 1)


def chain_link(svg, cx, cy, w, h, angle, col, sw=1.4):
    svg.rect(cx - w / 2, cy - h / 2, w, h, h / 2, fill="none", stroke=INK, sw=sw + 2.4,
             extra=' transform="rotate(%s %s %s)"' % (_num(angle), _num(cx), _num(cy)))
    svg.rect(cx - w / 2, cy - h / 2, w, h, h / 2, fill="none", stroke=col, sw=sw + 0.4,
             extra=' transform="rotate(%s %s %s)"' % (_num(angle), _num(cx), _num(cy)))


def tool_linking(svg):
    svg.rect(5, 6, 13, 13, 3, fill=PURPLE, sw=1.3)
    svg.rect(22, 20, 13, 13, 3, fill=PINK, sw=1.3)
    chain_link(svg, 16, 20, 12, 7, 45, YELLOW, 1)
    chain_link(svg, 24, 19, 12, 7, 45, ORANGE, 1)


def no_sign(svg, cx, cy, r, sw=1.4):
    svg.circle(cx, cy, r, fill="none", stroke=INK, sw=r * 0.42 + 2)
    svg.circle(cx, cy, r, fill="none", stroke=RED, sw=r * 0.42)
    d = r * 0.7
    svg.line(cx - d, cy - d, cx + d, cy + d, stroke=INK, sw=r * 0.42 + 2, extra=' stroke-linecap="butt"')
    svg.line(cx - d, cy - d, cx + d, cy + d, stroke=RED, sw=r * 0.42, extra=' stroke-linecap="butt"')


def tool_ignore(svg):
    svg.rect(7, 7, 18, 18, 3, fill=GREEN, sw=1.3)
    svg.text(16, 21, "7", 13)
    no_sign(svg, 25, 25, 9)


TOOLS = [
    # code, name, (up, down, disabled), drawing
    (0, "arrow", (136, 157, 282), tool_arrow),
    (1, "selector", (137, 163, 286), tool_selector),
    (2, "eraser", (138, 160, 283), tool_eraser),
    (3, "writing", (139, 165, 280), tool_writing),
    (4, "help", (140, 161, 284), tool_help),
    (5, "anglemeter", (141, 158, 281), tool_anglemeter),
    (6, "linemaker", (143, 162, 285), tool_linemaker),
    (7, "cut", (142, 159, 288), tool_cut),
    (8, "hideshow", (144, 164, 287), tool_hide_show),
    (9, "mystery", (306, 307, 308), tool_mystery),
    (10, "linking", (318, 319, 320), tool_linking),
    (11, "ignore", (380, 379, 378), tool_ignore),
]


# --- workspace navigator ----------------------------------------------------------------------

NAV = [
    # direction (dx, dy), (up, down, disabled)
    ((0, -1), (238, 239, 277)),
    ((1, 0), (244, 245, 276)),
    ((0, 1), (240, 241, 272)),
    ((-1, 0), (242, 243, 275)),
    ((1, -1), (248, 249, 279)),
    ((-1, -1), (246, 247, 278)),
    ((1, 1), (250, 251, 274)),
    ((-1, 1), (252, 253, 273)),
]


def nav_arrow(direction):
    dx, dy = direction
    angle = math.degrees(math.atan2(dy, dx))

    def draw(svg):
        cx, cy = 7.5, 7
        pts = [(5.2, 0), (0.2, -4.4), (0.2, -1.5), (-4.6, -1.5), (-4.6, 1.5), (0.2, 1.5),
               (0.2, 4.4)]
        a = math.radians(angle)
        rot = [(cx + x * math.cos(a) - y * math.sin(a), cy + x * math.sin(a) + y * math.cos(a))
               for x, y in pts]
        svg.poly(rot, fill=BLUE, sw=1)
    return draw


# --- backgrounds ------------------------------------------------------------------------------

def main_menu_tile():
    """A quiet, seamless tile of faint maths shapes: the caption is drawn over it."""
    svg = Svg(96, 96)
    svg.rect(0, 0, 96, 96, 0, fill="#eef6ff", stroke=None)
    faint = ' stroke-opacity="0.25" fill-opacity="0.45"'
    svg.poly(regpoly(22, 24, 11, 3), fill="#ffe3c2", stroke=INK, sw=1, extra=faint)
    svg.rect(60, 14, 18, 18, 3, fill="#dcd0ff", stroke=INK, sw=1, extra=faint)
    svg.poly(regpoly(70, 68, 11, 6, 0), fill="#c9f2d2", stroke=INK, sw=1, extra=faint)
    svg.circle(24, 72, 9, fill="#ffd6e7", stroke=INK, sw=1, extra=faint)
    svg.text(48, 54, "+", 16, fill="#c6d4e8")
    svg.text(48, 8, "\u00d7", 12, fill="#c6d4e8")
    return svg


def drawer_slot():
    svg = Svg(80, 80)
    svg.rect(0.5, 0.5, 79, 79, 8, fill="#f7fbff", stroke="#9cb8d6", sw=1)
    svg.rect(3.5, 3.5, 73, 73, 6, fill="none", stroke="#ffffff", sw=2)
    return svg


# --- cursors ----------------------------------------------------------------------------------
# 32 by 32; each is drawn with a white halo so that it stays visible on any colour. The hot spots
# are recorded in src/ui/art/art.cpp.

def cursor_svg():
    return Svg(32, 32)


def halo_pointer(svg, x=1, y=1, s=1.0):
    svg.poly(pointer_path(x, y, s), fill=WHITE, stroke=INK, sw=1.3)


def crosshair(svg, cx, cy, r):
    for stroke, w in ((WHITE, 3.5), (INK, 1.5)):
        svg.line(cx - r, cy, cx - 2, cy, stroke=stroke, sw=w)
        svg.line(cx + 2, cy, cx + r, cy, stroke=stroke, sw=w)
        svg.line(cx, cy - r, cx, cy - 2, stroke=stroke, sw=w)
        svg.line(cx, cy + 2, cx, cy + r, stroke=stroke, sw=w)


def cur_selector():
    svg = cursor_svg()
    svg.rect(13, 13, 17, 14, 1.5, fill=lighter(SKY, 0.7), stroke=BLUE, sw=1.6,
             extra=' stroke-dasharray="3,2"')
    crosshair(svg, 9, 9, 8)
    return svg


def cur_eraser():
    svg = cursor_svg()
    svg.begin("rotate(45 16 16)")
    svg.rect(3, 10, 24, 12, 3, fill=PINK, sw=1.5)
    svg.rect(17, 10, 10, 12, 3, fill=SKY, sw=1.5)
    svg.end()
    return svg


def cur_writing():
    svg = cursor_svg()
    pencil(svg, 2, 30, 28, 4, 7, sw=1.3)
    return svg


def cur_anglemeter():
    svg = cursor_svg()
    svg.path(pie_path(9, 9, 19, 0, 90), fill=lighter(YELLOW, 0.3), stroke=INK, sw=1.2)
    svg.path(arc_path(9, 9, 11, 0, 90), fill="none", stroke=RED, sw=1.6)
    crosshair(svg, 9, 9, 8)
    return svg


def cur_linemaker():
    svg = cursor_svg()
    svg.line(14, 28, 29, 13, stroke=INK, sw=3.5)
    svg.line(14, 28, 29, 13, stroke=GREEN, sw=1.8)
    svg.circle(14, 28, 2.8, fill=WHITE, sw=1.2)
    svg.circle(29, 13, 2.8, fill=WHITE, sw=1.2)
    crosshair(svg, 9, 9, 8)
    return svg


def cur_cut():
    svg = cursor_svg()
    scissors(svg, 15, 9, 1.0, 1.3)
    svg.circle(2.5, 9, 2, fill=RED, stroke=WHITE, sw=1)
    return svg


def cur_hide_show():
    svg = cursor_svg()
    halo_pointer(svg)
    eye(svg, 21, 23, 18, 1.3)
    return svg


def cur_linking():
    svg = cursor_svg()
    halo_pointer(svg)
    chain_link(svg, 18, 24, 12, 7, 45, YELLOW, 1)
    chain_link(svg, 25, 23, 12, 7, 45, ORANGE, 1)
    return svg


def cur_help():
    svg = cursor_svg()
    halo_pointer(svg)
    svg.circle(22, 22, 8.5, fill=BLUE, sw=1.3)
    svg.text(22, 27, "?", 14, fill=WHITE)
    return svg


def cur_mystery():
    svg = cursor_svg()
    halo_pointer(svg)
    svg.rect(14, 15, 16, 14, 3, fill=PURPLE, sw=1.3)
    svg.rect(17, 17.5, 10, 9, 1.5, fill=WHITE, sw=1)
    svg.text(22, 25.5, "?", 10, fill=PURPLE)
    return svg


def cur_ignore():
    svg = cursor_svg()
    halo_pointer(svg)
    no_sign(svg, 22, 22, 7)
    return svg


def cur_tag():
    svg = cursor_svg()
    svg.path("M2,2 L15,2 L30,17 L17,30 L2,15 Z", fill=YELLOW, sw=1.4)
    svg.circle(9, 9, 2.5, fill=WHITE, sw=1.2)
    svg.line(13, 19, 19, 13, sw=1.3)
    svg.line(16, 22, 22, 16, sw=1.3)
    return svg


CURSORS = [
    # cursor resource id, drawing
    (144, cur_selector),
    (146, cur_eraser),
    (147, cur_writing),
    (148, cur_anglemeter),
    (135, cur_linemaker),
    (145, cur_cut),
    (167, cur_hide_show),
    (304, cur_linking),
    (149, cur_help),
    (303, cur_mystery),
    (346, cur_ignore),
    (332, cur_tag),
]


# --- the whole set ----------------------------------------------------------------------------

def bitmaps():
    """Yields (file stem, Svg)."""
    ws_face = CREAM

    def states(ids, w, h, face, draw, **kw):
        for sid, state in zip(ids, STATES):
            if sid is not None:
                yield str(sid), button(w, h, state, face, draw, **kw)

    # Menu pages and workspace: back / exit, broom.
    yield from states((168, 169, 204), 48, 41, ws_face, back_arrow)
    yield from states((166, 167, 203), 48, 41, ws_face, broom)

    # Main menu.
    yield "441", main_menu_tile()
    big = dict(radius=14, depth=4, sw=1.8)
    yield from states((517, 519), MAIN_W, MAIN_H, TILES["face"],
                      main_button(["Tiles and", "Tessellations"], pic_tiles), **big)
    yield from states((523, 525), MAIN_W, MAIN_H, PATTERNS["face"],
                      main_button(["Patterns"], pic_patterns), **big)
    yield from states((520, 522), MAIN_W, MAIN_H, STATS["face"],
                      main_button(["Statistics"], pic_stats), **big)
    yield from states((527, 548), 160, 50, "#fff0b3", view_intro, radius=12)
    yield from states((546, 547), 180, 50, "#fff0b3", demo_instructions, radius=12)

    # Unit menus: investigation buttons (up, down, disabled; the focus bitmap is the up one).
    units = [
        (TILES, [(471, 472, 532), (475, 477, 476), (478, 480, 530), (483, 481, 531),
                 (484, 486, 529)],
         [["Discovering", "Tessellations"], ["Shapes", "and Angles"],
          ["Tessellations", "and Cores"], ["Core", "Creations"], ["Tessellation", "Expo"]],
         [tiles1, tiles2, tiles3, tiles4, tiles5]),
        (PATTERNS, [(514, 516, 536), (511, 513, 534), (508, 510, 535), (505, 507, 506),
                    (502, 504, 533)],
         [["Coding", "Machines"], ["Design", "Machines"], ["Number", "Machines"],
          ["Linked", "Machines"], ["Problem Solving", "Number Machines"]],
         [patterns1, patterns2, patterns3, patterns4, patterns5]),
        (STATS, [(499, 501, 537), (496, 498, 497), (493, 495, 538), (490, 492, 539),
                 (487, 489, 540)],
         [["Describing", "Categorical Data"], ["Describing", "Numerical Data"],
          ["Making", "Profiles"], ["Asking More", "Questions"], ["Describing", "Us"]],
         [stats1, stats2, stats3, stats4, stats5]),
    ]
    for unit, ids, titles, motifs in units:
        for n in range(5):
            up, down, disabled = ids[n]
            draw = investigation(unit, n + 1, titles[n], motifs[n])
            for sid, state in ((up, "up"), (down, "down"), (disabled, "disabled")):
                yield str(sid), button(INV_W, INV_H, state, unit["face"], draw, radius=12, depth=4)

    # Problem-set buttons.
    for ids, left in (((430, 428, 429), 3), ((431, 433, 432), 2), ((434, 436, 435), 1)):
        yield from states(ids, 120, 41, "#e3f9e5", check_button(left))
    yield from states((427, 426), 120, 41, "#e0f0ff", continue_button)
    yield from states((437, 438), 120, 41, "#fff3c4", view_solution)

    # Tool palette.
    for _code, _name, (up, down, disabled), draw in TOOLS:
        for sid, state in ((up, "up"), (down, "down"), (disabled, "disabled")):
            yield str(sid), button(42, 42, state, ws_face, draw, radius=7, depth=2, sw=1.3)

    # Workspace navigator.
    for direction, (up, down, disabled) in NAV:
        draw = nav_arrow(direction)
        for sid, state in ((up, "up"), (down, "down"), (disabled, "disabled")):
            yield str(sid), button(15, 15, state, ws_face, draw, radius=3, depth=1, sw=1)

    # Drawer slot background.
    yield "227", drawer_slot()


def named():
    """Art the unit menus use that has no resource id of its own."""
    face = "#fff0b3"
    for name, draw in (("explore", unit_menu_button(icon_explore, ["Explore"])),
                       ("make_challenges", unit_menu_button(icon_make, ["Make", "Challenges"])),
                       ("solve_challenges", unit_menu_button(icon_solve, ["Solve", "Challenges"]))):
        for state in ("up", "down", "focus"):
            stem = name if state == "up" else "%s_%s" % (name, state)
            yield stem, button(150, 50, state, face, draw, radius=12)
    # The photo buttons of the Tiles and Tessellations page and of its viewer, and the Numbers
    # page's Copy and New table, the size of the exit and broom buttons.
    for name, draw in PHOTO_ART + NUMBERS_ART:
        for state in STATES:
            stem = name if state == "up" else "%s_%s" % (name, state)
            yield stem, button(48, 41, state, CREAM, draw)


# --- desktop icons ----------------------------------------------------------------------------
# The program's icon and its documents' icons for the desktop's icon theme, drawn on a 64 by 64
# grid with thick outlines so that they stay clear down to 16 pixels. The build renders them to
# PNG at the theme's sizes.

ICON_DIR = os.path.join(ROOT, "resources", "desktop", "icons")


def app_icon():
    svg = Svg(64, 64)
    svg.rect(2, 5, 60, 57, 12, fill=darker("#eef6ff", 0.62), sw=2.5)
    svg.rect(2, 2, 60, 57, 12, fill="#eef6ff", sw=2.5)
    svg.rect(5, 5, 54, 22, 9, fill=WHITE, stroke=None, extra=' fill-opacity="0.6"')
    hex_patch(svg, 23, 25, 7, [YELLOW, ORANGE, TEAL, PINK, SKY, LIME, ORANGE], sw=2)
    svg.polyline([(35, 28), (35, 53), (58, 53)], sw=2)
    bars(svg, 38, 53, 5.5, 1.5, [12, 21, 16], [RED, YELLOW, GREEN], sw=1.8)
    star(svg, 49, 14, 7, PINK, 1.8)
    return svg


def document_icon(accent, motif):
    """A sheet with a folded corner, the unit's colour along its foot and its picture."""
    svg = Svg(64, 64)
    svg.path("M10,3 H41 L54,16 V61 H10 Z", fill=WHITE, sw=2.5)
    svg.rect(11.25, 48, 41.5, 11.75, 0, fill=accent, stroke=None)
    svg.line(10, 48, 54, 48, sw=2)
    svg.path("M41,3 V16 H54 Z", fill=lighter(accent, 0.5), sw=2.5)
    motif(svg)
    return svg


def doc_geometry(svg):
    hex_patch(svg, 30, 31, 6.5, [YELLOW, ORANGE, TEAL, SKY, PINK, LIME, ORANGE], sw=1.8)


def doc_numbers(svg):
    machine(svg, 16, 16, 30, 28, PURPLE, "+", 12, sw=2)


def doc_codes(svg):
    card(svg, 15, 14, 16, 16, "A", YELLOW, 12, sw=2)
    card(svg, 30, 28, 16, 16, "D", SKY, 12, sw=2)


def doc_designs(svg):
    cols = [RED, ORANGE, YELLOW, GREEN, BLUE, PURPLE]
    cx, cy = 31, 30
    for i in range(6):
        a = math.radians(-90 + 60 * i)
        pts = [(cx, cy), (cx + 9 * math.cos(a + 0.5), cy + 9 * math.sin(a + 0.5)),
               (cx + 15 * math.cos(a), cy + 15 * math.sin(a)),
               (cx + 9 * math.cos(a - 0.5), cy + 9 * math.sin(a - 0.5))]
        svg.poly(pts, fill=cols[i], sw=1.6)


def doc_statistics(svg):
    axes(svg, 15, 14, 32, 28, sw=2)
    bars(svg, 19, 42, 7, 2, [14, 24, 18], [RED, YELLOW, GREEN], sw=1.8)


# Icon names follow the documents' media types.
DESKTOP_ICONS = [
    ("quorvel", app_icon),
    ("application-x-quorvel-geometry", lambda: document_icon(TILES["accent"], doc_geometry)),
    ("application-x-quorvel-numbers", lambda: document_icon(PATTERNS["accent"], doc_numbers)),
    ("application-x-quorvel-codes", lambda: document_icon(PATTERNS["accent"], doc_codes)),
    ("application-x-quorvel-designs", lambda: document_icon(PATTERNS["accent"], doc_designs)),
    ("application-x-quorvel-statistics", lambda: document_icon(STATS["accent"], doc_statistics)),
]


def main():
    os.makedirs(ICON_DIR, exist_ok=True)
    for name, draw in DESKTOP_ICONS:
        with open(os.path.join(ICON_DIR, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(draw().render())
    os.makedirs(OUT_DIR, exist_ok=True)
    files = []
    seen = set()

    def write(stem, svg):
        if stem in seen:
            sys.exit("make_art: %s drawn twice" % stem)
        seen.add(stem)
        name = stem + ".svg"
        with open(os.path.join(OUT_DIR, name), "w", encoding="utf-8") as f:
            f.write(svg.render())
        files.append(name)

    for stem, svg in bitmaps():
        write(stem, svg)
    for stem, svg in named():
        write(stem, svg)
    for cid, draw in CURSORS:
        write("cursor_%d" % cid, draw())

    for old in os.listdir(OUT_DIR):
        if old.endswith(".svg") and old not in files:
            os.remove(os.path.join(OUT_DIR, old))

    def key(n):
        stem = n[:-4]
        return (0, int(stem), "") if stem.isdigit() else (1, 0, stem)

    with open(os.path.join(ROOT, "resources", "art.qrc"), "w", encoding="utf-8") as f:
        f.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n<qresource prefix="/art">\n')
        for n in sorted(files, key=key):
            f.write('    <file alias="%s">art/%s</file>\n' % (n, n))
        f.write("</qresource>\n</RCC>\n")
    print("make_art: %d files" % len(files))


if __name__ == "__main__":
    main()
