#!/usr/bin/env python3
# Builds the user's guide: fills the Russian and English sources with the program's own captions and
# messages from its caption table, adds the message table of each language, and typesets the PDF.
import argparse
import html
import pathlib
import re
import subprocess
import sys

LANGUAGES = ("ru", "en")
QUOTES = {"ru": ("«", "»"), "en": ("“", "”")}
# The program's own message icons, and the two system icons of its yes/no questions and serial errors.
KIND_ICONS = {"success": "resources/icons/success.svg", "warning": "resources/icons/warning.svg",
              "error": "resources/icons/error.svg", "hint": "resources/icons/hint.svg",
              "retry": "resources/icons/retry.svg", "question": "doc/help/images/icons/information.svg",
              "system-error": "doc/help/images/icons/system-error.svg"}


def read_caption_table(path):
    """The caption table as {entry: {"en": text, "ru": text}}, with C escapes turned into characters."""
    source = path.read_text(encoding="utf-8")
    entries = {}
    pattern = re.compile(r'UI_TEXT\((\w+),\s*"((?:[^"\\]|\\.)*)",\s*"((?:[^"\\]|\\.)*)"\)')
    for name, english, russian in pattern.findall(source):
        entries[name] = {"en": unescape(english), "ru": unescape(russian)}
    if not entries:
        sys.exit(f"{path}: no captions found")
    return entries


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "r": "\r"}.get(m.group(1), m.group(1)), text)


def read_crypto_steps(src):
    """The step texts of a failed key file conversion, which read the same in both languages, and
    the label of the error number that follows them, from the program's sources."""
    sources = [path.read_text(encoding="utf-8") for path in sorted(src.rglob("*.cpp"))]
    blocks = [b for b in (re.search(r"kStepTexts\[\]\s*=\s*\{(.*?)\};", s, re.S) for s in sources) if b]
    steps = re.findall(r'"((?:[^"\\]|\\.)*)"', blocks[0].group(1)) if blocks else []
    numbers = [n for n in (re.search(r'"%s\\n(.*?)0x%08lX\."', s) for s in sources) if n]
    if not steps or not numbers:
        sys.exit(f"{src}: the conversion step texts were not found")
    return [unescape(s) for s in steps], unescape(numbers[0].group(1))


def read_messages(path):
    """The message table's rows: groups and messages, each with its kind, layout and explanations."""
    rows = []
    current = None
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("//"):
            continue
        if line.startswith("== "):
            ru, en = (part.strip() for part in line[3:].split("|"))
            rows.append({"group": {"ru": ru, "en": en}})
            current = None
        elif line.startswith("@ "):
            fields = [part.strip() for part in line[2:].split("|")]
            name, kind, layout = (fields + ["%s"])[:3]
            if kind not in KIND_ICONS:
                sys.exit(f"{path}:{number}: unknown kind {kind}")
            current = {"name": name, "kind": kind, "layout": unescape(layout), "ru": "", "en": ""}
            rows.append(current)
        elif line[:3] in ("ru:", "en:") and current is not None:
            current[line[:2]] = line[3:].strip()
        else:
            sys.exit(f"{path}:{number}: cannot read this line")
    return rows


def box_text_html(text):
    lines = text.replace("\n\r", "\n").replace("\r", "\n").split("\n")
    return "<br>".join(html.escape(line) for line in lines)


class Guide:
    def __init__(self, top, images):
        self.top = top
        self.images = images
        self.table = read_caption_table(top / "src/ui/ui_text_table.inc")
        self.steps, self.step_number = read_crypto_steps(top / "src")
        self.messages = read_messages(top / "doc/help/messages.txt")
        self.check_every_message_explained()

    def check_every_message_explained(self):
        explained = {row["name"] for row in self.messages if "name" in row}
        for name in self.table:
            if name.startswith("msg") and name not in explained:
                sys.exit(f"doc/help/messages.txt: the message {name} is not explained")
        for name in explained - {"cryptoSteps"}:
            if name not in self.table:
                sys.exit(f"doc/help/messages.txt: {name} is not in the caption table")

    def text(self, name, language):
        if name not in self.table:
            sys.exit(f"doc/help: {name} is not in the caption table")
        return self.table[name][language]

    def quoted(self, name, language):
        left, right = QUOTES[language]
        caption = self.text(name, language).strip()
        caption = caption.replace("\n\r", " ").replace("\n", " ").replace("\r", "")
        return f'<span class="ui">{left}{html.escape(caption)}{right}</span>'

    def message_text(self, row, language):
        if row["name"] == "cryptoSteps":
            lines = [box_text_html(step) for step in self.steps]
            lines.append(html.escape(self.step_number) + "0x80070002.")
            return "<br>".join(lines)
        text = self.text(row["name"], language)
        layout = re.sub(r"\{(\w+)\}", lambda m: self.text(m.group(1), language), row["layout"])
        return box_text_html(layout.replace("%s", text))

    def message_table(self, language):
        heading = {"ru": ("Значок", "Текст сообщения и что делать"),
                   "en": ("Icon", "Message text and what to do")}[language]
        out = ['<table class="messages">',
               f'<thead><tr><th>{heading[0]}</th><th>{heading[1]}</th></tr></thead><tbody>']
        for row in self.messages:
            if "group" in row:
                out.append(f'<tr class="group"><td colspan="2">{html.escape(row["group"][language])}</td></tr>')
                continue
            icon = self.top / KIND_ICONS[row["kind"]]
            explanation = self.expand(row[language], language)
            out.append(f'<tr><td class="icon"><img src="{icon.as_uri()}" alt=""></td>'
                       f'<td><div class="box-text">{self.message_text(row, language)}</div>'
                       f'<div class="explain">{explanation}</div></td></tr>')
        out.append("</tbody></table>")
        return "\n".join(out)

    def expand(self, source, language):
        """Replaces {ui:NAME}, {img:FILE}, {messages} in a source written in one language."""
        def replace(match):
            what, _, argument = match.group(1).partition(":")
            if what == "ui":
                return self.quoted(argument, language)
            if what == "img":
                picture = self.images / language / argument
                if not picture.is_file():
                    sys.exit(f"{picture}: missing; run scripts/guide-screenshots.sh")
                return f'<img class="shot" src="{picture.as_uri()}" alt="">'
            if what == "messages":
                return self.message_table(language)
            sys.exit(f"doc/help: unknown placeholder {{{match.group(1)}}}")
        return re.sub(r"\{((?:ui|img):[\w.-]+|messages)\}", replace, source)

    def source(self, name):
        """One of the guide's source files, without its comments."""
        text = (self.top / "doc/help" / name).read_text(encoding="utf-8")
        return re.sub(r"<!--.*?-->", "", text, flags=re.S)

    def document(self):
        css = (self.top / "doc/help/guide.css").read_text(encoding="utf-8")
        cover = self.source("cover.html").replace("{top}", self.top.as_uri())
        parts = [f'<section class="language" lang="{language}" id="guide-{language}">'
                 + self.expand(self.source(f"guide-{language}.html"), language)
                 + "</section>" for language in LANGUAGES]
        return ('<!DOCTYPE html><html><head><meta charset="utf-8"><title>Keyloom 1.01</title>'
                f"<style>{css}</style></head><body>{cover}{''.join(parts)}</body></html>")


def main():
    parser = argparse.ArgumentParser(description="Builds the user's guide.")
    parser.add_argument("--top", required=True, type=pathlib.Path, help="the top of the source tree")
    parser.add_argument("--html", required=True, type=pathlib.Path, help="the filled-in HTML to write")
    parser.add_argument("--pdf", required=True, type=pathlib.Path, help="the PDF to typeset")
    args = parser.parse_args()
    guide = Guide(args.top.resolve(), args.top.resolve() / "doc/help/images")
    args.html.parent.mkdir(parents=True, exist_ok=True)
    args.html.write_text(guide.document(), encoding="utf-8")
    args.pdf.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["weasyprint", str(args.html), str(args.pdf)], check=True)


if __name__ == "__main__":
    main()
