#!/usr/bin/env python3
"""Writes a plain PDF of N text pages with no library: a producer unlike the others in the corpus.

usage: make_text_pdf.py OUT.pdf PAGES
"""
import sys
import zlib


def main():
    out, pages = sys.argv[1], int(sys.argv[2])
    objects = []  # bodies of objects 1..n

    def add(body):
        objects.append(body)
        return len(objects)

    catalog = add(None)
    tree = add(None)
    font = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
    kids = []
    for n in range(pages):
        lines = [b"BT /F1 11 Tf 72 770 Td 14 TL"]
        for row in range(50):
            text = "Page %d, line %d: the quick brown fox jumps over the lazy dog." % (n + 1, row + 1)
            lines.append(b"(" + text.encode() + b") '")
        lines.append(b"ET")
        data = zlib.compress(b"\n".join(lines))
        content = add(b"<< /Length %d /Filter /FlateDecode >>\nstream\n" % len(data) + data + b"\nendstream")
        kids.append(add(b"<< /Type /Page /Parent %d 0 R /MediaBox [0 0 595 842] "
                        b"/Resources << /Font << /F1 %d 0 R >> >> /Contents %d 0 R >>"
                        % (tree, font, content)))
    objects[catalog - 1] = b"<< /Type /Catalog /Pages %d 0 R >>" % tree
    objects[tree - 1] = (b"<< /Type /Pages /Count %d /Kids [" % pages
                         + b" ".join(b"%d 0 R" % k for k in kids) + b"] >>")

    with open(out, "wb") as f:
        f.write(b"%PDF-1.4\n")
        offsets = []
        for i, body in enumerate(objects, 1):
            offsets.append(f.tell())
            f.write(b"%d 0 obj\n" % i + body + b"\nendobj\n")
        xref = f.tell()
        f.write(b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1))
        for off in offsets:
            f.write(b"%010d 00000 n \n" % off)
        f.write(b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n"
                % (len(objects) + 1, catalog, xref))


if __name__ == "__main__":
    main()
