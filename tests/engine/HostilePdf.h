#pragma once
// Hand-written PDFs for the damaged- and hostile-input tests. RawPdf lays out numbered objects
// with a correct cross-reference (a table, or an object stream with a cross-reference stream);
// the makers below start from a small text document and damage exactly one thing. Every page
// shows one line, "<label> page <n>", so pdftotext tells which source page landed where.
// Nothing here uses PoDoFo: the files are what the bytes say, whatever reader is tested.

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// splitmix64: the same numbers on every platform and library, unlike std's distributions.
struct SplitMix64 {
  uint64_t state;
  uint64_t Next();
};

class RawPdf {
public:
  // A new object with the next number; body is what stands between "N 0 obj" and "endobj".
  int Add(const std::string &body);
  // A number now, the body later (for objects that point at each other).
  int Reserve();
  void Set(int num, const std::string &body);
  const std::string &Body(int num) const { return m_bodies.at(num); }
  int Highest() const { return static_cast<int>(m_bodies.size()); }

  std::string version = "1.4";
  int root = 0;
  std::string trailerExtra; // more trailer entries, e.g. "/Info 9 0 R"
  std::vector<int> order;   // the order objects are written in; empty: by number

  struct Layout {
    std::string bytes;
    std::map<int, size_t> offsets; // where each "N 0 obj" starts
    size_t xref = 0;               // where the cross-reference table or stream starts
  };
  // Classic file: objects, then an "xref" table, trailer, startxref.
  Layout Write() const;

  // The objects in `packed` go into one object stream, the cross-reference is a stream.
  // The stream's /N and /First are written as given when not empty (damage); insideItself
  // makes the cross-reference claim that the object stream is stored in itself.
  struct Packing {
    std::vector<int> packed;
    std::string n, first;
    bool insideItself = false;
  };
  Layout WriteCompressed(const Packing &packing) const;

private:
  std::map<int, std::string> m_bodies;
};

// "<< dict /Length n >>" with the stream data; length overrides the true /Length text.
std::string StreamObject(const std::string &dict, const std::string &data,
                         const std::string &length = "");

// A small document: catalog, page tree, one font, and `pages` pages, each with its own content
// stream drawing a pale ground and the page's marker line.
struct TextPdf {
  RawPdf pdf;
  std::string label;
  int catalog = 0, pages = 0, font = 0;
  std::vector<int> pageObjs, contents;
  // Rewrites the page tree root with these /Kids and /Count texts.
  void SetKids(const std::string &kids, const std::string &count);
  // Adds entries to page n's dictionary (1-based), or replaces one "/Key value" text.
  void AddToPage(int n, const std::string &entries);
  void ReplaceInPage(int n, const std::string &from, const std::string &to);
};
TextPdf MakeTextPdf(const std::string &label, int pages);
// 100,000 text fields all named "a", their widgets spread over three pages.
std::string FieldsOneName();
std::string PageMarker(const std::string &label, int page);

// What a sound reader does with a hostile file.
enum class Expect {
  AllPages,     // every marked page is placed, as in the undamaged file
  PagesWarned,  // the real pages are placed and what is not a page is warned about
  NoSilentLoss, // what is placed is right; a page that is not placed is reported
};

// One generated input of the hostile-input tables.
struct HostileCase {
  const char *name; // test name and page label
  int pages;        // pages a sound reader finds: the marked pages 1..pages
  std::string (*make)();
  int distinct = 0; // when not 0, page k shows marker ((k - 1) % distinct) + 1
  Expect expect = Expect::AllPages;
};

inline void PrintTo(const HostileCase &c, std::ostream *out) { *out << c.name; }

// Damage that qpdf and mutool repair with every object intact: the cross-reference, startxref
// or a stream /Length does not match the bytes.
const std::vector<HostileCase> &RepairableCases();
// Loops: a page tree node among its own kids, one page listed 20,000 times, a name tree node
// and outline entries that lead back to themselves.
const std::vector<HostileCase> &LoopCases();
// Lies and junk: page counts, kids that are not pages, broken object streams, deep nesting,
// numbers that are not finite or not sensible.
const std::vector<HostileCase> &JunkCases();
// Damage that qpdf, poppler and mutool read past with every page: a NaN for the /Root or in a
// page, a page dictionary left open, junk before the header or no header, a /Root that is not
// the catalog, pages written inline in /Kids.
const std::vector<HostileCase> &ReaderRepairCases();

// Files of kilobytes that ask for gigabytes or minutes: the reader must stay within its
// budgets. pages: the pages that arrive, or -1 when the file is skipped; phrase: what the
// warning or the reason says (null: nothing need be said).
struct WorkCase {
  const char *name;
  std::string (*make)();
  int pages;
  const char *phrase;
};
inline void PrintTo(const WorkCase &c, std::ostream *out) { *out << c.name; }
const std::vector<WorkCase> &WorkBombCases();
// A two-page text file whose page 1 also draws the JPEG picture given, a scan, through an image
// whose cross-reference entry is wrong.
std::string ScanXrefWrong(const std::string &jpeg);

// A damaged file without a table, of nStreams object streams that the reader finds by a scan and
// that each inflate to 60 MB of white space: about 60 KB per stream, and seconds of decoding.
std::string SlowToRead(int nStreams);

// LZW data of a run of zeros: 7,367,041 bytes, then 3,838 more for each of nCodes codes.
std::string LzwZeros(size_t nCodes);

// Files named .pdf that are no PDF at all.
const std::vector<HostileCase> &NotPdfCases();

// Encryption dictionaries a reader must check before it trusts them: a real RC4 128-bit file
// made by qpdf (empty user password) with one entry edited. Needs qpdf.
struct EncryptionCase {
  const char *name;
  const char *from, *to; // text of the dictionary replaced; to "" removes it
};
inline void PrintTo(const EncryptionCase &c, std::ostream *out) { *out << c.name; }
const std::vector<EncryptionCase> &BadEncryptionCases();
std::string MakeBadEncryption(const EncryptionCase &edit, const std::string &workDir);

// A text PDF encrypted by qpdf: `qpdf --encrypt USER OWNER BITS` with the extra options, the
// passwords read in qpdf's --password-mode.
std::string MakeEncryptedPdf(const std::string &label, int pages, const std::string &user,
                             const std::string &owner, const std::string &bitsAndOptions,
                             const std::string &workDir, const std::string &passwordMode = "auto");

// A PNG whose header declares width × height RGBA with only the start of its pixel data.
std::string MakePngHeaderBomb(unsigned width, unsigned height);

// Replaces bytes of a classic file and moves the cross-reference entries and startxref behind
// the change, so the file stays consistent.
std::string EditKeepingXref(const std::string &bytes, size_t at, size_t length,
                            const std::string &with);
