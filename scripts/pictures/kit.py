"""The theme kit's sample cover, which check and preview show in the slot
when no cover is given: an album-like square, a dusk sky, a low sun cut by
stripes, dark hills."""

import os

from PIL import Image

SIZE = 300


def pixel(x, y):
    n = SIZE
    colour = (250 - 130 * y // n, 120 + 50 * y // n, 90 + 120 * y // n)
    dx, dy, sun = x - n // 2, y - 3 * n // 5, n // 4
    stripe = y > n // 2 and ((y - n // 2) // 9) % 2 == 1
    if dx * dx + dy * dy <= sun * sun and not stripe:
        colour = (0xFF, 0xD6, 0x78)
    # A ridge line: up to a peak, down into a valley, up again to the right.
    peak, valley = n * 35 // 100, n * 60 // 100
    if x < peak:
        ground = n - (n * 45 // 100) * x // peak
    elif x < valley:
        ground = n * 55 // 100 + (n * 25 // 100) * (x - peak) // (valley - peak)
    else:
        ground = n * 80 // 100 - (n * 20 // 100) * (x - valley) // (n - valley)
    if y > ground:
        colour = (0x28, 0x1E, 0x46)
    return colour


def write(folder):
    picture = Image.new("RGB", (SIZE, SIZE))
    picture.putdata([pixel(x, y) for y in range(SIZE) for x in range(SIZE)])
    picture.save(os.path.join(folder, "sample-cover.png"), optimize=True)
