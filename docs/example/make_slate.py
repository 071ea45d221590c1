#!/usr/bin/python3
"""The worked example of docs/themes.md: draws the theme "Slate" into the
folder Slate beside this script, or into the folder given.
Needs Pillow (Debian: python3-pil)."""
import os
import sys
from PIL import Image, ImageChops, ImageDraw, ImageFilter

S = 4                    # draw 4 times larger, then shrink: smooth edges
W, H = 140, 144          # the window's size
PANEL = (4, 2, 136, 134)          # the opaque slate panel: x0, y0, x1, y1
SLOT = (16, 14, 108, 108)         # the cover slot: x, y, width, height


def big(box):
    return [v * S for v in box[:2]] + [v * S - 1 for v in box[2:]]


def background():
    image = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    # A soft shadow: the panel's shape, moved down, blurred, 45 % black.
    shadow = Image.new("L", image.size, 0)
    ImageDraw.Draw(shadow).rounded_rectangle(big((4, 6, 136, 138)), 14 * S, fill=115)
    shadow = shadow.filter(ImageFilter.GaussianBlur(4 * S))
    image.paste((0, 0, 0, 255), mask=shadow)
    # The panel, with rounded corners, over the shadow.
    panel = Image.new("L", image.size, 0)
    ImageDraw.Draw(panel).rounded_rectangle(big(PANEL), 14 * S, fill=255)
    image = Image.composite(Image.new("RGBA", image.size, (54, 62, 74, 255)), image, panel)
    # A darker well where the cover goes, seen when no cover is shown.
    x, y, w, h = SLOT
    ImageDraw.Draw(image).rectangle(big((x, y, x + w, y + h)), fill=(30, 34, 40, 255))
    return image.resize((W, H), Image.BOX)


def overlay():
    image = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    # A hairline of light along the panel's top edge...
    edge = Image.new("L", image.size, 0)
    ImageDraw.Draw(edge).rounded_rectangle(big(PANEL), 14 * S, fill=255)
    inner = Image.new("L", image.size, 0)
    ImageDraw.Draw(inner).rounded_rectangle(big((4, 3, 136, 134)), 14 * S, fill=255)
    image.paste((255, 255, 255, 90), mask=ImageChops.subtract(edge, inner))
    # ...and a thin dark frame over the cover's edge, so any cover sits crisply.
    x, y, w, h = SLOT
    draw.rectangle(big((x, y, x + w, y + h)), outline=(0, 0, 0, 110), width=S)
    return image.resize((W, H), Image.BOX)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "Slate")
    os.makedirs(folder, exist_ok=True)
    x, y, w, h = SLOT
    with open(os.path.join(folder, "theme.ini"), "w", newline="") as ini:
        ini.write(f"[image]\r\nx={x}\r\ny={y}\r\nwidth={w}\r\nheight={h}\r\n")
    background().save(os.path.join(folder, "background.png"))
    overlay().save(os.path.join(folder, "overlay.png"))


if __name__ == "__main__":
    main()
