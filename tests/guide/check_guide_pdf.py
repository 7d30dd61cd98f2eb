#!/usr/bin/env python3
# Checks the built user's guide: a Russian and an English part, each with its bookmarks, each
# screenshot of its language on its pages, and every message text of the caption table in its part.
# Usage: check_guide_pdf.py SOURCE_DIR PDF
import pathlib
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

CHAPTERS = 11
failures = []


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout.decode("utf-8", "replace")


def normalised(text):
    return " ".join(text.replace("\r", " ").replace("\n", " ").split())


def outline(pdf):
    """The top-level bookmarks as (title, page, number of bookmarks under it)."""
    root = ElementTree.fromstring(run("pdftohtml", "-xml", "-i", "-q", "-stdout", str(pdf)))
    tree = root.find("outline")
    if tree is None:
        return []
    items, children = [], list(tree)
    for i, child in enumerate(children):
        if child.tag != "item":
            continue
        below = children[i + 1] if i + 1 < len(children) and children[i + 1].tag == "outline" else None
        items.append(("".join(child.itertext()), int(child.get("page", "0")),
                      0 if below is None else len(below.findall("item"))))
    return items


def message_texts(source):
    """Every message of the caption table (entries msg...) as {"en": [...], "ru": [...]}, and the key file
    conversion steps, which both languages show in Russian."""
    table = (source / "src/ui/ui_text_table.inc").read_text(encoding="utf-8")
    texts = {"en": [], "ru": []}
    for name, english, russian in re.findall(r'UI_TEXT\((msg\w+|errorOpening),\s*"(.*?)",\s*"(.*?)"\)', table, re.S):
        for language, text in (("en", english), ("ru", russian)):
            texts[language].append(text.replace("\\n", "\n").replace("\\r", "\r").replace("\\\\", "\\"))
    steps = (source / "src/keystore/win/keys_window.cpp").read_text(encoding="utf-8")
    block = re.search(r"kStepTexts\[\]\s*=\s*\{(.*?)\};", steps, re.S).group(1)
    for step in re.findall(r'"(.*?)"', block):
        texts["en"].append(step)
        texts["ru"].append(step)
    return texts


def png_size(path):
    width, height = struct.unpack(">II", path.read_bytes()[16:24])
    return width, height


def pictures(pdf, first, last):
    """Sizes of the pictures drawn on pages first..last."""
    sizes = []
    for line in run("pdfimages", "-list", "-f", str(first), "-l", str(last), str(pdf)).splitlines()[2:]:
        fields = line.split()
        if fields[2] == "image":
            sizes.append((int(fields[3]), int(fields[4])))
    return sizes


def main():
    source, pdf = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    pages = int(re.search(r"Pages:\s+(\d+)", run("pdfinfo", str(pdf))).group(1))
    parts = outline(pdf)
    if len(parts) != 2:
        sys.exit(f"expected two top-level bookmarks, one per language, found {parts}")
    (ru_title, ru_page, ru_chapters), (en_title, en_page, en_chapters) = parts
    if not re.search("[а-яА-Я]", ru_title) or re.search("[а-яА-Я]", en_title):
        failures.append(f"the first part is not the Russian one and the second the English one: {parts}")
    for title, chapters in ((ru_title, ru_chapters), (en_title, en_chapters)):
        if chapters != CHAPTERS:
            failures.append(f"{title}: {chapters} chapter bookmarks instead of {CHAPTERS}")
    ranges = {"ru": (ru_page, en_page - 1), "en": (en_page, pages)}

    texts = message_texts(source)
    for language, (first, last) in ranges.items():
        text = normalised(run("pdftotext", "-f", str(first), "-l", str(last), str(pdf), "-"))
        for message in texts[language]:
            if normalised(message) not in text:
                failures.append(f"{language}: message missing from pages {first}-{last}: {message!r}")
        drawn = pictures(pdf, first, last)
        for picture in sorted((source / "doc/help/images" / language).glob("*.png")):
            size = png_size(picture)
            if size in drawn:
                drawn.remove(size)
            else:
                failures.append(f"{language}: {picture.name} ({size[0]}x{size[1]}) is not on pages {first}-{last}")
    for failure in failures:
        print(failure)
    print(f"{pdf.name}: {pages} pages, Russian from page {ru_page}, English from page {en_page}, "
          f"{len(texts['ru'])} + {len(texts['en'])} message texts, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
