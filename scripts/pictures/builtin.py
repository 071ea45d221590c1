"""The built-in theme's two pictures, 112 x 112 RGBA: a white-bordered grey
panel with a soft shadow, and gloss bands over it. Drawn pixel by pixel."""

from PIL import Image

SIZE = 112
PANEL = 104          # the opaque panel covers (0, 0)-(103, 103)
BORDER = 2
SHADOW = 5           # shadow columns 104-108 (right) and rows 104-108 (bottom)

WHITE = (255, 255, 255)
GREY = (224, 224, 224)
BLACK = (0, 0, 0)
CLEAR = (255, 255, 255, 0)

# Shadow alpha from the panel outward. Where the shadow runs along the panel it
# has full strength; over its first and last seven pixels it fades in, and the
# fade rows k = 0..3 double as the corner square, which is symmetric so that the
# right and the bottom shadow meet without a seam.
SHADOW_FULL = (182, 145, 109, 72, 36)
SHADOW_FADE = (
    (36, 25, 15, 5, 0),       # k = 0, the shadow's first row
    (62, 45, 29, 15, 5),
    (88, 66, 45, 25, 10),
    (114, 88, 62, 36, 15),
    (140, 110, 80, 50, 23),
    (166, 132, 98, 64, 31),
    (176, 140, 105, 69, 34),  # k = 6, the last row before full strength
)
SHADOW_TAIL = (15, 10, 5, 0, 0)  # row 108, past the panel's bottom edge
SHADOW_END = PANEL + SHADOW - 1  # 108

GLOSS_ALPHA_MAX = 64
GLOSS_TOP = 2
GLOSS_LEFT = 2


def shadow_alpha(along, across):
    """Alpha of the right shadow at row `along` (0-108), column 104 + `across`."""
    if along == SHADOW_END:
        return SHADOW_TAIL[across]
    k = min(along, SHADOW_END - 1 - along)
    if k < len(SHADOW_FADE):
        return SHADOW_FADE[k][across]
    return SHADOW_FULL[across]


def background_pixel(x, y):
    if x < PANEL and y < PANEL:
        inside = BORDER <= x < PANEL - BORDER and BORDER <= y < PANEL - BORDER
        return (GREY if inside else WHITE) + (255,)
    if x <= SHADOW_END and y <= SHADOW_END:
        if x >= PANEL:
            return BLACK + (shadow_alpha(y, x - PANEL),)
        return BLACK + (shadow_alpha(x, y - PANEL),)
    return CLEAR


def gloss_profile(rise, width):
    """A band's alpha from left to right: a steady rise to the peak, then one
    step halfway down before the alpha is back to 0."""
    ramp = [min(GLOSS_ALPHA_MAX, rise * (i + 1)) for i in range(width - 1)]
    return ramp + [GLOSS_ALPHA_MAX // 2]


# (first column on the top row, alpha profile, last row)
GLOSS_BANDS = (
    (9, gloss_profile(8, 9), 33),
    (25, gloss_profile(4, 17), 81),
)


def overlay_pixel(x, y):
    if x < GLOSS_LEFT or y < GLOSS_TOP:
        return CLEAR
    for first, profile, last_row in GLOSS_BANDS:
        if y > last_row:
            continue
        # Each band moves one column to the left every two rows.
        i = x - (first - (y - GLOSS_TOP) // 2)
        if 0 <= i < len(profile):
            return WHITE + (profile[i],)
    return CLEAR


def picture(pixel):
    image = Image.new("RGBA", (SIZE, SIZE))
    image.putdata([pixel(x, y) for y in range(SIZE) for x in range(SIZE)])
    return image


PICTURES = {
    "builtin_background.png": background_pixel,
    "builtin_overlay.png": overlay_pixel,
}


def write(folder):
    for name, pixel in PICTURES.items():
        picture(pixel).save(f"{folder}/{name}", optimize=True)
