#!/usr/bin/python3
"""Annotated PDFs for the merge tests, and what pypdf reads of annotations.

  annotations.py make OUT ROTATE        two white pages (the second with an offset crop box and
                                        /Rotate ROTATE) carrying every comment kind: half with a
                                        magenta appearance, half in magenta without one
  annotations.py list FILE              per page: its annotation subtypes in order, then "popup"
                                        and "reply" for each pop-up (inside the page) and reply
                                        whose partner is on the same page and points back,
                                        "embedded" and "layer" for links whose embedded file and
                                        layer the file has
"""
import sys

KINDS = ["Text", "FreeText", "Line", "Square", "Circle", "Polygon", "PolyLine", "Highlight",
         "Underline", "StrikeOut", "Squiggly", "Ink", "Stamp", "Caret", "FileAttachment", "Sound",
         "Redact"]


def make(out, rotate):
    objs = []

    def add(text):
        objs.append(text)
        return len(objs)

    def stream(head, data):
        return add("<< %s /Length %d >>\nstream\n%s\nendstream" % (head, len(data), data))

    add("null")  # the page tree, written last
    add("<< /Type /OCG /Name (Layer) >>")
    look = stream("/Type /XObject /Subtype /Form /BBox [0 0 10 10]", "1 0 1 rg 0 0 10 10 re f")
    pages = []
    for p in range(2):
        annots = []
        for i, kind in enumerate(KINDS):
            x, y = 60 + (i % 4) * 120, 80 + (i // 4) * 130 + p * 10
            geo = {"Line": "/L [%d %d %d %d]" % (x, y, x + 80, y + 80),
                   "Polygon": "/Vertices [%d %d %d %d %d %d]" % (x, y, x + 80, y, x + 40, y + 80),
                   "Ink": "/InkList [[%d %d %d %d %d %d]]" % (x, y, x + 40, y + 80, x + 80, y)}
            geo["PolyLine"] = geo["Polygon"]
            if kind in ("Highlight", "Underline", "StrikeOut", "Squiggly", "Redact"):
                geo[kind] = "/QuadPoints [%d %d %d %d %d %d %d %d]" % (
                    x, y + 80, x + 80, y + 80, x, y, x + 80, y)
            extra = geo.get(kind, "")
            if kind == "FileAttachment":
                data = stream("/Type /EmbeddedFile", "attached")
                extra = "/FS << /Type /Filespec /F (a.txt) /EF << /F %d 0 R >> >>" % data
            if kind == "Sound":
                extra = "/Sound %d 0 R" % stream("/Type /Sound /R 8000", "\x00\x01")
            if kind == "FreeText":
                extra = "/DA (1 0 1 rg /Helv 24 Tf)"
            ap = "/AP << /N %d 0 R >>" % look if (i + p) % 2 == 0 else ""
            annots.append(add("<< /Type /Annot /Subtype /%s /Rect [%d %d %d %d] /C [1 0 1] "
                              "/IC [1 0 1] /BS << /W 6 >> /F 4 /T (Ann) /Contents (%s) %s %s >>"
                              % (kind, x, y, x + 80, y + 80, kind, ap, extra)))
        note = annots[0]
        popup = add("<< /Type /Annot /Subtype /Popup /Rect [400 700 580 800] /Parent %d 0 R >>"
                    % note)
        objs[note - 1] = objs[note - 1].replace("/F 4", "/F 4 /Popup %d 0 R" % popup)
        reply = add("<< /Type /Annot /Subtype /Text /Rect [20 20 40 40] /IRT %d 0 R /F 2 >>" % note)
        annots += [popup, reply]
        if p == 0:  # links to an embedded file, to a layer switch, to a name never defined,
            # to an embedded file never attached
            for action in ("/S /GoToE /T << /R /C /N (a.txt) >>", "/S /SetOCGState /State [/Toggle 2 0 R]",
                           "/S /GoTo /D (nowhere)", "/S /GoToE /T << /R /C /N (missing.txt) >>"):
                annots.append(add("<< /Type /Annot /Subtype /Link /Rect [500 800 520 820] /A << %s >> >>"
                                  % action))
        content = stream("", "")
        box = "/CropBox [30 40 575 800] /Rotate %d" % rotate if p == 1 else ""
        pages.append(add("<< /Type /Page /Parent 1 0 R /MediaBox [0 0 595 842] %s /Contents %d 0 R "
                         "/Annots [%s] >>" % (box, content,
                                              " ".join("%d 0 R" % a for a in annots))))
    objs[0] = "<< /Type /Pages /Count 2 /Kids [%s] >>" % " ".join("%d 0 R" % p for p in pages)
    attached = stream("/Type /EmbeddedFile", "attached")
    catalog = add("<< /Type /Catalog /Pages 1 0 R /OCProperties << /OCGs [2 0 R] /D << >> >> "
                  "/Names << /EmbeddedFiles << /Names [(a.txt) << /Type /Filespec /F (a.txt) "
                  "/EF << /F %d 0 R >> >>] >> >> >>" % attached)
    body, offsets = b"%PDF-1.7\n", []
    for n, text in enumerate(objs, 1):
        offsets.append(len(body))
        body += ("%d 0 obj\n%s\nendobj\n" % (n, text)).encode("latin-1")
    xref = len(body)
    body += ("xref\n0 %d\n0000000000 65535 f \n" % (len(objs) + 1)).encode()
    body += b"".join(b"%010d 00000 n \n" % o for o in offsets)
    body += ("trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n"
             % (len(objs) + 1, catalog, xref)).encode()
    open(out, "wb").write(body)


def listing(path):
    from pypdf import PdfReader
    reader = PdfReader(path)
    root = reader.trailer["/Root"]
    tree = root.get("/Names", {}).get("/EmbeddedFiles", {})
    files = tree.get_object().get("/Names", [])[::2] if tree else []
    layers = [o.idnum for o in root.get("/OCProperties", {}).get("/OCGs", [])]
    for page in reader.pages:
        annots = [a.get_object() for a in page.get("/Annots", [])]
        words = [a["/Subtype"][1:] for a in annots]
        box = [float(v) for v in page.mediabox]
        for a in annots:
            popup = a.get("/Popup")
            rect = [float(v) for v in popup.get_object()["/Rect"]] if popup is not None else []
            if popup is not None and popup.get_object().get("/Parent") == a.indirect_reference \
                    and popup.get_object() in annots and box[0] <= rect[0] and box[1] <= rect[1] \
                    and rect[2] <= box[2] and rect[3] <= box[3]:
                words.append("popup")
            action = a.get("/A", {})
            if action.get("/S") == "/GoToE" and action["/T"]["/N"] in files:
                words.append("embedded")
            if action.get("/S") == "/SetOCGState" and action["/State"][1].idnum in layers:
                words.append("layer")
            if a.get("/IRT") is not None and a["/IRT"].get_object() in annots:
                words.append("reply")
        print(" ".join(words))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2], int(sys.argv[3]))
    else:
        listing(sys.argv[2])
