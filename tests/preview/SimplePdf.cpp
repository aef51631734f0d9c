#include "SimplePdf.h"

#include <fstream>
#include <sstream>

std::string FillRect(unsigned rgb, double x, double y, double w, double h) {
  std::ostringstream out;
  out << ((rgb >> 16) & 0xFF) / 255.0 << " " << ((rgb >> 8) & 0xFF) / 255.0 << " "
      << (rgb & 0xFF) / 255.0 << " rg " << x << " " << y << " " << w << " " << h << " re f\n";
  return out.str();
}

void WriteSimplePdf(const std::string &path, const std::vector<SimplePage> &pages) {
  std::vector<std::string> objects; // object n is objects[n - 1]
  std::ostringstream kids;
  const size_t pageCount = pages.size();
  objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
  objects.push_back(""); // the page tree, written once the kids are known
  for (size_t i = 0; i < pageCount; ++i) {
    const SimplePage &p = pages[i];
    const size_t pageObject = 3 + 2 * i, contentObject = pageObject + 1;
    std::ostringstream page;
    page << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " << p.width << " " << p.height << "]";
    if (!p.cropBox.empty())
      page << " /CropBox [" << p.cropBox << "]";
    if (p.rotate != 0)
      page << " /Rotate " << p.rotate;
    page << " /Resources << >> /Contents " << contentObject << " 0 R >>";
    objects.push_back(page.str());
    objects.push_back("<< /Length " + std::to_string(p.content.size()) + " >>\nstream\n" +
                      p.content + "\nendstream");
    kids << pageObject << " 0 R ";
  }
  objects[1] = "<< /Type /Pages /Kids [" + kids.str() + "] /Count " + std::to_string(pageCount) +
               " >>";

  std::string out = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t n = 0; n < objects.size(); ++n) {
    offsets.push_back(out.size());
    out += std::to_string(n + 1) + " 0 obj\n" + objects[n] + "\nendobj\n";
  }
  const size_t xref = out.size();
  out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
    out += line;
  }
  out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  std::ofstream(path, std::ios::binary) << out;
}
