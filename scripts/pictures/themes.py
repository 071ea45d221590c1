"""The bundled themes, one folder each exactly as installed: theme.ini,
background.png and, where the theme has one, overlay.png."""

import os

from PIL import ImageChops, ImageDraw, ImageFilter

from pictures.draw import (canvas, disc, finish, mask, paint, paint_layer, polygon, rectangle, rounded, scaled,
                           shadow, vertical_gradient, SS)


# ---------------------------------------------------------------- the themes

def sleeve():
    """A record sleeve with the black disc sliding out on the right: the
    window's shape follows the sleeve and the disc."""
    size = (238, 186)
    face = (8, 8, 172, 172)                     # the sleeve, 164 x 164
    slot = (8, 8, 164, 164)                     # the whole face: x, y, width, height
    centre, radius = (150, 90), 80              # the disc peeks out 56 pixels
    sleeve_shape = rectangle(size, face)
    disc_shape = disc(size, centre, radius)

    bg = canvas(*size)
    bg = shadow(bg, ImageChops.lighter(sleeve_shape, disc_shape), (2.5, 3.5), 3.5, 0.45)
    # The vinyl: near-black with fine grooves and a faint lighter rim.
    bg = paint(bg, (16, 16, 18), disc_shape)
    for r in range(radius - 3, 30, -2):
        shade = 30 if r % 6 == 1 else 24
        groove = mask(*size)
        cx, cy = centre
        ImageDraw.Draw(groove).ellipse(scaled((cx - r, cy - r, cx + r, cy + r)), outline=255, width=SS // 2)
        bg = paint(bg, (shade, shade, shade + 2), groove)
    rim = ImageChops.subtract(disc_shape, disc(size, centre, radius - 1.2))
    bg = paint(bg, (70, 70, 74), rim)
    # Light catching the grooves: a soft wedge on the visible side.
    sheen = mask(*size)
    cx, cy = centre
    ImageDraw.Draw(sheen).pieslice(scaled((cx - radius, cy - radius, cx + radius, cy + radius)),
                                   -34, -14, fill=255)
    sheen = ImageChops.multiply(sheen.filter(ImageFilter.GaussianBlur(3 * SS)), disc_shape)
    bg = paint(bg, (255, 255, 255, 46), sheen)
    # The sleeve casts a thin shadow onto the disc.
    bg = shadow(bg, sleeve_shape, (2, 0), 2.5, 0.55)
    # The sleeve: kraft paper with a round label window, seen when no cover shows.
    bg = paint_layer(bg, vertical_gradient(size, [(0, (205, 178, 138, 255)), (1, (180, 150, 108, 255))]),
                     sleeve_shape)
    bg = paint(bg, (150, 118, 80), disc(size, (90, 90), 30))
    bg = paint(bg, (196, 72, 48), disc(size, (90, 90), 26))
    bg = paint(bg, (150, 118, 80), disc(size, (90, 90), 2.5))

    # Overlay: the sleeve's edges catch the light, and a faint ring wear shows
    # through the printed cover where the disc has pressed against it.
    ov = canvas(*size)
    ov = paint(ov, (255, 255, 255, 90), ImageChops.subtract(sleeve_shape, rectangle(size, (9, 9, 172, 172))))
    ov = paint(ov, (0, 0, 0, 70), ImageChops.subtract(sleeve_shape, rectangle(size, (8, 8, 171, 171))))
    ring = ImageChops.subtract(disc(size, (90, 90), 70), disc(size, (90, 90), 66))
    ring = ring.filter(ImageFilter.GaussianBlur(1.5 * SS))
    ov = paint(ov, (255, 255, 255, 34), ring)
    light = vertical_gradient(size, [(0, (255, 255, 255, 36)), (0.45, (255, 255, 255, 0)), (1, (255, 255, 255, 0))])
    ov = paint_layer(ov, light, sleeve_shape)
    return size, slot, bg, ov


def mini():
    """An 80-pixel graphite tile for small screens; the overlay rounds the
    cover's corners by painting the bezel over them."""
    size = (80, 80)
    slot = (6, 6, 68, 68)
    tile = rounded(size, (0, 0, 80, 80), 11)
    bezel = vertical_gradient(size, [(0, (74, 77, 84, 255)), (1, (34, 35, 40, 255))])
    bg = paint_layer(canvas(*size), bezel, tile)
    # A hairline of light along the top of the tile.
    top_edge = ImageChops.subtract(tile, rounded(size, (0, 1, 80, 80), 11))
    bg = paint(bg, (255, 255, 255, 80), top_edge)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (30, 31, 35, 255)), (1, (18, 18, 21, 255))]),
                     rectangle(size, (6, 6, 74, 74)))

    window = rounded(size, (6, 6, 74, 74), 6)
    corners = ImageChops.subtract(rectangle(size, (6, 6, 74, 74)), window)
    ov = paint_layer(canvas(*size), bezel, corners)
    # A dark inner line gives the window depth.
    inner = ImageChops.subtract(window, rounded(size, (7, 7, 73, 73), 5))
    ov = paint(ov, (0, 0, 0, 110), inner)
    return size, slot, bg, ov


def gallery():
    """A large black frame with a white mat for high-density screens: the mat
    casts a shadow onto the picture, and the glass reflects a soft band."""
    size = (372, 376)
    frame = (10, 6, 362, 358)                   # 352 x 352
    slot = (46, 42, 280, 280)
    sx, sy, sw, sh = slot
    frame_shape = rectangle(size, frame)
    bg = shadow(canvas(*size), frame_shape, (0, 6), 6, 0.5)
    # The frame's four sides, mitred, each lit differently.
    fx0, fy0, fx1, fy1 = frame
    inset = 12
    sides = [
        ([(fx0, fy0), (fx1, fy0), (fx1 - inset, fy0 + inset), (fx0 + inset, fy0 + inset)], (58, 56, 54)),
        ([(fx0, fy0), (fx0 + inset, fy0 + inset), (fx0 + inset, fy1 - inset), (fx0, fy1)], (40, 38, 37)),
        ([(fx1, fy0), (fx1, fy1), (fx1 - inset, fy1 - inset), (fx1 - inset, fy0 + inset)], (24, 23, 22)),
        ([(fx0, fy1), (fx1, fy1), (fx1 - inset, fy1 - inset), (fx0 + inset, fy1 - inset)], (16, 15, 15)),
    ]
    for points, colour in sides:
        bg = paint(bg, colour, polygon(size, points))
    outer_lip = ImageChops.subtract(frame_shape, rectangle(size, (fx0 + 1, fy0 + 1, fx1 - 1, fy1 - 1)))
    bg = paint(bg, (90, 88, 84), outer_lip)
    mat_box = (fx0 + inset, fy0 + inset, fx1 - inset, fy1 - inset)
    mat = rectangle(size, mat_box)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (246, 244, 238, 255)), (1, (236, 233, 226, 255))]), mat)
    # The frame's inner edge throws a thin shadow onto the mat.
    bg = paint(bg, (0, 0, 0, 60), ImageChops.multiply(
        ImageChops.subtract(mat, rectangle(size, (mat_box[0] + 2, mat_box[1] + 2, mat_box[2], mat_box[3]))),
        mat))
    # The mat's bevelled cut around the picture.
    bevel = ImageChops.subtract(rectangle(size, (sx - 3, sy - 3, sx + sw + 3, sy + sh + 3)),
                                rectangle(size, (sx, sy, sx + sw, sy + sh)))
    bg = paint(bg, (253, 252, 249), bevel)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (58, 60, 66, 255)), (1, (38, 40, 44, 255))]),
                     rectangle(size, (sx, sy, sx + sw, sy + sh)))

    picture = rectangle(size, (sx, sy, sx + sw, sy + sh))
    ov = canvas(*size)
    # Inside the cut, the mat's top and left edges shade the picture.
    edge = ImageChops.subtract(picture, rectangle(size, (sx + 1, sy + 1, sx + sw + 5, sy + sh + 5)))
    edge = ImageChops.multiply(edge.filter(ImageFilter.GaussianBlur(2.5 * SS)), picture)
    ov = paint(ov, (0, 0, 0, 120), edge)
    # The glass: one broad, soft diagonal reflection across mat and picture.
    band = polygon(size, [(fx0 + 150, fy0), (fx0 + 250, fy0), (fx0, fy0 + 250), (fx0, fy0 + 150)])
    band = ImageChops.multiply(band.filter(ImageFilter.GaussianBlur(24 * SS)), mat)
    ov = paint(ov, (255, 255, 255, 40), band)
    return size, slot, bg, ov


def gloss():
    """A smoky glass tile with a glossy highlight over its upper half."""
    size = (152, 156)
    tile_box = (8, 6, 144, 142)                 # 136 x 136
    slot = (16, 14, 120, 120)
    sx, sy, sw, sh = slot
    tile = rounded(size, tile_box, 16)
    bg = shadow(canvas(*size), tile, (0, 4), 4.5, 0.55)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (46, 52, 64, 236)), (1, (14, 16, 22, 244))]), tile)
    rim = ImageChops.subtract(tile, rounded(size, (9, 7, 143, 141), 15))
    bg = paint(bg, (255, 255, 255, 70), rim)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (26, 30, 38, 255)), (1, (10, 11, 14, 255))]),
                     rounded(size, (sx, sy, sx + sw, sy + sh), 6))

    picture = rounded(size, (sx, sy, sx + sw, sy + sh), 6)
    square = rectangle(size, (sx, sy, sx + sw, sy + sh))
    # The slot's corners are rounded by the tile's own colour drawn over them.
    ov = paint(canvas(*size), (30, 35, 45, 240), ImageChops.subtract(square, picture))
    # The gloss: a wide ellipse whose lower edge curves across the middle.
    highlight = mask(*size)
    ImageDraw.Draw(highlight).ellipse(scaled((-40, -92, 192, 78)), fill=255)
    highlight = ImageChops.multiply(highlight, rounded(size, (10, 8, 142, 140), 14))
    shine = vertical_gradient(size, [(0, (255, 255, 255, 120)), (0.48, (255, 255, 255, 22)),
                                     (1, (255, 255, 255, 0))])
    ov = paint_layer(ov, shine, highlight)
    return size, slot, bg, ov


def instant():
    """An instant photo: a white card, wider at the bottom, with a soft shadow.
    It has no overlay."""
    size = (162, 192)
    card_box = (6, 4, 156, 182)                 # 150 x 178
    slot = (18, 16, 126, 126)
    sx, sy, sw, sh = slot
    card = rectangle(size, card_box)
    bg = shadow(canvas(*size), card, (1, 4), 4, 0.42)
    bg = shadow(bg, card, (0, 1), 1, 0.25)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (251, 250, 246, 255)), (1, (241, 239, 233, 255))]), card)
    # The emulsion before the picture develops.
    bg = paint_layer(bg, vertical_gradient(size, [(0, (48, 52, 58, 255)), (1, (28, 30, 34, 255))]),
                     rectangle(size, (sx, sy, sx + sw, sy + sh)))
    return size, slot, bg, None


def caption():
    """A now-playing card: a dark translucent panel, the cover on its left and
    the title, artist and album beside it. It has no overlay."""
    size = (316, 124)
    card_box = (6, 4, 310, 116)                 # 304 x 112
    slot = (14, 12, 96, 96)
    sx, sy, sw, sh = slot
    card = rounded(size, card_box, 12)
    bg = shadow(canvas(*size), card, (0, 4), 4, 0.5)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (40, 44, 54, 232)), (1, (20, 22, 28, 240))]), card)
    rim = ImageChops.subtract(card, rounded(size, (7, 5, 309, 115), 11))
    bg = paint(bg, (255, 255, 255, 50), rim)
    bg = paint_layer(bg, vertical_gradient(size, [(0, (30, 33, 40, 255)), (1, (16, 17, 21, 255))]),
                     rectangle(size, (sx, sy, sx + sw, sy + sh)))
    # A hairline between the title and the lines below it.
    bg = paint(bg, (255, 255, 255, 28), rectangle(size, (124, 47, 298, 48)))
    return size, slot, bg, None


THEMES = {
    "Sleeve": sleeve,
    "Mini": mini,
    "Gallery": gallery,
    "Gloss": gloss,
    "Instant": instant,
    "Caption": caption,
}

# The now-playing text lines a theme draws: section, then its keys in order.
TEXT = {
    "Instant": [
        ("text", {"x": 18, "y": 146, "width": 126, "height": 18, "format": "%title%", "size": 12, "bold": 1,
                  "color": "3A3631", "align": "center"}),
        ("text2", {"x": 18, "y": 163, "width": 126, "height": 15, "format": "%artist%", "size": 10,
                   "color": "8A847A", "align": "center"}),
    ],
    "Caption": [
        ("text", {"x": 124, "y": 18, "width": 174, "height": 24, "format": "%title%", "size": 16, "bold": 1,
                  "color": "FFFFFF", "shadow": "80000000"}),
        ("text2", {"x": 124, "y": 54, "width": 174, "height": 20, "format": "%artist%", "size": 13,
                   "color": "D8DCE4"}),
        ("text3", {"x": 124, "y": 78, "width": 174, "height": 18, "format": "%album%", "size": 11,
                   "color": "B0848C9C"}),
    ],
}


# ---------------------------------------------------------------- files

def theme_ini(slot, text=()):
    x, y, width, height = slot
    ini = f"[image]\r\nx={x}\r\ny={y}\r\nwidth={width}\r\nheight={height}\r\n"
    for section, keys in text:
        ini += f"\r\n[{section}]\r\n" + "".join(f"{key}={value}\r\n" for key, value in keys.items())
    return ini


def write(root):
    """Draws every theme into a folder of its own below `root`."""
    for name, make in THEMES.items():
        size, slot, background, overlay = make()
        folder = os.path.join(root, name)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "theme.ini"), "w", newline="") as ini:
            ini.write(theme_ini(slot, TEXT.get(name, ())))
        finish(background).save(os.path.join(folder, "background.png"), optimize=True)
        if overlay is not None:
            finish(overlay).save(os.path.join(folder, "overlay.png"), optimize=True)
