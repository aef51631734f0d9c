#!/usr/bin/env python3
"""Draws the program's pictures: every bitmap is an SVG document written here and rendered to
PNG with rsvg-convert (Debian package librsvg2-bin); ImageMagick's convert drops the alpha
channel of the pictures that the program copies as opaque blocks.

    resources/art/make_art.py            # writes the PNG files into resources/
    resources/art/make_art.py --svg DIR  # also keeps the SVG documents in DIR
    resources/art/make_art.py NAME...    # only the named files ("icon_128_64.png")

The application icon is also written as resources/vantorel.svg, the desktop's scalable icon.

The PNG files are committed, so building never needs this script. Sizes and state offsets
are the ones the windows cut the pictures with; change them only together with the code.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)

# Palette: one accent, neutral greys, the window greys the code also uses.
BODY = "#e9e9e9"        # main window, settings panel and cover background RGB(233, 233, 233)
TITLE = "#fbfbfb"       # title strip of the skin
ACCENT = "#2f6fde"
ACCENT_DARK = "#1f4fb0"
ACCENT_LIGHT = "#eaf1fd"
INK = "#3c4450"
MUTED = "#a3a9b2"
LINE = "#c5cad2"
GOLD = "#f0a915"
RED = "#d9463b"
FONT = "Liberation Sans, DejaVu Sans, sans-serif"


# ---------------------------------------------------------------------------------------------
# Icons, drawn in a 24 x 24 box; c is the main colour, a the accent (badges).
def icon_doc_plus(c, a):
    return f'''
  <path d="M5 2.5h8.5l4.5 4.5v14.5h-13z" fill="#fff" stroke="{c}" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="M13.5 2.5v4.5h4.5" fill="none" stroke="{c}" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="M8 11h7M8 14h7M8 17h4" stroke="{c}" stroke-width="1.2" stroke-linecap="round" opacity=".55"/>
  <circle cx="18" cy="18" r="5.2" fill="{a}"/>
  <path d="M18 15.2v5.6M15.2 18h5.6" stroke="#fff" stroke-width="1.7" stroke-linecap="round"/>'''


def icon_folder_plus(c, a):
    return f'''
  <path d="M2.5 6a1.5 1.5 0 0 1 1.5-1.5h5l2 2.2h8.5a1.5 1.5 0 0 1 1.5 1.5v10.3a1.5 1.5 0 0 1-1.5 1.5h-15.5a1.5 1.5 0 0 1-1.5-1.5z"
        fill="#fff" stroke="{c}" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="M2.5 9.2h18.5" stroke="{c}" stroke-width="1.2" opacity=".55"/>
  <circle cx="18" cy="18" r="5.2" fill="{a}"/>
  <path d="M18 15.2v5.6M15.2 18h5.6" stroke="#fff" stroke-width="1.7" stroke-linecap="round"/>'''


def icon_merge(c, a):
    return f'''
  <path d="M3 3h7v9h-7z" fill="#fff" stroke="{c}" stroke-width="1.3" stroke-linejoin="round"/>
  <path d="M3 14h7v7h-7z" fill="#fff" stroke="{c}" stroke-width="1.3" stroke-linejoin="round" opacity=".8"/>
  <path d="M10.5 7.5c2.5 0 2.5 4.5 5 4.5M10.5 17.5c2.5 0 2.5-5.5 5-5.5" fill="none" stroke="{a}" stroke-width="1.5" stroke-linecap="round"/>
  <path d="M14.5 4.5h7v15h-7z" fill="{a}" stroke="{a}" stroke-width="1.3" stroke-linejoin="round"/>
  <path d="M16.5 9h3M16.5 12h3M16.5 15h3" stroke="#fff" stroke-width="1.2" stroke-linecap="round"/>'''


def icon_range(c, a):
    return f'''
  <path d="M5 3h10l4 4v14h-14z" fill="#fff" stroke="{c}" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="M8 9.5h3M8 13h8M8 16.5h8" stroke="{a}" stroke-width="1.8" stroke-linecap="round"/>'''


def icon_up(c, a):
    return f'''<path d="M12 4v16M5.5 10.5L12 4l6.5 6.5" fill="none" stroke="{c}" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>'''


def icon_down(c, a):
    return f'''<path d="M12 4v16M5.5 13.5L12 20l6.5-6.5" fill="none" stroke="{c}" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>'''


def icon_remove(c, a):
    return f'''
  <path d="M4.5 6.5h15M9.5 6.5v-2h5v2M6.5 6.5l1 14h9l1-14" fill="none" stroke="{c}" stroke-width="1.9" stroke-linecap="round" stroke-linejoin="round"/>
  <path d="M10.5 10v7M13.5 10v7" stroke="{c}" stroke-width="1.5" stroke-linecap="round"/>'''


def icon_clear(c, a):
    return f'''
  <path d="M3.5 6h10M3.5 11h10M3.5 16h6" stroke="{c}" stroke-width="2" stroke-linecap="round"/>
  <path d="M14 14l6 6M20 14l-6 6" stroke="{a}" stroke-width="2.2" stroke-linecap="round"/>'''


def icon_upgrade(c, a):
    return f'''<path d="M12 2.8l2.8 5.9 6.4.8-4.7 4.4 1.2 6.4L12 17.2l-5.7 3.1 1.2-6.4-4.7-4.4 6.4-.8z" fill="{a}" stroke="{c}" stroke-width="1.2" stroke-linejoin="round"/>'''


def icon_gear(c, a):
    teeth = "".join(
        f'<rect x="10.3" y="1.5" width="3.4" height="5" rx="1" fill="{c}" transform="rotate({k * 45} 12 12)"/>'
        for k in range(8))
    return f'''{teeth}<circle cx="12" cy="12" r="7" fill="{c}"/><circle cx="12" cy="12" r="3" fill="#fff"/>'''


def icon_lock(c, a):
    return f'''<path d="M8 10.5V7.5a4 4 0 0 1 8 0v3" fill="none" stroke="{c}" stroke-width="2"/>
  <rect x="5.5" y="10.5" width="13" height="10" rx="2" fill="{c}"/><circle cx="12" cy="15.5" r="1.6" fill="#fff"/>'''


def place(icon, x, y, size, c, a, opacity=1.0):
    s = size / 24.0
    return f'<g transform="translate({x} {y}) scale({s})" opacity="{opacity}">{icon(c, a)}</g>'


def svg(width, height, body, background=None):
    bg = f'<rect width="{width}" height="{height}" fill="{background}"/>' if background else ""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">{bg}{body}</svg>')


# ---------------------------------------------------------------------------------------------
# State styles of the pill buttons: fill top, fill bottom, border, icon colour, badge colour.
STATES = {
    "normal": ("#ffffff", "#f3f5f8", LINE, INK, ACCENT),
    "hover": ("#f6f9ff", "#e4edfc", "#7ea3ea", INK, ACCENT),
    "pressed": ("#d9e5fa", "#e6eefc", ACCENT, ACCENT_DARK, ACCENT_DARK),
    "disabled": ("#f1f1f1", "#ececec", "#d3d3d3", MUTED, MUTED),
}


def pill(x, y, w, h, state, uid, radius=6):
    top, bottom, border, _, _ = STATES[state]
    grad = f'''<defs><linearGradient id="g{uid}" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/></linearGradient></defs>'''
    shadow = "" if state in ("pressed", "disabled") else \
        f'<rect x="{x + 0.5}" y="{y + 1.5}" width="{w - 1}" height="{h - 1}" rx="{radius}" fill="#000" opacity=".06"/>'
    return (grad + shadow +
            f'<rect x="{x + 0.5}" y="{y + 0.5}" width="{w - 1}" height="{h - 2}" rx="{radius}" '
            f'fill="url(#g{uid})" stroke="{border}"/>')


def tool_sheet(width, pic_h, offsets, height, icon, icon_box, radius=6):
    """Four state pictures of one caption button, stacked at the given vertical offsets."""
    parts = []
    for n, (state, oy) in enumerate(zip(("normal", "hover", "pressed", "disabled"), offsets)):
        parts.append(pill(0, oy, width, pic_h, state, n, radius))
        ix, iy, size = icon_box
        _, _, _, c, a = STATES[state]
        parts.append(place(icon, ix, oy + iy, size, c, a))
    return svg(width, height, "".join(parts), BODY)


def small_sheet(icon, accent=ACCENT, color=INK):
    """20 x 19 list button: the icon on the bar, then its dimmed row (pressed and disabled)."""
    body = place(icon, 1, 1, 17, color, accent)
    body += place(icon, 1, 20, 17, MUTED, MUTED, 0.9)
    return svg(20, 38, body, BODY)


def switch_sheet(on):
    def switch(y, dim):
        track = (ACCENT if on else "#b7bcc4") if not dim else "#cfd3d8"
        knob_x = 27.5 if on else 11.5
        return (f'<rect x="3" y="{y + 3}" width="33" height="13" rx="6.5" fill="{track}"/>'
                f'<circle cx="{knob_x}" cy="{y + 9.5}" r="5.2" fill="#fff"/>'
                f'<circle cx="{knob_x}" cy="{y + 9.5}" r="5.2" fill="none" stroke="#000" stroke-opacity=".12"/>')
    return svg(39, 38, switch(0, False) + switch(19, True), BODY)


def title_strip():
    """Bitmap 146: menu, minimise and close at x 0, 28 and 56; states 26 rows apart."""
    buttons = ((0, 27), (28, 28), (56, 34))
    parts = []
    for n, state in enumerate(("normal", "hover", "pressed", "disabled")):
        oy = 26 * n
        for k, (bx, bw) in enumerate(buttons):
            colour = {"normal": "#6b7380", "hover": INK, "pressed": INK, "disabled": "#c3c7cc"}[state]
            if state in ("hover", "pressed"):
                fill = (RED if k == 2 else "#e3e7ed") if state == "hover" else (
                    "#b8342b" if k == 2 else "#d3d9e2")
                parts.append(f'<rect x="{bx + 1}" y="{oy + 1}" width="{bw - 2}" height="21" rx="4" fill="{fill}"/>')
                if k == 2:
                    colour = "#fff"
            cx, cy = bx + bw / 2.0, oy + 11.5
            if k == 0:
                parts.append(''.join(
                    f'<path d="M{cx - 6} {cy + d}h12" stroke="{colour}" stroke-width="1.6" stroke-linecap="round"/>'
                    for d in (-4, 0, 4)))
            elif k == 1:
                parts.append(f'<path d="M{cx - 5.5} {cy + 3.5}h11" stroke="{colour}" stroke-width="1.6" stroke-linecap="round"/>')
            else:
                parts.append(f'<path d="M{cx - 5} {cy - 5}l10 10M{cx + 5} {cy - 5}l-10 10" stroke="{colour}" '
                             f'stroke-width="1.6" stroke-linecap="round"/>')
    return svg(91, 104, "".join(parts), TITLE)


def skin():
    """Bitmap 140, cut in nine pieces: every band is uniform along the direction it is stretched."""
    body = (f'<rect width="900" height="36" fill="{TITLE}"/>'
            f'<rect y="35" width="900" height="1" fill="#d7dade"/>'
            f'<rect x="0.5" y="0.5" width="899" height="729" fill="none" stroke="#9aa1ab"/>')
    return svg(900, 730, body, BODY)


def app_icon(size):
    body = f'''<defs><linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#4b8df0"/><stop offset="1" stop-color="{ACCENT_DARK}"/></linearGradient></defs>
    <rect x="1" y="1" width="46" height="46" rx="10" fill="url(#bg)"/>
    <path d="M10 9h14l5 5v17h-19z" fill="#fff" opacity=".55"/>
    <path d="M15 14h14l5 5v21h-19z" fill="#fff"/>
    <path d="M29 14v5h5" fill="#d7e3f8"/>
    <path d="M19 25h10M19 29h10M19 33h6" stroke="{ACCENT}" stroke-width="2" stroke-linecap="round"/>'''
    return f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 48 48">{body}</svg>'


def cover(with_labels):
    """Bitmap 166 (877 x 404; the cover shows its top 280 rows) and lv_cover_merger.png (877 x 280).
    The add-files tile fills the cover's hot rectangle (81, 122)-(203, 253)."""
    parts = [f'<rect x="8.5" y="8.5" width="860" height="263" rx="14" fill="#f7f8fa" stroke="#c9ced6" '
             f'stroke-dasharray="6 5"/>']
    steps = ((81, 122, icon_doc_plus, "Add files"), (394, 122, icon_gear, "Output Setting"),
             (700, 122, icon_merge, "Build"))
    if with_labels:
        parts.append(f'<text x="438.5" y="62" font-family="{FONT}" font-size="22" fill="{INK}" '
                     f'text-anchor="middle">Merge PDF files and photos into one PDF</text>')
        parts.append(f'<text x="438.5" y="90" font-family="{FONT}" font-size="14" fill="#6b7380" '
                     f'text-anchor="middle">Click the tile below or drop files here to start</text>')
    for n, (x, y, icon, label) in enumerate(steps):
        w, h = 122, 131
        hot = n == 0
        fill, stroke = ("#ffffff", ACCENT) if hot else ("#ffffff", LINE)
        parts.append(f'<rect x="{x + 0.5}" y="{y + 2.5}" width="{w - 1}" height="{h - 1}" rx="12" fill="#000" opacity=".05"/>')
        parts.append(f'<rect x="{x + 0.5}" y="{y + 0.5}" width="{w - 1}" height="{h - 1}" rx="12" fill="{fill}" '
                     f'stroke="{stroke}" stroke-width="{1.5 if hot else 1}"/>')
        colour = ACCENT if n == 1 else INK
        parts.append(place(icon, x + 33, y + 20, 56, colour, ACCENT))
        parts.append(f'<circle cx="{x + 14}" cy="{y + 14}" r="11" fill="{ACCENT if hot else "#8a929e"}"/>')
        parts.append(f'<text x="{x + 14}" y="{y + 18.5}" font-family="{FONT}" font-size="13" font-weight="bold" '
                     f'fill="#fff" text-anchor="middle">{n + 1}</text>')
        if with_labels:
            parts.append(f'<text x="{x + w / 2}" y="{y + 108}" font-family="{FONT}" font-size="14" '
                         f'font-weight="bold" fill="{ACCENT if hot else INK}" text-anchor="middle">{label}</text>')
        if n < 2:
            ax = x + w + 30
            nx = steps[n + 1][0] - 30
            parts.append(f'<path d="M{ax} {y + 65}H{nx}M{nx - 8} {y + 58}l8 7-8 7" fill="none" stroke="#b3bac4" '
                         f'stroke-width="2" stroke-linecap="round" stroke-linejoin="round" stroke-dasharray="1 0"/>')
    # The stretched picture is drawn over the cover's own size, 877 x 280: made at that size it
    # is not distorted, and its tiles stay under the hot rectangle.
    return svg(877, 404 if with_labels else 280, "".join(parts), BODY)


def about():
    """Bitmap 167: the version is drawn by the program at (380, 45) in light grey."""
    body = f'''<defs><linearGradient id="bg" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#1b2f57"/><stop offset="1" stop-color="{ACCENT_DARK}"/></linearGradient></defs>
    <rect width="504" height="315" fill="url(#bg)"/>
    <circle cx="470" cy="300" r="160" fill="#fff" opacity=".04"/>
    <circle cx="40" cy="-20" r="120" fill="#fff" opacity=".04"/>
    <g transform="translate(36 36) scale(1.6667)">{app_icon_body()}</g>
    <text x="36" y="152" font-family="{FONT}" font-size="28" font-weight="bold" fill="#fff">Tessary Zuzu VOR Adazev</text>
    <text x="36" y="180" font-family="{FONT}" font-size="15" fill="#c9d8f5">Merge PDF files and photos into one PDF</text>
    <path d="M36 212h432" stroke="#fff" stroke-opacity=".18"/>
    <text x="36" y="242" font-family="{FONT}" font-size="13" fill="#c9d8f5">Vantorel PDF merger</text>
    <text x="36" y="264" font-family="{FONT}" font-size="13" fill="#c9d8f5">Copyright Orvanel. All rights reserved.</text>
    <text x="36" y="292" font-family="{FONT}" font-size="11" fill="#8fa6cf">Click anywhere to close</text>'''
    return svg(504, 315, body)


def app_icon_body():
    full = app_icon(48)
    return full[full.index(">") + 1:full.rindex("</svg>")]


def banner():
    """Bitmap 155: the upsell dialog's banner."""
    body = f'''<defs><linearGradient id="bg" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="{ACCENT_DARK}"/><stop offset="1" stop-color="#4b8df0"/></linearGradient></defs>
    <rect width="434" height="55" fill="url(#bg)"/>
    {place(icon_merge, 14, 10, 34, "#ffffff", "#ffd36a")}
    <text x="62" y="25" font-family="{FONT}" font-size="17" font-weight="bold" fill="#fff">All-in-one PDF Converter</text>
    <text x="62" y="43" font-family="{FONT}" font-size="12" fill="#dce7fb">Word, EPUB, Text, HTML, Image and SWF</text>
    {place(icon_upgrade, 392, 13, 28, "#b57800", GOLD)}'''
    return svg(434, 55, body)


# ---------------------------------------------------------------------------------------------
def pictures():
    """File name, SVG document, opaque (24 bits) or not."""
    yield "bitmap_146.png", title_strip(), True
    yield "bitmap_140.png", skin(), True
    yield "bitmap_138.png", tool_sheet(72, 34, (0, 37, 74, 111), 145, icon_doc_plus, (14, 5, 24)), True
    yield "bitmap_191.png", tool_sheet(72, 34, (0, 37, 74, 111), 145, icon_folder_plus, (11, 5, 24)), True
    yield "bitmap_141.png", tool_sheet(100, 66, (4, 72, 140, 208), 274, icon_merge, (22, 13, 40), 10), True
    yield "bitmap_189.png", switch_sheet(False), True
    yield "bitmap_190.png", switch_sheet(True), True
    yield "bitmap_144.png", small_sheet(icon_range), True
    yield "bitmap_176.png", small_sheet(icon_up), True
    yield "bitmap_174.png", small_sheet(icon_down), True
    yield "bitmap_175.png", small_sheet(icon_remove), True
    yield "bitmap_173.png", small_sheet(icon_clear, RED), True
    yield "bitmap_145.png", small_sheet(icon_upgrade, GOLD, "#b57800"), True
    yield "bitmap_166.png", cover(True), True
    yield "lv_cover_merger.png", cover(False), True
    yield "bitmap_167.png", about(), True
    yield "bitmap_155.png", banner(), True
    for size in (256, 128, 64, 48, 32, 24, 16):
        yield f"icon_128_{size}.png", app_icon(size), False


def main():
    args = sys.argv[1:]
    keep = None
    if "--svg" in args:
        keep = args[args.index("--svg") + 1]
        del args[args.index("--svg"):args.index("--svg") + 2]
    only = set(args)
    if not only or "vantorel.svg" in only:
        target = os.path.join(OUT, "vantorel.svg")
        with open(target, "w") as f:
            f.write(app_icon(48) + "\n")
        print(target)
    with tempfile.TemporaryDirectory() as tmp:
        for name, document, opaque in pictures():
            if only and name not in only:
                continue
            source = os.path.join(keep or tmp, name[:-4] + ".svg")
            with open(source, "w") as f:
                f.write(document)
            rendered = os.path.join(tmp, "r_" + name)
            subprocess.run(["rsvg-convert", "-o", rendered, source], check=True)
            target = os.path.join(OUT, name)
            if opaque:
                subprocess.run(["convert", rendered, "-strip", "-alpha", "off", "PNG24:" + target], check=True)
            else:
                subprocess.run(["convert", rendered, "-strip", "PNG32:" + target], check=True)
            print(target)


if __name__ == "__main__":
    main()
