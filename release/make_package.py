#!/usr/bin/env python3
"""Writes the release zip, laid out as it goes into the player's plug-in folder:

    coverdeck.qpl  coverdeck-theme.exe  README.txt  coverdeckTheme/<theme>/...

The same inputs give the same bytes: entries sorted, one time stamp for all of
them (RELEASE_EPOCH, the commit's time, else a fixed date), fixed permissions,
no extra fields. The zip appears whole or not at all. Standard library only."""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
import zipfile

def theme_names():
    """The themes folder's and the theme files' names, as the plug-in declares them."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "render", "theme_files.h")
    with open(header, encoding="utf-8") as f:
        return dict(re.findall(r'constexpr wchar_t (\w+)\[\] = L"([^"]+)";', f.read()))


NAMES = theme_names()
THEMES_FOLDER = NAMES["THEMES_FOLDER_NAME"]
THEME_INI = NAMES["THEME_INI_FILE"]
THEME_FILES = (THEME_INI, NAMES["THEME_BACKGROUND_FILE"], NAMES["THEME_OVERLAY_FILE"])
FIXED_EPOCH = 946684800  # 2000-01-01, when no commit time is given


def stamp():
    epoch = int(os.environ.get("RELEASE_EPOCH", FIXED_EPOCH))
    # Zip times have no zone and start in 1980; they are written as UTC.
    return time.gmtime(max(epoch, 315532800))[:6]


def notepad_text(data):
    """CRLF line ends, and a byte-order mark so that every Notepad reads the
    Japanese labels as UTF-8."""
    return b"\xef\xbb\xbf" + data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def stripped(strip, path):
    with tempfile.TemporaryDirectory() as scratch:
        out = os.path.join(scratch, "stripped")
        # strip stamps a PE file with the current time unless told a time.
        subprocess.run([strip, "--strip-all", "-o", out, path], check=True,
                       env=dict(os.environ, SOURCE_DATE_EPOCH="0"))
        with open(out, "rb") as f:
            return f.read()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def theme_entries(themes):
    """Every bundled theme folder with the files the plug-in reads from it."""
    entries = {}
    if not os.path.isdir(themes):
        return entries
    for name in sorted(os.listdir(themes)):
        folder = os.path.join(themes, name)
        if not os.path.isfile(os.path.join(folder, THEME_INI)):
            continue
        entries["%s/%s/" % (THEMES_FOLDER, name)] = None
        for file in THEME_FILES:
            if os.path.isfile(os.path.join(folder, file)):
                entries["%s/%s/%s" % (THEMES_FOLDER, name, file)] = read(os.path.join(folder, file))
    if entries:
        entries[THEMES_FOLDER + "/"] = None
    return entries


def contents(args):
    entries = {
        "coverdeck.qpl": read(args.plugin),
        "README.txt": notepad_text(read(args.readme)),
        "coverdeck-theme.exe": stripped(args.strip, args.kit),
    }
    entries.update(theme_entries(args.themes))
    return entries


def write_zip(entries, out):
    when = stamp()
    folder = os.path.dirname(os.path.abspath(out))
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".partial-", suffix=".zip")
    os.close(handle)
    try:
        with zipfile.ZipFile(temporary, "w") as archive:
            for name in sorted(entries):
                info = zipfile.ZipInfo(name, when)
                info.create_system = 0  # MS-DOS attributes: no Unix owner or mode
                data = entries[name]
                if data is None:
                    info.external_attr = 0x10  # directory
                    archive.writestr(info, b"")
                else:
                    info.compress_type = zipfile.ZIP_DEFLATED
                    archive.writestr(info, data, compresslevel=9)
        os.replace(temporary, out)
    finally:
        if os.path.exists(temporary):
            os.remove(temporary)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True, help="the zip to write")
    parser.add_argument("--plugin", required=True, help="the stripped coverdeck.qpl")
    parser.add_argument("--kit", required=True, help="coverdeck-theme.exe, stripped on the way in")
    parser.add_argument("--strip", default="i686-w64-mingw32-strip")
    parser.add_argument("--themes", required=True, help="the bundled themes, one folder each")
    parser.add_argument("--readme", required=True, help="the users' README, UTF-8")
    args = parser.parse_args()
    try:
        write_zip(contents(args), args.out)
    except (OSError, subprocess.CalledProcessError) as error:
        sys.exit("make_package: %s" % error)


if __name__ == "__main__":
    main()
