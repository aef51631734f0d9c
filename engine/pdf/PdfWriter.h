#pragma once
// Writes the output PDF as it is made: each object goes to the file when it is complete, so the
// output never has to be held in memory whole. Object numbers are handed out by Reserve and may
// be written in any order; the cross-reference table is written at the end. The file is
// written beside its target under a private name and moved over it only when complete.

#include "ObjectCipher.h"
#include "PdfValue.h"
#include "XrefOffsets.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace engine::pdf {

class StagedOutput;

// The text of a value as PDF syntax (without encryption).
void AppendValue(std::string &out, const Value &value);
// A real number as PDF writes them: no exponent, up to twelve significant digits.
void AppendReal(std::string &out, double value);

class PdfWriter {
public:
  // Creates the temporary file beside strTarget; Ok() tells whether that worked.
  explicit PdfWriter(const std::string &strTarget);
  ~PdfWriter();
  PdfWriter(const PdfWriter &) = delete;
  PdfWriter &operator=(const PdfWriter &) = delete;

  bool Ok() const { return m_strError.empty(); }
  // The system's reason for the first failure ("No space left on device").
  const std::string &Error() const { return m_strError; }

  // Strings and streams of every object written from now on are encrypted with it; the
  // encryption dictionary itself is written unencrypted as object nEncryptNum.
  void SetEncryption(std::unique_ptr<ObjectCipher> pCipher, uint32_t nEncryptNum);
  // Called by Finish with the complete file's temporary path before it replaces the target:
  // a reason (non-empty) keeps the target as it was and fails Finish with that reason.
  using CommitCheck = std::function<std::string(const std::string &strStagedPath)>;
  void SetCommitCheck(CommitCheck check) { m_check = std::move(check); }

  // Objects that are not streams go into compressed object streams, and the cross-reference
  // becomes a stream too: smaller files that need a PDF 1.5 reader.
  void SetObjectStreams(bool bOn) { m_bPack = bOn; }

  uint32_t Reserve();
  void WriteObject(uint32_t nNum, const Value &value);
  // An object given as its PDF text, which must hold no strings (nothing in it is encrypted):
  // for the few objects too large to build as values first (the page tree's kids).
  void WriteObjectText(uint32_t nNum, std::string_view text);
  // A stream: dict gets the data's /Length; the data is written as given (already encoded
  // by the filters the dictionary names).
  void WriteStream(uint32_t nNum, Value dict, std::string_view data);
  // Writes the cross-reference table and the trailer (/Size added), sets the header's version
  // (10 * major + minor) and flushes the file to the disk. False on any failure. The target is
  // untouched until Commit.
  bool Finish(Value trailer, int nVersion);
  // The finished file, under its temporary name beside the target.
  const std::string &StagedPath() const;
  // Moves the finished file over the target; false when that fails (the target is untouched).
  bool Commit();
  size_t BytesWritten() const { return m_nOffset; }

private:
  void Put(std::string_view bytes);
  void WriteOut(std::string_view bytes);
  void Flush();
  // False (and the writer fails) for a number not reserved or already written.
  bool BeginObject(uint32_t nNum);
  void AppendEncrypted(std::string &out, const Value &value, uint32_t nNum);
  std::string Encrypted(uint32_t nNum, std::string_view plain);
  // Puts the object (a value, or its text when pValue is null) into the object stream being
  // filled; false when it is not to be packed.
  bool Pack(uint32_t nNum, const Value *pValue, std::string_view text);
  void FlushPack();
  // Whether the object waits in the object stream being filled.
  bool Packing(uint32_t nNum) const;
  void WriteXrefTable(Value trailer);
  void WriteXrefStream(Value trailer);

  std::unique_ptr<StagedOutput> m_pStaged;
  int m_fd = -1;
  std::string m_strError;
  std::string m_buffer;
  uint64_t m_nOffset = 0;
  XrefOffsets m_offsets; // by object number

  bool m_bPack = false;
  std::string m_packHead, m_packBody; // the object stream being filled
  std::vector<uint32_t> m_packNumbers;

  uint32_t m_nNext = 1;
  std::unique_ptr<ObjectCipher> m_pCipher;
  uint32_t m_nEncryptNum = 0;
  CommitCheck m_check;
  std::string m_scratch;
};

} // namespace engine::pdf
