#pragma once
// Small PDFs made for the tests: each page is filled with one colour and has a black marker
// square in its top-left corner, so a rendered sheet shows where each page landed and how it
// was turned.

#include <string>
#include <vector>

struct TestPage {
  double width = 595, height = 842;
  double left = 0, bottom = 0; // media box origin
  int rotate = 0;              // /Rotate, 0 when 0
  unsigned colour = 0xFF0000;  // 0xRRGGBB fill
};

struct TestPdfOptions {
  // Resources only on the page tree's root, inherited by every page.
  bool inheritedResources = false;
  // Content split over two streams (a /Contents array).
  bool splitContent = false;
  // Encryption: empty user password with this owner password, when not empty.
  std::string ownerPassword;
  std::string userPassword;
};

void MakeTestPdf(const std::string &path, const std::vector<TestPage> &pages,
                 const TestPdfOptions &options = {});

// n pages of the given size, each a colour of its own (see PageColour).
void MakeNumberedPdf(const std::string &path, int pages, double width = 595, double height = 842);
unsigned PageColour(int index);

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// A page rendered by pdftoppm at the given resolution.
struct RenderedPage {
  int width = 0, height = 0;
  std::vector<unsigned char> pixels;
  Rgb At(double fx, double fy) const; // fractions of width and height from the top-left
};
RenderedPage RenderPage(const std::string &pdf, int page, int dpi = 24);
bool Near(const Rgb &a, unsigned rgb, int tolerance = 40);
