#include "PdfMaker.h"

#include "support/TempDir.h"

#include "PodofoSetup.h"

#include <podofo/podofo.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

using namespace PoDoFo;

namespace {

std::string Colour(unsigned rgb) {
  std::ostringstream out;
  out << ((rgb >> 16) & 0xFF) / 255.0 << " " << ((rgb >> 8) & 0xFF) / 255.0 << " "
      << (rgb & 0xFF) / 255.0 << " rg\n";
  return out.str();
}

} // namespace

unsigned PageColour(int index) {
  static const unsigned kColours[] = {0xFF0000, 0x00A000, 0x0000FF, 0xFFA500, 0x800080,
                                      0x00CCCC, 0xCC00CC, 0x808000, 0x008080, 0xA0522D};
  return kColours[index % 10];
}

void MakeTestPdf(const std::string &path, const std::vector<TestPage> &pages,
                 const TestPdfOptions &options) {
  engine::EnsurePodofoReady(); // encryption needs OpenSSL's legacy provider
  PdfMemDocument doc;
  PdfVecObjects &objects = doc.GetObjects();
  // A form drawn by each page through its resources: missing resources show as a blank page.
  PdfObject *marker = objects.CreateObject("XObject");
  marker->GetDictionary().AddKey("Subtype", PdfName("Form"));
  PdfArray bbox;
  for (int v : {0, 0, 1, 1})
    bbox.push_back(PdfObject(static_cast<pdf_int64>(v)));
  marker->GetDictionary().AddKey("BBox", bbox);
  marker->GetStream()->Set("0 0 0 rg 0 0 1 1 re f\n");

  PdfDictionary resources;
  PdfDictionary xobjects;
  xobjects.AddKey("Mk", marker->Reference());
  resources.AddKey("XObject", xobjects);

  for (const TestPage &spec : pages) {
    PdfPage *page = doc.CreatePage(PdfRect(spec.left, spec.bottom, spec.width, spec.height));
    PdfObject *pageObj = page->GetObject();
    if (spec.rotate != 0)
      pageObj->GetDictionary().AddKey("Rotate", PdfVariant(static_cast<pdf_int64>(spec.rotate)));
    std::ostringstream fill, mark;
    fill << Colour(spec.colour) << spec.left << " " << spec.bottom << " " << spec.width << " "
         << spec.height << " re f\n";
    const double side = std::min(spec.width, spec.height) / 5;
    mark << "q " << side << " 0 0 " << side << " " << spec.left << " "
         << spec.bottom + spec.height - side << " cm /Mk Do Q\n";
    if (options.splitContent) {
      // The split falls right after an operator, with no whitespace between the parts.
      std::string first = fill.str();
      first.pop_back();
      PdfObject *a = objects.CreateObject();
      a->GetStream()->Set(first.c_str());
      PdfObject *b = objects.CreateObject();
      b->GetStream()->Set(mark.str().c_str());
      PdfArray parts;
      parts.push_back(a->Reference());
      parts.push_back(b->Reference());
      pageObj->GetDictionary().AddKey("Contents", parts);
    } else {
      PdfObject *c = objects.CreateObject();
      c->GetStream()->Set((fill.str() + mark.str()).c_str());
      pageObj->GetDictionary().AddKey("Contents", c->Reference());
    }
    if (options.inheritedResources)
      pageObj->GetDictionary().RemoveKey("Resources");
    else
      pageObj->GetDictionary().AddKey("Resources", resources);
  }
  if (options.inheritedResources)
    doc.GetPagesTree()->GetObject()->GetDictionary().AddKey("Resources", resources);
  if (!options.ownerPassword.empty() || !options.userPassword.empty())
    doc.SetEncrypted(options.userPassword, options.ownerPassword, PdfEncrypt::ePdfPermissions_Print,
                     PdfEncrypt::ePdfEncryptAlgorithm_AESV2, PdfEncrypt::ePdfKeyLength_128);
  doc.Write(path.c_str());
}

void MakeNumberedPdf(const std::string &path, int pages, double width, double height) {
  std::vector<TestPage> list;
  for (int i = 0; i < pages; ++i) {
    TestPage page;
    page.width = width;
    page.height = height;
    page.colour = PageColour(i);
    list.push_back(page);
  }
  MakeTestPdf(path, list);
}

Rgb RenderedPage::At(double fx, double fy) const {
  const int x = std::min(width - 1, static_cast<int>(fx * width));
  const int y = std::min(height - 1, static_cast<int>(fy * height));
  const size_t at = (static_cast<size_t>(y) * width + x) * 3;
  return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

RenderedPage RenderPage(const std::string &pdf, int page, int dpi) {
  TempDir dir;
  const std::string prefix = dir.file("page");
  const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -f " +
                              std::to_string(page) + " -l " + std::to_string(page) +
                              " -singlefile '" + pdf + "' '" + prefix + "'";
  int status = 0;
  RunCommand(command + " 2>/dev/null", &status);
  const std::string data = ReadFileBytes(prefix + ".ppm");
  RenderedPage out;
  std::istringstream in(data);
  std::string magic;
  int maxValue = 0;
  in >> magic >> out.width >> out.height >> maxValue;
  in.get();
  if (status != 0 || magic != "P6")
    throw std::runtime_error("pdftoppm could not render " + pdf);
  out.pixels.resize(static_cast<size_t>(out.width) * out.height * 3);
  in.read(reinterpret_cast<char *>(out.pixels.data()), static_cast<std::streamsize>(out.pixels.size()));
  return out;
}

bool Near(const Rgb &a, unsigned rgb, int tolerance) {
  return std::abs(a.r - static_cast<int>((rgb >> 16) & 0xFF)) <= tolerance &&
         std::abs(a.g - static_cast<int>((rgb >> 8) & 0xFF)) <= tolerance &&
         std::abs(a.b - static_cast<int>(rgb & 0xFF)) <= tolerance;
}
