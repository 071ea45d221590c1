"""What differs between pictures drawn afresh and the committed ones: decoded
pixels for PNG files, so that another zlib or encoder does not matter; bytes
for everything else."""

import os

from PIL import Image


def files_below(root):
    return {os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
            for folder, _, names in os.walk(root) for name in names}


def difference(made, committed):
    if not os.path.exists(committed):
        return "missing"
    if made.endswith(".png"):
        a, b = Image.open(made).convert("RGBA"), Image.open(committed).convert("RGBA")
        if a.size != b.size:
            return f"{b.size} instead of {a.size}"
        # Raw bytes, not a difference's bounding box: that looks at alpha alone.
        return "pixels differ" if a.tobytes() != b.tobytes() else None
    with open(made, "rb") as a, open(committed, "rb") as b:
        return "contents differ" if a.read() != b.read() else None


def differences(made_root, committed_root, whole=True):
    """(file, what differs) for each file that differs. `whole`: the committed
    folder holds only drawn files, so one the drawing does not make is stale."""
    made = files_below(made_root)
    found = [(name, "not made by the script") for name in sorted(files_below(committed_root) - made)] if whole else []
    for name in sorted(made):
        why = difference(os.path.join(made_root, name), os.path.join(committed_root, name))
        if why:
            found.append((name, why))
    return found
