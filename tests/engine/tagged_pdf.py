#!/usr/bin/python3
"""Tagged PDFs for the tests, written byte by byte.

  tagged_pdf.py --check FILE   one line per structure reference that does not resolve: a form's or
                               an annotation's key missing from the parent tree, or an entry
                               that names another element than the one that holds the content
  tagged_pdf.py OUT [--lang L] [--words W1,W2,...] [--labels 0:r,2:D:A-] [--files a.txt,b.txt]
                    [--role Heading=H1] [--untagged] [--hostile]

One page per word. Each page holds a section with a heading (role Heading, mapped by the role
map), a paragraph with the word drawn inside a form (marked content reached through /Stm), a
page-number artifact, and on the first page a link and on the second a text field, both in the
structure through /OBJR. The last paragraph runs over the last two pages. Elements carry IDs
and the class "Body".
"""
import argparse
import zlib


class Writer:
    def __init__(self):
        self.objects = {}

    def add(self, body=None):
        n = len(self.objects) + 1
        self.objects[n] = body
        return n

    def set(self, n, body):
        self.objects[n] = body.encode("latin-1") if isinstance(body, str) else body

    def stream(self, n, head, data):
        data = zlib.compress(data.encode("latin-1"))
        self.set(n, b"<<" + head.encode() + b" /Filter /FlateDecode /Length %d>>stream\n" % len(data)
                 + data + b"\nendstream")

    def save(self, path, root):
        out, offsets = b"%PDF-1.7\n%\xe2\xe3\xcf\xd3\n", []
        for n in sorted(self.objects):
            offsets.append(len(out))
            out += b"%d 0 obj\n" % n + self.objects[n] + b"\nendobj\n"
        xref = len(out)
        out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(offsets) + 1)
        out += b"".join(b"%010d 00000 n \n" % o for o in offsets)
        out += b"trailer\n<</Size %d /Root %d 0 R>>\nstartxref\n%d\n%%%%EOF\n" % (
            len(offsets) + 1, root, xref)
        open(path, "wb").write(out)


def make(args):
    words = args.words.split(",")
    tagged = not args.untagged
    w = Writer()
    catalog, pages, font, root, document, parents = (w.add() for _ in range(6))
    page_ids = [w.add() for _ in words]
    kids, parent_nums, key = [], [], len(words)
    paras = []
    fields = []
    for i, word in enumerate(words):
        page, content, form = page_ids[i], w.add(), w.add()
        sect, head, para = w.add(), w.add(), w.add()
        annots, extra_k = [], ""
        if i == 0:
            link, elem = w.add(), w.add()
            w.set(link, "<</Type /Annot /Subtype /Link /Rect [72 100 200 120] /StructParent %d "
                        "/A <</S /URI /URI (https://example.org/%s)>>>>" % (key, word))
            w.set(elem, "<</Type /StructElem /S /Link /P %d 0 R /K [<</Type /OBJR /Obj %d 0 R "
                        "/Pg %d 0 R>>]>>" % (sect, link, page))
            parent_nums.append("%d %d 0 R" % (key, elem))
            key += 1
            annots.append(link)
            extra_k = " %d 0 R" % elem
        if i == 1:
            field, elem = w.add(), w.add()
            w.set(field, "<</Type /Annot /Subtype /Widget /FT /Tx /T (name) /V (filled) "
                         "/Rect [72 150 300 170] /P %d 0 R /StructParent %d /DA (/Helv 12 Tf 0 g)>>"
                         % (page, key))
            w.set(elem, "<</Type /StructElem /S /Form /P %d 0 R /K [<</Type /OBJR /Obj %d 0 R>>] "
                        "/Pg %d 0 R>>" % (sect, field, page))
            parent_nums.append("%d %d 0 R" % (key, elem))
            key += 1
            annots.append(field)
            fields.append(field)
            extra_k = " %d 0 R" % elem
        text = "BT /F1 24 Tf 72 %d Td (%s) Tj ET"
        body = "/Artifact BMC BT /F1 9 Tf 300 40 Td (- %d -) Tj ET EMC\n" % (i + 1)
        body += "/H1 <</MCID 0>> BDC %s EMC\n" % (text % (700, "Heading " + word))
        body += "q /Fm0 Do Q\n"
        spill = i == len(words) - 1 and len(words) > 1
        if spill:
            body += "/P <</MCID 1>> BDC %s EMC\n" % (text % (500, "and more"))
        w.stream(content, "", body)
        w.stream(form, "/Type /XObject /Subtype /Form /BBox [0 0 612 792] /StructParents %d "
                 "/Resources <</Font <</F1 %d 0 R>>>>" % (key, font),
                 "/P <</MCID 0>> BDC %s EMC" % (text % (600, word)))
        paras.append([para, sect, page, ["<</Type /MCR /Pg %d 0 R /Stm %d 0 R /MCID 0>>"
                                         % (page, form)], i])
        w.set(head, "<</Type /StructElem /S /Heading /P %d 0 R /Pg %d 0 R /K %s /ID (h%d) "
                    "/C /Body>>" % (sect, page, "[0 99999999]" if args.hostile else "0", i))
        parent_nums.append("%d [%d 0 R]" % (key, para))
        key += 1
        mcids = [head] + ([paras[-2][0]] if spill else [])
        if spill:  # the paragraph before runs on onto this page
            paras[-2][3].append("<</Type /MCR /Pg %d 0 R /MCID 1>>" % page)
        parent_nums.append("%d [%s]" % (i, " ".join("%d 0 R" % m for m in mcids)))
        w.set(sect, "<</Type /StructElem /S /Sect /P %d 0 R /K [%d 0 R %d 0 R%s]>>"
              % (document, head, para, extra_k))
        kids.append(sect)
        struct = " /StructParents %d /Tabs /S" % i if tagged else ""
        w.set(page, "<</Type /Page /Parent %d 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
                    "/Resources <</Font <</F1 %d 0 R>> /XObject <</Fm0 %d 0 R>>>>%s%s>>"
              % (pages, content, font, form, struct,
                 " /Annots [%s]" % " ".join("%d 0 R" % a for a in annots) if annots else ""))
    for para, sect, page, k, i in paras:
        w.set(para, "<</Type /StructElem /S /P /P %d 0 R /Pg %d 0 R /K [%s] /ID (p%d)>>"
              % (sect, page, " ".join(k), i))
    w.set(pages, "<</Type /Pages /Count %d /Kids [%s]>>"
          % (len(words), " ".join("%d 0 R" % p for p in page_ids)))
    w.set(font, "<</Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding>>")
    roles = dict(r.split("=") for r in args.role.split(",")) if args.role else {"Heading": "H1"}
    w.set(root, "<</Type /StructTreeRoot /K %d 0 R /ParentTree %d 0 R /ParentTreeNextKey %d "
                "/RoleMap <<%s>> /ClassMap <</Body <</O /Layout /TextAlign /Start>>>> >>"
          % (document, parents, key, " ".join("/%s /%s" % kv for kv in roles.items())))
    if args.hostile:  # the tree holds itself and lists its first section twice
        kids += [document, kids[0]]
    w.set(document, "<</Type /StructElem /S /Document /P %d 0 R /K [%s]>>"
          % (root, " ".join("%d 0 R" % k for k in kids)))
    w.set(parents, "<</Nums [%s]>>" % " ".join(sorted(parent_nums, key=lambda e: int(e.split()[0]))))
    extras = ""
    if args.lang:
        extras += " /Lang (%s)" % args.lang
    if args.labels:
        nums = []
        for item in args.labels.split(","):
            parts = item.split(":")
            label = "<<" + ("/S /%s" % parts[1] if parts[1] else "")
            label += " /P (%s)" % parts[2] if len(parts) > 2 else ""
            nums.append("%s %s>>" % (parts[0], label))
        extras += " /PageLabels <</Nums [%s]>>" % " ".join(nums)
    if args.files:
        names = []
        for name in args.files.split(","):
            data, spec = w.add(), w.add()
            w.stream(data, "/Type /EmbeddedFile", "contents of %s in %s" % (name, args.out))
            w.set(spec, "<</Type /Filespec /F (%s) /UF (%s) /EF <</F %d 0 R>>>>" % (name, name, data))
            names.append((name, spec))
        extras += " /Names <</EmbeddedFiles <</Names [%s]>>>>" % " ".join(
            "(%s) %d 0 R" % item for item in sorted(names))
    if fields:
        extras += " /AcroForm <</Fields [%s] /DA (/Helv 12 Tf 0 g)>>" % " ".join(
            "%d 0 R" % f for f in fields)
    if tagged:
        extras += " /StructTreeRoot %d 0 R /MarkInfo <</Marked true>>" % root
    w.set(catalog, "<</Type /Catalog /Pages %d 0 R%s>>" % (pages, extras))
    if not tagged:
        for n in (root, document, parents):
            w.set(n, "null")
    w.save(args.out, catalog)


def check(path):
    from pypdf import PdfReader
    from pypdf.generic import IndirectObject
    reader = PdfReader(path)
    tree = reader.trailer["/Root"]["/StructTreeRoot"].get_object()
    parents, todo = {}, [tree["/ParentTree"].get_object()]
    while todo:
        node = todo.pop()
        nums = node.get("/Nums", [])
        for i in range(0, len(nums) - 1, 2):
            parents[int(nums[i])] = nums[i + 1]
        todo += [kid.get_object() for kid in node.get("/Kids", [])]
    problems, page_forms = [], set()

    def entry(key, mcid=None):
        value = parents.get(int(key))
        if value is None:
            return None
        if mcid is None:
            return value.idnum if isinstance(value, IndirectObject) else None
        value = value.get_object() if isinstance(value, IndirectObject) else value
        return value[mcid].idnum if mcid < len(value) and isinstance(value[mcid], IndirectObject) \
            else None
    for number, page in enumerate(reader.pages, 1):
        for annot in page.get("/Annots", []):
            if "/StructParent" in annot.get_object() and \
                    entry(annot.get_object()["/StructParent"]) is None:
                problems.append("page %d: annotation %d" % (number, annot.idnum))
        for name, form in page["/Resources"].get("/XObject", {}).items():
            page_forms.add(form.idnum)
            form = form.get_object()
            if "/StructParents" in form and int(form["/StructParents"]) not in parents:
                problems.append("page %d: form %s" % (number, name))
    todo = [tree["/K"]]
    while todo:
        ref = todo.pop()
        elem = ref.get_object()
        kids = elem.get("/K", [])
        kids = kids if isinstance(kids, list) else [kids]
        for kid in kids:
            value = kid.get_object()
            if isinstance(value, dict) and value.get("/Type") == "/MCR":
                key = value["/Stm"].get_object().get("/StructParents", -1)
                found = entry(key, int(value["/MCID"]))
                # a form inside pages placed several times names its first element
                if found is None or (value.raw_get("/Stm").idnum in page_forms and found != ref.idnum):
                    problems.append("element %d: content %s" % (ref.idnum, value["/MCID"]))
            elif isinstance(value, dict) and value.get("/Type") == "/OBJR":
                if entry(value["/Obj"].get_object().get("/StructParent", -1)) != ref.idnum:
                    problems.append("element %d: annotation %d" % (ref.idnum, value.raw_get("/Obj").idnum))
            elif isinstance(value, dict):
                todo.append(kid)
            else:
                problems.append("element %d: content not through a form" % ref.idnum)
    print("\n".join(problems))


if __name__ == "__main__":
    import sys
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        check(sys.argv[2])
        sys.exit(0)
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--lang", default="")
    parser.add_argument("--words", default="Alpha,Beta,Gamma")
    parser.add_argument("--labels", default="")
    parser.add_argument("--files", default="")
    parser.add_argument("--role", default="")
    parser.add_argument("--untagged", action="store_true")
    parser.add_argument("--hostile", action="store_true")
    make(parser.parse_args())
