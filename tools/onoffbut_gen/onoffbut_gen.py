#!/usr/bin/env python3
"""Draws the style sheets of the on/off button (TOnOffBut).

Run from anywhere:  python3 tools/onoffbut_gen/onoffbut_gen.py
It writes src/resources/onoffbut/NAME.png for the 23 styles (plain Python 3, nothing
else) and checks every sheet against the layout the control cuts it by.

A sheet holds four pictures of equal size in a 2 x 2 grid: top left on & enabled, top
right off & enabled, bottom left on & disabled, bottom right off & disabled. Pixels of
the key colour 0xEBBEEB are background: the control lets its own background show
there. A picture is drawn from layers (shape, colour) sampled 4 x 4 times per pixel;
inner edges blend between layers, but the outline against the background is hard (a
pixel is either key or fully the shape's), since a blend with the key colour would
leave a pink fringe on any background. The disabled pictures are the enabled ones
washed out to light grays.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "src", "resources", "onoffbut")
KEY = (0xEB, 0xBE, 0xEB)
SUB = 4  # samples per pixel along each axis


# ---- Shapes: functions (x, y) -> bool in cell coordinates (pixel centres at n + 0.5) ----------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rrect(x0, y0, x1, y1, r):
    """Rounded rectangle [x0, x1] x [y0, y1] with corner radius r."""
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(px, py):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def stroke(points, half_width):
    """A polyline of the given half width with round joints and ends."""
    def inside(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
            t = min(max(t, 0.0), 1.0)
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half_width ** 2:
                return True
        return False
    return inside


def arc(cx, cy, r, half_width, start_deg, end_deg):
    """A stroked arc, angles counter-clockwise from the positive x axis (y up)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > half_width:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - start_deg) % 360 <= (end_deg - start_deg) % 360
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(h(x, y) for h in holes)


def mirrored_x(shape, width):
    return lambda x, y: shape(width - x, y)


def rotated(shape, cx, cy, degrees):
    """The shape turned counter-clockwise (on screen) about (cx, cy)."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    return lambda x, y: shape(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)


# ---- Colours: (r, g, b) or functions (x, y) -> (r, g, b) --------------------------------------

def hexc(value):
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def vgrad(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, min(max((y - y0) / (y1 - y0), 0.0), 1.0))


def hgrad(x0, c0, x1, c1):
    return lambda x, y: mix(c0, c1, min(max((x - x0) / (x1 - x0), 0.0), 1.0))


def radial(cx, cy, r, inner, outer):
    return lambda x, y: mix(inner, outer, min(math.hypot(x - cx, y - cy) / r, 1.0))


def colour_at(colour, x, y):
    return colour(x, y) if callable(colour) else colour


# ---- Rendering -------------------------------------------------------------------------------

def render(width, height, layers):
    """Rows of pixels: None for background, else (r, g, b). Later layers lie on top."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            hits, acc = 0, [0.0, 0.0, 0.0]
            for sy in range(SUB):
                for sx in range(SUB):
                    x, y = px + (sx + 0.5) / SUB, py + (sy + 0.5) / SUB
                    for shape, colour in reversed(layers):
                        if shape(x, y):
                            c = colour_at(colour, x, y)
                            hits += 1
                            acc[0] += c[0]
                            acc[1] += c[1]
                            acc[2] += c[2]
                            break
            if hits * 2 < SUB * SUB:
                row.append(None)
            else:
                row.append(tuple(int(round(v / hits)) for v in acc))
        rows.append(row)
    return rows


def washed_out(rows):
    """The disabled look: every colour turned to a light gray of its brightness."""
    out = []
    for row in rows:
        new = []
        for p in row:
            if p is None:
                new.append(None)
                continue
            lum = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]
            g = int(round(150 + lum * 0.36))
            new.append((g, g, g))
        out.append(new)
    return out


# ---- The styles: each returns the layers of one picture ---------------------------------------

WHITE, BLACK = (255, 255, 255), (0, 0, 0)
GREEN, DKGREEN = hexc(0x2FB84A), hexc(0x1C7A30)
RED, DKRED = hexc(0xE0342B), hexc(0x8C1A14)
STEEL_LIGHT, STEEL_DARK = hexc(0xF4F6F8), hexc(0xA9B0B8)
OUTLINE = hexc(0x5A6470)


def bevel_box(w, h, r):
    """A light key cap with a darker rim: the body of boxes, knobs and rockers."""
    return [(rrect(0.5, 0.5, w - 0.5, h - 0.5, r), OUTLINE),
            (rrect(1.5, 1.5, w - 1.5, h - 1.5, max(r - 1, 0)), vgrad(1, STEEL_LIGHT, h, STEEL_DARK))]


def checkbox(on, w, h):
    layers = [(rrect(0.5, 0.5, w - 0.5, h - 0.5, 2.5), OUTLINE),
              (rrect(1.5, 1.5, w - 1.5, h - 1.5, 1.5), vgrad(1, hexc(0xE8ECF0), h, WHITE))]
    if on:
        layers.append((stroke([(3.8, 8.2), (6.6, 11.2), (12.2, 4.4)], 1.35), hexc(0x1F6FC2)))
    return layers


def radio(on, w, h):
    c = w / 2
    layers = [(circle(c, c, c - 0.3), OUTLINE),
              (circle(c, c, c - 1.3), vgrad(1, hexc(0xE8ECF0), h, WHITE))]
    if on:
        layers.append((circle(c, c, c * 0.45), radial(c - 1, c - 1, c * 0.5, hexc(0x4C9BE8), hexc(0x1A5CA8))))
    return layers


def slide(on, w, h, vertical, coloured):
    """A slide switch: a track with a knob at the 'on' end (top, or right)."""
    if not vertical:
        return [(rotated(s, w / 2, w / 2, -90) if False else _transpose(s), c)
                for s, c in slide(on, h, w, True, coloured)]
    track_colour = (GREEN if on else hexc(0xB9BEC4)) if coloured else hexc(0x3C434B)
    layers = [(rrect(0.5, 0.5, w - 0.5, h - 0.5, w / 2 - 0.5), OUTLINE),
              (rrect(1.5, 1.5, w - 1.5, h - 1.5, w / 2 - 1.5),
               vgrad(0, mix(track_colour, BLACK, 0.25), h, mix(track_colour, WHITE, 0.15)))]
    knob = w - 4
    top = 2 if on else h - 2 - knob
    if coloured:
        layers += [(circle(w / 2, top + knob / 2, knob / 2), hexc(0x8A9099)),
                   (circle(w / 2, top + knob / 2, knob / 2 - 1), radial(w / 2 - 2, top + knob / 2 - 2, knob / 2, WHITE, hexc(0xDDE1E6)))]
    else:
        layers += [(rrect(2, top, w - 2, top + knob, 2.5), hexc(0x8A9099)),
                   (rrect(3, top + 1, w - 3, top + knob - 1, 1.5), vgrad(top, STEEL_LIGHT, top + knob, STEEL_DARK))]
        for k in (-3, 0, 3):
            gy = top + knob / 2 + k
            layers.append((rrect(6, gy - 0.6, w - 6, gy + 0.6, 0), hexc(0x6E7680)))
        lamp = GREEN if on else hexc(0x6E767F)
        layers.append((circle(w / 2, h - 5 if on else 5, 2.2), lamp))
    return layers


def _transpose(shape):
    return lambda x, y: shape(y, x)


def led(on, w, h, lit, dark):
    c = w / 2
    body = lit if on else dark
    return [(circle(c, c, c - 0.2), hexc(0x3A3F45)),
            (circle(c, c, c - 1.4), radial(c - 1.5, c - 1.5, c, mix(body, WHITE, 0.35 if on else 0.1), mix(body, BLACK, 0.3))),
            (ellipse(c - 1.8, c - 2.4, c * 0.32, c * 0.2), mix(body, WHITE, 0.75 if on else 0.35))]


def arrow_shape(w, h, degrees):
    """An arrow pointing right, turned counter-clockwise by `degrees`."""
    c = w / 2
    right = polygon([(3.5, c - 3.2), (c + 0.5, c - 3.2), (c + 0.5, c - 8.5), (w - 3, c),
                     (c + 0.5, c + 8.5), (c + 0.5, c + 3.2), (3.5, c + 3.2)])
    return rotated(right, c, c, degrees)


def arrow(on, w, h, on_deg, off_deg):
    c = w / 2
    deg = on_deg if on else off_deg
    fill = (GREEN, DKGREEN) if on else (hexc(0x9AA3AD), hexc(0x5F6872))
    return [(circle(c, c, c - 0.3), OUTLINE),
            (circle(c, c, c - 1.3), vgrad(0, WHITE, h, hexc(0xD7DCE2))),
            (arrow_shape(w, h, deg), vgrad(4, fill[0], h - 4, fill[1]))]


def traffic_light(on, w, h):
    """A pedestrian light: red figure standing above, green figure walking below."""
    c = w / 2
    hw = 8.5
    layers = [(rrect(c - hw, 0.5, c + hw, h - 0.5, 3), hexc(0x22262B)),
              (rrect(c - hw + 1, 1.5, c + hw - 1, h - 1.5, 2), vgrad(0, hexc(0x3A4047), h, hexc(0x1B1E22)))]
    for cy, colour, lit in ((8.5, RED, not on), (22.5, GREEN, on)):
        lens = mix(colour, BLACK, 0.72) if not lit else colour
        layers.append((circle(c, cy, 6.2), radial(c - 1.5, cy - 1.5, 6.2, mix(lens, WHITE, 0.3 if lit else 0.05), lens)))
        figure_colour = mix(lens, WHITE, 0.8) if lit else mix(lens, BLACK, 0.35)
        if cy < 15:  # standing
            fig = union(circle(c, cy - 3.6, 1.2), rrect(c - 1.4, cy - 2.2, c + 1.4, cy + 1.6, 0.6),
                        stroke([(c - 0.8, cy + 1.2), (c - 0.8, cy + 4.4)], 0.6),
                        stroke([(c + 0.8, cy + 1.2), (c + 0.8, cy + 4.4)], 0.6))
        else:  # walking
            fig = union(circle(c + 0.4, cy - 3.6, 1.2), stroke([(c + 0.2, cy - 2.2), (c - 0.4, cy + 1.2)], 0.9),
                        stroke([(c - 0.4, cy + 1.2), (c - 2.6, cy + 4.4)], 0.6),
                        stroke([(c - 0.4, cy + 1.2), (c + 2.4, cy + 4.4)], 0.6),
                        stroke([(c - 2.4, cy + 0.2), (c + 0.1, cy - 1.6), (c + 2.6, cy)], 0.5))
        layers.append((fig, figure_colour))
    return layers


def beveled_led(on, w, h):
    c = w / 2
    body = hexc(0xFFC21A) if on else hexc(0x6B5A2A)
    return [(rrect(0.5, 0.5, w - 0.5, h - 0.5, 2), hgrad(0, hexc(0xF2F4F6), w, hexc(0x707880))),
            (rrect(2.5, 2.5, w - 2.5, h - 2.5, 1.5), hgrad(0, hexc(0x707880), w, hexc(0xF2F4F6))),
            (circle(c, c, c - 3.4), radial(c - 1.5, c - 1.5, c - 2, mix(body, WHITE, 0.55 if on else 0.15), mix(body, BLACK, 0.2)))]


def smiley(on, w, h, face_on, face_off):
    c = w / 2
    face = face_on if on else face_off
    ink = hexc(0x3B2A12)
    mouth = arc(c, c + 0.8, 5.0, 0.8, 200, 340) if on else arc(c, c + 8.2, 4.6, 0.8, 35, 145)
    return [(circle(c, c, c - 0.3), mix(face, BLACK, 0.45)),
            (circle(c, c, c - 1.3), radial(c - 2.5, c - 3, c + 2, mix(face, WHITE, 0.45), face)),
            (ellipse(c - 3.1, c - 2.6, 1.2, 1.9), ink),
            (ellipse(c + 3.1, c - 2.6, 1.2, 1.9), ink),
            (mouth, ink)]


def bulb(on, w, h):
    c = w / 2
    glass = radial(c - 4, 14, 20, hexc(0xFFFBD0), hexc(0xFFD43A)) if on else radial(c - 4, 14, 20, WHITE, hexc(0xC9D0D8))
    layers = []
    if on:
        for k in range(8):
            a = math.radians(k * 45 + 22.5)
            if math.sin(a) < -0.5:
                continue
            layers.append((stroke([(c + 15.8 * math.cos(a), 17 - 15.8 * math.sin(a)),
                                   (c + 19 * math.cos(a), 17 - 19 * math.sin(a))], 0.9), hexc(0xF5A300)))
    layers += [(union(circle(c, 17, 12.5), polygon([(c - 7.5, 26), (c + 7.5, 26), (c + 5.5, 34), (c - 5.5, 34)])),
                hexc(0xB08A18) if on else hexc(0x8D959E)),
               (union(circle(c, 17, 11.4), polygon([(c - 6.6, 26), (c + 6.6, 26), (c + 4.6, 33.5), (c - 4.6, 33.5)])), glass),
               (stroke([(c - 3, 27), (c - 2, 21), (c, 24), (c + 2, 21), (c + 3, 27)], 0.55),
                hexc(0xD06A00) if on else hexc(0x8D959E)),
               (ellipse(c - 5, 12, 2.2, 3.6), WHITE)]
    for k in range(4):
        y0 = 34 + k * 3
        layers.append((rrect(c - 5.5, y0, c + 5.5, y0 + 2.4, 1.2), vgrad(y0, hexc(0xD6DADF), y0 + 2.4, hexc(0x7D858E))))
    layers.append((polygon([(c - 3.5, 46), (c + 3.5, 46), (c + 1.5, 48.5), (c - 1.5, 48.5)]), hexc(0x3A3F45)))
    return layers


def button_lamp(on, w, h):
    """An illuminated push button in a bezel; the lens glows when on."""
    lens = hexc(0xFF7A1A) if on else hexc(0x7A3A12)
    layers = bevel_box(w, h, 4)
    layers += [(rrect(5.5, 4.5, w - 5.5, h - 4.5, 3), hexc(0x4A525C)),
               (rrect(6.5, 5.5, w - 6.5, h - 5.5, 2.5),
                radial(w / 2, h / 2 - 3, w / 2, mix(lens, WHITE, 0.55 if on else 0.1), mix(lens, BLACK, 0.15)))]
    if on:
        layers.append((rrect(10, 7, w - 10, 9.5, 1.2), mix(lens, WHITE, 0.7)))
    return layers


def rocker(on, w, h, lit_left):
    """A rocker switch: the pressed half is darker, the lamp at its end glows."""
    half = w / 2
    layers = bevel_box(w, h, 3)
    pressed_left = on == lit_left
    px0, px1 = (2, half) if pressed_left else (half, w - 2)
    layers.append((rrect(px0, 2, px1, h - 2, 1.5), vgrad(2, hexc(0x9AA2AB), h, hexc(0xC9CFD6))))
    layers.append((rrect(half - 0.6, 2, half + 0.6, h - 2, 0), hexc(0x6E7680)))
    lamp_x = 6 if lit_left else w - 6
    lamp = GREEN if on else hexc(0x4C5561)
    layers.append((circle(lamp_x, h / 2, 2.8), radial(lamp_x - 1, h / 2 - 1, 3, mix(lamp, WHITE, 0.5 if on else 0.1), lamp)))
    sym_x = w - 12 if lit_left else 12
    layers.append((ring(sym_x, h / 2, 3.6, 2.3) if not on else rrect(sym_x - 0.7, h / 2 - 4, sym_x + 0.7, h / 2 + 4, 0.6),
                   hexc(0x3A4047)))
    return layers


def power(on, w, h):
    c = w / 2
    ink = hexc(0x2E8BFF) if on else hexc(0x69727C)
    layers = [(circle(c, c, c - 0.3), hexc(0x2C3238)),
              (circle(c, c, c - 1.3), radial(c - 3, c - 3, c + 3, hexc(0x4A525B), hexc(0x15181C)))]
    if on:
        layers.append((ring(c, c, c - 1.3, c - 3.0), hexc(0x5AA8FF)))
    layers += [(arc(c, c + 0.5, 6.0, 1.1, 120, 60), ink), (stroke([(c, c - 7.5), (c, c - 1)], 1.1), ink)]
    return layers


def star(on, w, h):
    c = w / 2
    pts = []
    for k in range(10):
        r = 11 if k % 2 == 0 else 4.6
        a = math.radians(90 + 36 * k)
        pts.append((c + r * math.cos(a), c + 1 - r * math.sin(a)))
    outer = polygon(pts)
    if on:
        return [(outer, hexc(0xB7791F)),
                (polygon([(c + (x - c) * 0.84, c + 1 + (y - c - 1) * 0.84) for x, y in pts]),
                 radial(c - 2, c - 3, 11, hexc(0xFFE680), hexc(0xF5B301)))]
    return [(outer, hexc(0x7D8792)),
            (polygon([(c + (x - c) * 0.72, c + 1 + (y - c - 1) * 0.72) for x, y in pts]), hexc(0xE9EDF1))]


def heart(on, w, h):
    c = w / 2

    def shape(scale):
        def inside(x, y):
            u, v = (x - c) / (9.8 * scale), -(y - c + 0.5) / (9.8 * scale)
            return (u * u + v * v - 0.55) ** 3 - u * u * v ** 3 * 1.1 <= 0
        return inside
    if on:
        return [(shape(1.0), hexc(0x9E1A2A)), (shape(0.86), radial(c - 3, c - 3, 10, hexc(0xFF7A8A), hexc(0xE0263C)))]
    return [(shape(1.0), hexc(0x7D8792)), (shape(0.76), hexc(0xE9EDF1))]


def padlock(on, w, h):
    """Closed (on) or open (off) padlock."""
    c = w / 2
    body = hexc(0xE0A82E) if on else hexc(0x9AA3AD)
    shackle_x = c if on else c + 4.5
    shackle_y = 10.5 if on else 8
    shackle = minus(union(arc(shackle_x, shackle_y, 5.2, 1.3, 0, 180),
                          stroke([(shackle_x - 5.2, shackle_y), (shackle_x - 5.2, 13)], 1.3) if on
                          else stroke([(shackle_x - 5.2, shackle_y), (shackle_x - 5.2, shackle_y + 1)], 1.3),
                          stroke([(shackle_x + 5.2, shackle_y), (shackle_x + 5.2, 13)], 1.3)))
    return [(shackle, hexc(0x7D858E)),
            (rrect(c - 8, 11.5, c + 8, h - 1.5, 2.5), mix(body, BLACK, 0.4)),
            (rrect(c - 7, 12.5, c + 7, h - 2.5, 1.8), vgrad(12, mix(body, WHITE, 0.35), h, body)),
            (union(circle(c, 17, 1.7), rrect(c - 0.7, 17, c + 0.7, 20.5, 0.3)), hexc(0x3A3F45))]


def speaker(on, w, h):
    ink = hexc(0x2F6FBF) if on else hexc(0x69727C)
    body = polygon([(2.5, 9), (7, 9), (12.5, 3.5), (12.5, 20.5), (7, 15), (2.5, 15)])
    layers = [(body, ink)]
    if on:
        layers += [(arc(12, 12, 4.5, 0.9, -45, 45), ink), (arc(12, 12, 8.5, 0.9, -48, 48), ink)]
    else:
        layers += [(stroke([(15.5, 8.5), (21.5, 15.5)], 1.1), RED), (stroke([(15.5, 15.5), (21.5, 8.5)], 1.1), RED)]
    return layers


# Resource name, sheet size, picture layers (on) -> list, in style order 1..23.
STYLES = [
    ("CHECKBOX", 32, 32, lambda on, w, h: checkbox(on, w, h)),
    ("RADIOBUT", 28, 28, lambda on, w, h: radio(on, w, h)),
    ("SLIDETOPBOT", 36, 60, lambda on, w, h: slide(on, w, h, True, False)),
    ("SLIDELFTRGT", 60, 36, lambda on, w, h: [(mirrored_x(s, w), c) for s, c in slide(on, w, h, False, False)]),
    ("COLSLIDETB", 36, 60, lambda on, w, h: slide(on, w, h, True, True)),
    ("COLSLIDELR", 60, 36, lambda on, w, h: [(mirrored_x(s, w), c) for s, c in slide(on, w, h, False, True)]),
    ("LEDREDGREEN", 28, 28, lambda on, w, h: led(on, w, h, hexc(0x3BE05A), hexc(0xE0342B))),
    ("ARROWTR", 50, 50, lambda on, w, h: arrow(on, w, h, 90, 0)),
    ("ARROWUD", 50, 50, lambda on, w, h: arrow(on, w, h, 90, -90)),
    ("ARROWLR", 50, 50, lambda on, w, h: arrow(on, w, h, 0, 180)),
    ("TRAFFICLGT", 62, 62, lambda on, w, h: traffic_light(on, w, h)),
    ("BEVELEDLED", 34, 34, lambda on, w, h: beveled_led(on, w, h)),
    ("SMILEYS", 36, 36, lambda on, w, h: smiley(on, w, h, hexc(0xFFD83A), hexc(0xFFD83A))),
    ("SMILEYRG", 36, 36, lambda on, w, h: smiley(on, w, h, hexc(0x5BD16A), hexc(0xF0584A))),
    ("BULB", 78, 98, lambda on, w, h: bulb(on, w, h)),
    ("BUTLAMP", 98, 48, lambda on, w, h: button_lamp(on, w, h)),
    ("HDLEFT", 96, 32, lambda on, w, h: rocker(on, w, h, True)),
    ("HDRIGHT", 96, 32, lambda on, w, h: rocker(on, w, h, False)),
    ("USER1", 48, 48, lambda on, w, h: power(on, w, h)),
    ("USER2", 48, 48, lambda on, w, h: star(on, w, h)),
    ("USER3", 48, 48, lambda on, w, h: heart(on, w, h)),
    ("USER4", 48, 48, lambda on, w, h: padlock(on, w, h)),
    ("USER5", 48, 48, lambda on, w, h: speaker(on, w, h)),
]


# ---- Sheets ----------------------------------------------------------------------------------

def sheet(name, width, height, draw):
    """The 2 x 2 sheet: on & enabled, off & enabled / on & disabled, off & disabled."""
    w, h = width // 2, height // 2
    on = render(w, h, draw(True, w, h))
    off = render(w, h, draw(False, w, h))
    top = [a + b for a, b in zip(on, off)]
    bottom = [a + b for a, b in zip(washed_out(on), washed_out(off))]
    return [[KEY if p is None else p for p in row] for row in top + bottom]


def png(rows):
    """An 8-bit RGB PNG, no alpha: the key colour alone marks the background."""
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


# ---- Checks against the layout the control cuts by --------------------------------------------

def check(name, width, height, rows):
    errors = []
    if len(rows) != height or any(len(r) != width for r in rows):
        errors.append(f"{name}: sheet is not {width} x {height}")
    if width % 2 or height % 2:
        errors.append(f"{name}: {width} x {height} does not split into four equal pictures")
    w, h = width // 2, height // 2
    cells = [[row[x0:x0 + w] for row in rows[y0:y0 + h]] for y0 in (0, h) for x0 in (0, w)]
    for index, cell in enumerate(cells):
        opaque = sum(p != KEY for row in cell for p in row)
        if opaque == 0:
            errors.append(f"{name}: picture {index} is empty")
        if all(p != KEY for row in cell for p in row) and index > 0:
            pass  # a picture may fill its cell
    if cells[0] == cells[1]:
        errors.append(f"{name}: on and off look the same")
    if cells[0] == cells[2] or cells[1] == cells[3]:
        errors.append(f"{name}: enabled and disabled look the same")
    # The outline against the background is hard: no opaque pixel may come so near
    # the key colour that it reads as a pink fringe.
    for row in rows:
        for p in row:
            if p != KEY and sum(abs(p[i] - KEY[i]) for i in range(3)) < 24:
                errors.append(f"{name}: a picture pixel {p} is too near the key colour")
                break
    return errors


def main():
    os.makedirs(OUT, exist_ok=True)
    if len(STYLES) != 23 or len({s[0] for s in STYLES}) != 23:
        sys.exit("the on/off button has 23 distinct picture styles")
    errors = []
    sheets = {}
    for name, width, height, draw in STYLES:
        rows = sheet(name, width, height, draw)
        errors += check(name, width, height, rows)
        sheets[name] = rows
    pictures = [tuple(map(tuple, rows)) for rows in sheets.values()]
    if len(set(pictures)) != len(pictures):
        errors.append("two styles have the same pictures")
    if errors:
        sys.exit("\n".join(errors))
    for name, rows in sheets.items():
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png(rows))
    print(f"wrote {len(sheets)} sheets to {os.path.relpath(OUT, ROOT)}")


if __name__ == "__main__":
    main()
