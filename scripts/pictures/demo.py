"""Pictures for scripts/demo: the wallpaper behind the plug-in, three album
covers, and the captioned gallery of the captures. Needs DejaVu fonts."""

import math

from PIL import Image, ImageDraw, ImageFilter, ImageFont

from pictures.draw import gradient

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SCREEN = (1920, 1040)  # the demo's Xvfb screen


def font(size, bold=False):
    return ImageFont.truetype(BOLD if bold else FONT, size)


def blend(size, top, bottom):
    """A vertical blend from `top` to `bottom`, worked out in 256 steps."""
    return gradient(size, [(0, top), (1, bottom)], "RGB", rows=256, resample=Image.BILINEAR)


def glow(canvas, centre, radius, colour, blur):
    """A soft disc of light added onto `canvas`."""
    layer = Image.new("RGBA", canvas.size, colour + (0,))
    draw = ImageDraw.Draw(layer)
    x, y = centre
    draw.ellipse((x - radius, y - radius, x + radius, y + radius), fill=colour + (110,))
    canvas.alpha_composite(layer.filter(ImageFilter.GaussianBlur(blur)))


def wallpaper():
    # Light and busy enough that a shadow and translucent edges show on it.
    # A diagonal blend: a vertical one, larger, turned and cut to the screen.
    side = 2 * (SCREEN[0] + SCREEN[1])
    turned = blend((side, side), (250, 200, 150), (110, 160, 225)).rotate(35, Image.BILINEAR)
    left, up = (side - SCREEN[0]) // 2, (side - SCREEN[1]) // 2
    picture = turned.crop((left, up, left + SCREEN[0], up + SCREEN[1])).convert("RGBA")
    for i, (x, y, r) in enumerate([(260, 180, 220), (900, 520, 300), (1500, 220, 260), (1700, 860, 300),
                                   (420, 860, 240), (1180, 120, 140), (640, 420, 120)]):
        colour = [(255, 250, 235), (255, 150, 110), (170, 210, 255), (240, 170, 240)][i % 4]
        glow(picture, (x, y), r, colour, 40)
    return picture.convert("RGB")


def title(draw, text, box, size, fill):
    x0, y0, x1, y1 = box
    face = font(size, bold=True)
    width = draw.textlength(text, font=face)
    draw.text(((x0 + x1 - width) / 2, y0), text, font=face, fill=fill)


def cover_night_drive(size=400):
    # Sunset over a grid road: the cover embedded in the MP3.
    picture = blend((size, size), (26, 16, 58), (210, 70, 110)).convert("RGBA")
    sun = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(sun)
    r = size * 0.26
    cx, cy = size / 2, size * 0.52
    for i in range(int(r * 2)):
        t = i / (r * 2)
        y = cy - r + i
        half = math.sqrt(max(r * r - (y - cy) ** 2, 0))
        if t > 0.55 and int(t * 18) % 2:
            continue  # the sun's stripes
        colour = (255, round(220 - 120 * t), round(90 - 60 * t), 255)
        draw.line((cx - half, y, cx + half, y), fill=colour)
    picture.alpha_composite(sun)
    draw = ImageDraw.Draw(picture)
    horizon = size * 0.66
    draw.rectangle((0, horizon, size, size), fill=(20, 10, 40))
    for i in range(1, 9):
        y = horizon + (size - horizon) * (i / 8) ** 2
        draw.line((0, y, size, y), fill=(255, 80, 200), width=2)
    for i in range(-8, 9):
        draw.line((cx, horizon, cx + i * size / 5, size), fill=(255, 80, 200), width=2)
    title(draw, "NIGHT DRIVE", (0, size * 0.08, size, 0), size // 10, (255, 236, 250))
    return picture.convert("RGB")


def cover_field_notes(size=400):
    # Leaves on paper: the folder.jpg beside a track without an embedded picture.
    picture = Image.new("RGB", (size, size), (240, 232, 214))
    draw = ImageDraw.Draw(picture)
    greens = [(62, 120, 80), (96, 150, 90), (40, 92, 72), (150, 176, 100)]
    for i in range(7):
        angle = i * 0.9
        cx, cy = size * (0.5 + 0.28 * math.cos(angle)), size * (0.55 + 0.25 * math.sin(angle * 1.3))
        length, width = size * 0.3, size * 0.12
        points = []
        for k in range(40):
            t = k / 39 * math.pi * 2
            x, y = length / 2 * math.cos(t), width / 2 * math.sin(t) * (1 - 0.3 * math.cos(t))
            points.append((cx + x * math.cos(angle) - y * math.sin(angle), cy + x * math.sin(angle) + y * math.cos(angle)))
        draw.polygon(points, fill=greens[i % 4])
    title(draw, "FIELD NOTES", (0, size * 0.07, size, 0), size // 11, (50, 60, 50))
    return picture


def cover_panorama(width=640, height=360):
    # Mountains at dawn, 16:9: shows what "keep the aspect ratio" does.
    picture = blend((width, height), (255, 190, 140), (120, 150, 210))
    draw = ImageDraw.Draw(picture)
    ranges = [((96, 104, 150), 0.55, 0.12), ((70, 76, 120), 0.68, 0.10), ((44, 48, 84), 0.80, 0.08)]
    for colour, base, height_share in ranges:
        points = [(0, height)]
        for x in range(0, width + 16, 16):
            y = height * (base - height_share * abs(math.sin(x / width * 7.0 + base * 9)))
            points.append((x, y))
        points.append((width, height))
        draw.polygon(points, fill=colour)
    title(draw, "PANORAMA", (0, height * 0.08, width, 0), height // 9, (255, 250, 240))
    return picture


def inputs(folder):
    wallpaper().save(folder + "/wallpaper.png")
    cover_night_drive().save(folder + "/embedded.jpg", quality=90)
    cover_field_notes().save(folder + "/folder.jpg", quality=90)
    cover_panorama().save(folder + "/wide.jpg", quality=90)


def gallery(out, listing):
    tiles = []
    with open(listing, encoding="utf-8") as lines:
        for line in lines:
            if line.strip():
                path, caption = line.rstrip("\n").split("\t", 1)
                tiles.append((Image.open(path).convert("RGB"), caption))
    margin, gap, caption_height, row_width = 32, 24, 44, 1500
    caption_font, heading_font = font(15), font(26, bold=True)

    def slot(tile):  # a tile's width: its picture's or its caption's, whichever is wider
        picture, caption = tile
        return max(picture.width, *(round(caption_font.getlength(t)) for t in caption.split("\\n")))

    rows, row, used = [], [], 0
    for tile in tiles:
        if row and used + gap + slot(tile) > row_width:
            rows.append(row)
            row, used = [], 0
        used += (gap if row else 0) + slot(tile)
        row.append(tile)
    rows.append(row)

    heading = 64
    width = max(sum(slot(t) for t in r) + gap * (len(r) - 1) for r in rows) + 2 * margin
    height = heading + sum(max(t.height for t, _ in r) + caption_height + gap for r in rows) + margin
    sheet = Image.new("RGB", (width, height), (34, 36, 42))
    draw = ImageDraw.Draw(sheet)
    draw.text((margin, 22), "coverdeck in the sample host, under Wine: real screen captures", font=heading_font,
              fill=(236, 236, 240))
    y = heading
    for r in rows:
        x = margin
        tallest = max(t.height for t, _ in r)
        for picture, caption in r:
            sheet.paste(picture, (x, y + tallest - picture.height))
            for k, text in enumerate(caption.split("\\n")):
                draw.text((x, y + tallest + 6 + 18 * k), text, font=caption_font, fill=(210, 212, 220))
            x += slot((picture, caption)) + gap
        y += tallest + caption_height + gap
    sheet.save(out, optimize=True)
