#!/usr/bin/python3
"""Builds samples/headings.pdf: a short guide without bookmarks whose headings are set in
several styles, for the generation demo (samples/headings.options.json makes its outline).

- a contents page in the chapter style (the options start after it),
- chapter headings in dark blue bold 20 pt, one of them wrapped over two lines,
- section headings in bold 14 pt, one with a code-font word inside,
- subsections in oblique 12 pt, body text in a serif 10 pt, a running head on every page.

Run with Debian's python3-fitz: /usr/bin/python3 samples/make_headings_sample.py
"""
import os
import fitz

HERE = os.path.dirname(os.path.abspath(__file__))
BLUE = (0.1, 0.1, 0.5)
BODY = ("Text of the guide. Headings above and below this paragraph are found by their "
        "font, size and colour alone.")

CHAPTERS = [
    (["1 Getting started"], [("1.1 Installing", ["Requirements", "First run"]),
                             ("1.2 Configuration", [])]),
    (["2 Generating bookmarks from the", "text of the pages"],
     [("2.1 Levels", ["Matching by font", "Matching by size"]),
      ("2.2 Using ", []),
      ("2.3 Formatting titles", [])]),
    (["3 Reference"], [("3.1 Options", []), ("3.2 Limits", [])]),
]


def running_head(page, number):
    page.insert_text((72, 40), "Heading Sample Guide", fontname="helv", fontsize=8)
    page.insert_text((500, 40), str(number), fontname="helv", fontsize=8)


def body(page, y):
    page.insert_textbox(fitz.Rect(72, y, 523, y + 40), BODY, fontname="tiro", fontsize=10)
    return y + 50


def main():
    doc = fitz.open()
    contents = doc.new_page(width=595, height=842)
    running_head(contents, 1)
    contents.insert_text((72, 96), "Contents", fontname="hebo", fontsize=20, color=BLUE)
    y = 130
    for lines, sections in CHAPTERS:
        contents.insert_text((72, y), " ".join(lines), fontname="tiro", fontsize=10)
        y += 16
    for lines, sections in CHAPTERS:
        page = doc.new_page(width=595, height=842)
        running_head(page, doc.page_count)
        y = 96
        for line in lines:
            page.insert_text((72, y), line, fontname="hebo", fontsize=20, color=BLUE)
            y += 26
        y = body(page, y)
        for section, subsections in sections:
            if y > 650:
                page = doc.new_page(width=595, height=842)
                running_head(page, doc.page_count)
                y = 96
            page.insert_text((72, y), section, fontname="hebo", fontsize=14)
            if section.endswith(" "):
                # A section title with a code word inside: three runs on one line.
                x = 72 + fitz.get_text_length(section, fontname="hebo", fontsize=14)
                page.insert_text((x, y), "zelta", fontname="cour", fontsize=14)
                x += fitz.get_text_length("zelta", fontname="cour", fontsize=14)
                page.insert_text((x, y), " from the command line", fontname="hebo", fontsize=14)
            y = body(page, y + 10)
            for subsection in subsections:
                page.insert_text((72, y), subsection, fontname="heit", fontsize=12)
                y = body(page, y + 8)
    doc.set_metadata({"title": "Heading sample", "creator": "samples/make_headings_sample.py"})
    doc.save(os.path.join(HERE, "headings.pdf"), garbage=3, deflate=True)


if __name__ == "__main__":
    main()
