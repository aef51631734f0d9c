// A bounded mutation smoke test: 150 one-change variants of three small PDFs (bytes flipped,
// overwritten, deleted or inserted; in the cross-reference, in object headers, anywhere), each
// given to --info and to a merge. No run may crash or hang, and a merge that says it succeeded
// wrote a file qpdf accepts with the pages --info promised, or said what it left out. The seed
// is fixed: a failure names its mutant, which is made again the same way.
#include "CliRun.h"
#include "HostilePdf.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

constexpr int kMutants = 150;
constexpr double kRunSeconds = 20;
// A real file from Debian's documentation (pdfTeX, object streams, compressed). When it is not
// installed, a compressed copy of a generated file made by qpdf takes its place.
const char *const kRealPdf = "/usr/share/doc/shared-mime-info/shared-mime-info-spec.pdf";

struct Source {
  std::string name, bytes;
};

std::vector<Source> Sources(const TempDir &dir) {
  std::vector<Source> sources;
  TextPdf plain = MakeTextPdf("plain", 4);
  sources.push_back({"plain.pdf", plain.pdf.Write().bytes});
  TextPdf packed = MakeTextPdf("packed", 4);
  RawPdf::Packing packing;
  packing.packed = {packed.pageObjs[1], packed.pageObjs[2], packed.pageObjs[3], packed.font};
  sources.push_back({"packed.pdf", packed.pdf.WriteCompressed(packing).bytes});
  std::string real = ReadFileBytes(kRealPdf);
  if (!real.empty()) {
    sources.push_back({"shared-mime-info-spec.pdf", real});
  } else {
    std::cout << "note: " << kRealPdf << " is missing; a qpdf-compressed file replaces it\n";
    WriteFileBytes(dir.file("plain.pdf"), MakeTextPdf("qpdf", 6).pdf.Write().bytes);
    RunCommand("qpdf --object-streams=generate --compress-streams=y '" + dir.file("plain.pdf") +
               "' '" + dir.file("qpdf.pdf") + "'");
    sources.push_back({"qpdf.pdf", ReadFileBytes(dir.file("qpdf.pdf"))});
  }
  return sources;
}

// Starts of "N 0 obj" headers.
std::vector<size_t> HeaderStarts(const std::string &bytes) {
  std::vector<size_t> starts;
  for (size_t at = bytes.find(" 0 obj"); at != std::string::npos;
       at = bytes.find(" 0 obj", at + 1)) {
    size_t start = at;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(bytes[start - 1])))
      --start;
    if (start < at)
      starts.push_back(start);
  }
  return starts;
}

// One change to the bytes, described for the failure message.
std::string Mutate(std::string &bytes, SplitMix64 &random, int region) {
  const size_t size = bytes.size();
  size_t at = random.Next() % size;
  std::string where = "anywhere";
  if (region == 0) {
    // The cross-reference table or stream, from where startxref says it starts.
    size_t xref = size * 3 / 4;
    const size_t key = bytes.rfind("startxref");
    if (key != std::string::npos) {
      const size_t value = std::strtoul(bytes.c_str() + key + 9, nullptr, 10);
      if (value < size)
        xref = value;
    }
    at = xref + random.Next() % (size - xref);
    where = "in the cross-reference";
  } else if (region == 1) {
    const std::vector<size_t> headers = HeaderStarts(bytes);
    if (!headers.empty()) {
      at = headers[random.Next() % headers.size()] + random.Next() % 8;
      where = "in an object header";
    }
  }
  at = std::min(at, size - 1);
  std::string what;
  switch (random.Next() % 5) {
  case 0: {
    const int bit = static_cast<int>(random.Next() % 8);
    bytes[at] = static_cast<char>(bytes[at] ^ (1 << bit));
    what = "flip bit " + std::to_string(bit);
    break;
  }
  case 1: {
    const size_t n = std::min<size_t>(1 + random.Next() % 4, size - at);
    for (size_t i = 0; i < n; ++i)
      bytes[at + i] = static_cast<char>(random.Next() & 0xFF);
    what = "overwrite " + std::to_string(n) + " bytes";
    break;
  }
  case 2: {
    const size_t n = std::min<size_t>(1 + random.Next() % 16, size - at);
    bytes.erase(at, n);
    what = "delete " + std::to_string(n) + " bytes";
    break;
  }
  case 3: {
    const size_t n = 1 + random.Next() % 8;
    std::string junk;
    for (size_t i = 0; i < n; ++i)
      junk += static_cast<char>(random.Next() & 0xFF);
    bytes.insert(at, junk);
    what = "insert " + std::to_string(n) + " bytes";
    break;
  }
  default: {
    // A digit changed: offsets, lengths, counts and object numbers are where parsers trust most.
    const size_t digit = bytes.find_first_of("0123456789", at);
    if (digit != std::string::npos)
      at = digit;
    bytes[at] = static_cast<char>('0' + random.Next() % 10);
    what = "set a digit";
    break;
  }
  }
  return what + " at " + std::to_string(at) + " (" + where + ")";
}

TEST(MutationSmoke, NoCrashNoHangAndEveryWrittenFileIsSound) {
  TempDir dir;
  const std::vector<Source> sources = Sources(dir);
  SplitMix64 random{20240914};
  std::vector<std::string> problems;
  int merged = 0, refused = 0;
  for (int i = 0; i < kMutants; ++i) {
    const Source &source = sources[i % sources.size()];
    std::string bytes = source.bytes;
    const std::string change = Mutate(bytes, random, (i / 3) % 3);
    const std::string name = "mutant " + std::to_string(i) + " of " + source.name + ": " + change;
    const std::string path = dir.file("mutant.pdf"), out = dir.file("out.pdf");
    WriteFileBytes(path, bytes);
    std::remove(out.c_str());

    const ChildResult info = RunMerge({"--info", path}, kRunSeconds);
    if (!info.exited || (info.exitCode != 0 && info.exitCode != 1)) {
      problems.push_back(name + ": --info " + info.Describe());
      continue;
    }
    const int told = InfoPages(info, path);
    const ChildResult merge = RunMerge({"-o", out, path}, kRunSeconds);
    if (!merge.exited || (merge.exitCode != 0 && merge.exitCode != 1)) {
      problems.push_back(name + ": merge " + merge.Describe());
      continue;
    }
    if (merge.exitCode == 1) {
      ++refused;
      if (FileExists(out))
        problems.push_back(name + ": the merge failed and left " + out);
      continue;
    }
    ++merged;
    const QpdfCheck check = CheckWithQpdf(out);
    if (!check.CleanButPageContent())
      problems.push_back(name + ": qpdf --check: " + check.output.substr(0, 300));
    const int sheets = QpdfPageCount(out);
    if (told < 0)
      problems.push_back(name + ": --info refused the file but the merge wrote " +
                         std::to_string(sheets) + " sheets");
    else if (sheets != told && !Warns(merge, path))
      problems.push_back(name + ": --info said " + std::to_string(told) +
                         " pages, the merge wrote " + std::to_string(sheets) +
                         " sheets and said nothing");
  }
  std::cout << merged << " mutants merged, " << refused << " refused, " << problems.size()
            << " with problems\n";
  std::string report;
  for (size_t k = 0; k < problems.size() && k < 25; ++k)
    report += problems[k] + "\n";
  EXPECT_TRUE(problems.empty()) << problems.size() << " of " << kMutants << " mutants:\n" << report;
}

} // namespace
