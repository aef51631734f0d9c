#include "FormPdf.h"

#include "HostilePdf.h"

#include <cstdio>

namespace {

std::string Ref(int num) { return std::to_string(num) + " 0 R"; }

std::string Colour(unsigned rgb) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f %.3f %.3f rg", ((rgb >> 16) & 0xFF) / 255.0,
                ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
  return text;
}

// An appearance: a block of colour filling its box.
int Appearance(RawPdf &pdf, double w, double h, unsigned rgb) {
  const std::string data =
      Colour(rgb) + " 0 0 " + std::to_string(w) + " " + std::to_string(h) + " re f";
  return pdf.Add(StreamObject("/Type /XObject /Subtype /Form /BBox [0 0 " + std::to_string(w) +
                                  " " + std::to_string(h) + "]",
                              data));
}

} // namespace

std::string MakeFormPdf(const std::string &label, const FormPdfOptions &options) {
  TextPdf doc = MakeTextPdf(label, 3);
  RawPdf &pdf = doc.pdf;
  const int page1 = doc.pageObjs[0], page2 = doc.pageObjs[1], page3 = doc.pageObjs[2];
  const std::string common = " /Type /Annot /Subtype /Widget /F 4 /DA (/Helv 12 Tf 0 g) ";

  const std::string nameLook =
      options.needAppearances ? ""
                              : "/AP << /N " + Ref(Appearance(pdf, 200, 40, kNameColour)) + " >>";
  const int name = pdf.Add("<< /FT /Tx /T (name) /V (Ann) /Rect [100 600 300 640] /P " +
                           Ref(page1) + common + nameLook + " >>");
  const int agree =
      pdf.Add("<< /FT /Btn /T (agree) /V /Yes /AS /Yes /Rect [100 500 140 540] /P " + Ref(page1) +
              common + "/AP << /N << /Yes " + Ref(Appearance(pdf, 40, 40, kAgreeColour)) +
              " /Off " + Ref(Appearance(pdf, 40, 40, 0xFFFFFF)) + " >> >> >>");
  const int choice = pdf.Reserve();
  const int radioA =
      pdf.Add("<< /Parent " + Ref(choice) + " /AS /Off /Rect [100 400 130 430] /P " + Ref(page1) +
              common + "/AP << /N << /A " + Ref(Appearance(pdf, 30, 30, 0x0000FF)) + " /Off " +
              Ref(Appearance(pdf, 30, 30, 0xDDDDDD)) + " >> >> >>");
  const int radioB =
      pdf.Add("<< /Parent " + Ref(choice) + " /AS /B /Rect [100 400 130 430] /P " + Ref(page2) +
              common + "/AP << /N << /B " + Ref(Appearance(pdf, 30, 30, 0x0000FF)) + " /Off " +
              Ref(Appearance(pdf, 30, 30, 0xDDDDDD)) + " >> >> >>");
  pdf.Set(choice, "<< /FT /Btn /Ff 49152 /T (choice) /V /" + options.radioValue + " /Kids [" +
                      Ref(radioA) + " " + Ref(radioB) + "] >>");
  const int color = pdf.Add("<< /FT /Ch /Ff 131072 /T (color) /Opt [(Red) (Green)] /V (Green) "
                            "/Rect [100 300 300 330] /P " +
                            Ref(page2) + common + "/AP << /N " +
                            Ref(Appearance(pdf, 200, 30, 0x808080)) + " >> >>");
  const int sig =
      pdf.Add("<< /FT /Sig /T (sig) /Rect [100 200 300 260] /P " + Ref(page2) + common +
              "/AP << /N " + Ref(Appearance(pdf, 200, 60, kSignatureColour)) + " >> >>");
  const int later =
      pdf.Add("<< /FT /Tx /T (later) /V (Later) /Rect [100 600 300 640] /P " + Ref(page3) + common +
              "/AP << /N " + Ref(Appearance(pdf, 200, 40, 0xFF0000)) + " >> >>");
  doc.AddToPage(
      1, "/Annots [" + Ref(name) + " " + Ref(agree) + " " + Ref(radioA) +
             (options.sharedWidget ? " " + Ref(later) : "") + "]" +
             (options.rotatePage1 != 0 ? " /Rotate " + std::to_string(options.rotatePage1) : ""));
  doc.AddToPage(2, "/Annots [" + Ref(radioB) + " " + Ref(color) + " " + Ref(sig) + "]");
  doc.AddToPage(3, "/Annots [" + Ref(later) + "]");
  const int helv = pdf.Add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  const std::string radios = options.kidsListed ? Ref(radioA) + " " + Ref(radioB) : Ref(choice);
  const std::string form = "/AcroForm << /Fields [" + Ref(name) + " " + Ref(agree) + " " + radios +
                           " " + Ref(color) + " " + Ref(sig) + " " + Ref(later) +
                           "] /DR << /Font << /Helv " + Ref(helv) +
                           " >> >> /DA (/Helv 0 Tf 0 g) /SigFlags 3 /CO [" + Ref(name) + "]" +
                           (options.needAppearances ? " /NeedAppearances true" : "") + " >>";
  std::string catalog = pdf.Body(doc.catalog);
  catalog.insert(catalog.rfind(">>"), form + " ");
  pdf.Set(doc.catalog, catalog);
  return pdf.Write().bytes;
}
