#!/usr/bin/python3
"""Builds samples/manual.pdf: a short manual whose headings are set in several styles and
whose outline has mixed-case titles, nesting, a named destination and a web link.

Run with Debian's python3-fitz: /usr/bin/python3 samples/make_sample.py
"""
import os
import fitz

HERE = os.path.dirname(os.path.abspath(__file__))

CHAPTERS = [
    ("Getting started", ["what this manual covers", "installing the tools"]),
    ("the bookmark tree", ["titles AND their case", "destinations", "styles and colours"]),
    ("Working with pages", ["page labels", "rotated pages"]),
    ("reference", []),
]

BODY = ("Bookmarks lead the reader through a document. This page belongs to the sample "
        "that the demo works on.")


def main():
    doc = fitz.open()
    toc = []
    for number, (chapter, sections) in enumerate(CHAPTERS, start=1):
        page = doc.new_page(width=595, height=842)
        page.insert_text((72, 96), f"{number} {chapter.title()}", fontname="helv", fontsize=20)
        page.insert_text((72, 130), BODY, fontname="tiro", fontsize=10)
        toc.append([1, chapter, doc.page_count, {"kind": fitz.LINK_GOTO, "page": page.number,
                                                  "to": fitz.Point(72, 80)}])
        for index, section in enumerate(sections, start=1):
            page = doc.new_page(width=595, height=842)
            page.insert_text((72, 96), f"{number}.{index} {section.capitalize()}",
                             fontname="hebo", fontsize=14)
            page.insert_text((72, 130), BODY, fontname="tiro", fontsize=10)
            toc.append([2, section, doc.page_count])
    doc.set_toc(toc)
    doc.set_metadata({"title": "Sample manual", "creator": "samples/make_sample.py"})
    doc.save(os.path.join(HERE, "manual.pdf"), garbage=3, deflate=True)


if __name__ == "__main__":
    main()
