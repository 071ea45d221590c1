"""The drawing kit: shapes are drawn SS times larger and averaged down, which
gives anti-aliased edges; shadows are blurred masks."""

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SS = 4  # supersampling factor
CLEAR = (0, 0, 0, 0)


def canvas(width, height, fill=CLEAR):
    return Image.new("RGBA", (width * SS, height * SS), fill)


def mask(width, height):
    return Image.new("L", (width * SS, height * SS), 0)


def scaled(box):
    """A box of whole pixels (x0, y0, x1, y1), x1 and y1 exclusive, in the
    supersampled grid with Pillow's inclusive corners."""
    x0, y0, x1, y1 = box
    return [round(x0 * SS), round(y0 * SS), round(x1 * SS) - 1, round(y1 * SS) - 1]


def rounded(size, box, radius):
    m = mask(*size)
    ImageDraw.Draw(m).rounded_rectangle(scaled(box), radius * SS, fill=255)
    return m


def rectangle(size, box):
    m = mask(*size)
    ImageDraw.Draw(m).rectangle(scaled(box), fill=255)
    return m


def disc(size, centre, radius):
    cx, cy = centre
    m = mask(*size)
    ImageDraw.Draw(m).ellipse(scaled((cx - radius, cy - radius, cx + radius, cy + radius)), fill=255)
    return m


def polygon(size, points):
    m = mask(*size)
    ImageDraw.Draw(m).polygon([(x * SS, y * SS) for x, y in points], fill=255)
    return m


def scale_mask(m, factor):
    return m.point(lambda v: round(v * factor))


def paint(base, colour, shape):
    """Paints `colour` (RGB or RGBA) over `base` through the mask `shape`."""
    rgba = colour if len(colour) == 4 else colour + (255,)
    layer = Image.new("RGBA", base.size, rgba[:3] + (0,))
    layer.putalpha(ImageChops.multiply(shape, Image.new("L", base.size, rgba[3])))
    return Image.alpha_composite(base, layer)


def paint_layer(base, layer, shape=None):
    """Composes `layer` over `base`, through `shape` when given."""
    if shape is not None:
        layer = layer.copy()
        layer.putalpha(ImageChops.multiply(layer.getchannel("A"), shape))
    return Image.alpha_composite(base, layer)


def blend_stops(stops, t):
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            f = 0.0 if t1 == t0 else (t - t0) / (t1 - t0)
            return tuple(round(a + (b - a) * f) for a, b in zip(c0, c1))
    return stops[-1][1]


def gradient(size, stops, mode="RGBA", rows=None, resample=Image.BICUBIC):
    """A picture of `size` (in real pixels) whose colour runs through `stops`
    [(t, colour), ...] from top (t = 0) to bottom (t = 1), worked out for
    `rows` rows (every row by default) and stretched to the height."""
    rows = rows or size[1]
    column = Image.new(mode, (1, rows))
    column.putdata([blend_stops(stops, y / max(1, rows - 1)) for y in range(rows)])
    return column.resize(size, resample)


def vertical_gradient(size, stops):
    """A supersampled layer for a picture of `size` pixels."""
    return gradient((size[0] * SS, size[1] * SS), stops)


def shadow(base, shape, offset, blur, opacity):
    """A soft black drop shadow of `shape`, moved by `offset` pixels."""
    dx, dy = offset
    moved = ImageChops.offset(shape, round(dx * SS), round(dy * SS))
    soft = moved.filter(ImageFilter.GaussianBlur(blur * SS))
    return paint(base, (0, 0, 0), scale_mask(soft, opacity))


def finish(layer):
    """Averages the supersampled layer down to its pixel size."""
    width, height = layer.size
    small = layer.resize((width // SS, height // SS), Image.BOX)
    # Fully transparent pixels carry no colour.
    alpha = small.getchannel("A")
    cleared = Image.new("RGBA", small.size, CLEAR)
    return Image.composite(small, cleared, alpha.point(lambda a: 255 if a else 0))
