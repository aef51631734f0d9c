#!/usr/bin/python3
"""Form fields of a PDF as other tools see them.

  form_fields.py list FILE          one line per widget: full name, type, value, page, rectangle
                                    (from qpdf's JSON)
  form_fields.py fill FILE OUT NAME=VALUE...
                                    fills text fields with pypdf and writes OUT
  form_fields.py values FILE        one line per field: full name = value (from pypdf)
"""
import json
import subprocess
import sys


def listing(path):
    data = json.loads(subprocess.run(["qpdf", "--json", "--json-key=acroform", "--json-key=qpdf", path],
                                     capture_output=True, text=True, check=True).stdout)
    objects = data["qpdf"][1]
    form = data["acroform"]
    for field in form["fields"]:
        widget = objects.get("obj:" + field["annotation"]["object"], {}).get("value", {})
        rect = widget.get("/Rect") or []
        print("%s|%s|%s|%s|%s" % (field["fullname"], field["fieldtype"], field["value"],
                                   field["pageposfrom1"], " ".join("%.0f" % v for v in rect)))


def fill(path, out, pairs):
    from pypdf import PdfReader, PdfWriter
    reader = PdfReader(path)
    writer = PdfWriter()
    writer.append(reader)
    values = dict(pair.split("=", 1) for pair in pairs)
    for page in writer.pages:
        writer.update_page_form_field_values(page, values)
    with open(out, "wb") as handle:
        writer.write(handle)


def values(path):
    from pypdf import PdfReader
    for name, field in sorted(PdfReader(path).get_fields().items()):
        print("%s = %s" % (name, field.get("/V")))


if __name__ == "__main__":
    if sys.argv[1] == "list":
        listing(sys.argv[2])
    elif sys.argv[1] == "fill":
        fill(sys.argv[2], sys.argv[3], sys.argv[4:])
    else:
        values(sys.argv[2])
