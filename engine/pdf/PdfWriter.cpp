#include "PdfWriter.h"

#include "FileDescriptor.h"
#include "StagedOutput.h"
#include "StreamFilters.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

namespace engine::pdf {

namespace {

// Small writes gather in a buffer of this size; larger ones (stream data) go to the file as
// they are, so that no copy of them is held.
constexpr size_t kFlushAt = 256 << 10;
constexpr size_t kDirectAt = 64 << 10;

bool IsNameRegular(unsigned char c) {
  if (c < 0x21 || c > 0x7E || c == '#')
    return false;
  return std::strchr("()<>[]{}/%", c) == nullptr;
}

void AppendName(std::string &out, const std::string &name) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '/';
  for (unsigned char c : name) {
    if (IsNameRegular(c)) {
      out += static_cast<char>(c);
    } else {
      out += '#';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

void AppendHex(std::string &out, std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '<';
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  out += '>';
}

void AppendString(std::string &out, const String &s) {
  size_t nOdd = 0;
  for (unsigned char c : s.bytes)
    nOdd += (c < 0x20 || c > 0x7E) ? 1 : 0;
  if (s.hex || nOdd * 4 > s.bytes.size()) {
    AppendHex(out, s.bytes);
    return;
  }
  out += '(';
  for (unsigned char c : s.bytes) {
    switch (c) {
    case '(':
      out += "\\(";
      break;
    case ')':
      out += "\\)";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    default:
      if (c < 0x20 || c > 0x7E) {
        char octal[5];
        std::snprintf(octal, sizeof octal, "\\%03o", c);
        out += octal;
      } else {
        out += static_cast<char>(c);
      }
    }
  }
  out += ')';
}

} // namespace

void AppendReal(std::string &out, double value) {
  if (!std::isfinite(value) || std::fabs(value) < 1e-12) {
    out += '0';
    return;
  }
  const double magnitudeOf = std::fabs(value);
  if (magnitudeOf >= 1e15) {
    // Far beyond any page; printed whole, without an exponent.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    out += buffer;
    return;
  }
  // Twelve significant digits, no more than twelve decimals: scaled to an integer and printed
  // with the decimal point put back.
  int magnitude = 0;
  for (double p = 10; p <= magnitudeOf && magnitude < 15; p *= 10)
    ++magnitude;
  if (magnitudeOf < 1)
    for (double p = 1; p > magnitudeOf && magnitude > -12; p /= 10)
      --magnitude;
  const int decimals = std::max(0, std::min(12, 11 - magnitude));
  static const double kPowers[] = {1,   1e1, 1e2, 1e3,  1e4,  1e5, 1e6,
                                   1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
  unsigned long long scaled =
      static_cast<unsigned long long>(std::llround(magnitudeOf * kPowers[decimals]));
  char digits[32];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled != 0);
  while (n <= decimals)
    digits[n++] = '0';
  // digits holds the number backwards: decimals fraction digits, then the whole part.
  int first = 0;
  while (first < decimals && digits[first] == '0')
    ++first;
  std::string text;
  if (value < 0)
    text += '-';
  for (int i = n - 1; i >= decimals; --i)
    text += digits[i];
  if (first < decimals) {
    text += '.';
    for (int i = decimals - 1; i >= first; --i)
      text += digits[i];
  }
  if (text == "-0")
    text = "0";
  out += text;
}

namespace {

// Whether the value's text begins with a regular character, so that it needs a space after a
// name or a number before it; every other boundary is a delimiter and takes none.
bool StartsRegular(const Value &value) {
  switch (value.kind()) {
  case Value::Kind::String:
  case Value::Kind::Name:
  case Value::Kind::Array:
  case Value::Kind::Dict:
    return false;
  default:
    return true;
  }
}

// The text of a value, as short as the syntax allows; strings pass through encode when it is
// given (encryption).
template <typename Encode>
void AppendWith(std::string &out, const Value &value, const Encode &encode) {
  switch (value.kind()) {
  case Value::Kind::Null:
    out += "null";
    break;
  case Value::Kind::Bool:
    out += value.boolean() ? "true" : "false";
    break;
  case Value::Kind::Int:
    out += std::to_string(value.integer());
    break;
  case Value::Kind::Real:
    AppendReal(out, value.number());
    break;
  case Value::Kind::String:
    encode(out, value.string());
    break;
  case Value::Kind::Name:
    AppendName(out, value.name());
    break;
  case Value::Kind::Array: {
    out += '[';
    bool bAfterRegular = false; // the last item ended in a regular character
    for (const Value &item : value.array()) {
      if (bAfterRegular && StartsRegular(item))
        out += ' ';
      AppendWith(out, item, encode);
      const Value::Kind kind = item.kind();
      bAfterRegular =
          kind != Value::Kind::String && kind != Value::Kind::Array && kind != Value::Kind::Dict;
    }
    out += ']';
    break;
  }
  case Value::Kind::Dict:
    out += "<<";
    for (const DictEntry &entry : value.dict()) {
      AppendName(out, entry.key);
      if (StartsRegular(entry.value))
        out += ' ';
      AppendWith(out, entry.value, encode);
    }
    out += ">>";
    break;
  case Value::Kind::Ref:
    out += std::to_string(value.ref().num);
    out += ' ';
    out += std::to_string(value.ref().gen);
    out += " R";
    break;
  }
}

} // namespace

void AppendValue(std::string &out, const Value &value) {
  AppendWith(out, value, [](std::string &text, const String &s) { AppendString(text, s); });
}

PdfWriter::PdfWriter(const std::string &strTarget)
    : m_pStaged(std::make_unique<StagedOutput>(strTarget)) {
  if (!m_pStaged->Ok()) {
    m_strError = std::strerror(errno != 0 ? errno : EIO);
    return;
  }
  m_fd = ::open(m_pStaged->TempPath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (m_fd < 0) {
    m_strError = std::strerror(errno);
    return;
  }
  m_offsets.Add(); // object 0, the head of the free list
  // The version is set when the file is finished; binary bytes mark the file as binary.
  Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfWriter::~PdfWriter() {
  if (m_fd >= 0)
    ::close(m_fd);
}

void PdfWriter::SetEncryption(std::unique_ptr<ObjectCipher> pCipher, uint32_t nEncryptNum) {
  m_pCipher = std::move(pCipher);
  m_nEncryptNum = nEncryptNum;
}

void PdfWriter::WriteOut(std::string_view bytes) {
  int nError = 0;
  if (m_strError.empty() && !WriteAll(m_fd, bytes, &nError))
    m_strError = std::strerror(nError);
}

void PdfWriter::Flush() {
  WriteOut(m_buffer);
  m_buffer.clear();
}

void PdfWriter::Put(std::string_view bytes) {
  if (!m_strError.empty())
    return;
  m_nOffset += bytes.size();
  if (bytes.size() >= kDirectAt) {
    Flush();
    WriteOut(bytes);
    return;
  }
  if (m_buffer.capacity() < kFlushAt + kDirectAt)
    m_buffer.reserve(kFlushAt + kDirectAt);
  m_buffer.append(bytes.data(), bytes.size());
  if (m_buffer.size() >= kFlushAt)
    Flush();
}

uint32_t PdfWriter::Reserve() {
  m_offsets.Add();
  return m_nNext++;
}

bool PdfWriter::BeginObject(uint32_t nNum) {
  // A number not handed out, or one already written, would make a body without a header or a
  // second object of the same number: the output would be corrupt, so the writer fails.
  if (nNum == 0 || nNum >= m_offsets.Size() || m_offsets.Written(nNum) || Packing(nNum)) {
    if (m_strError.empty())
      m_strError = "object " + std::to_string(nNum) +
                   (nNum == 0 || nNum >= m_offsets.Size() ? " was written without being reserved"
                                                          : " was written twice");
    return false;
  }
  m_offsets.Set(nNum, {XrefOffsets::Entry::InFile, 0, m_nOffset});
  Put(std::to_string(nNum));
  Put(" 0 obj\n");
  return true;
}

std::string PdfWriter::Encrypted(uint32_t nNum, std::string_view plain) {
  std::string cipher = m_pCipher->Encrypt(Ref{nNum, 0}, plain);
  if (cipher.empty() && !plain.empty() && m_strError.empty())
    m_strError = "the encryption failed (no secure random numbers)";
  return cipher;
}

void PdfWriter::AppendEncrypted(std::string &out, const Value &value, uint32_t nNum) {
  if (m_pCipher == nullptr || nNum == m_nEncryptNum) {
    AppendValue(out, value);
    return;
  }
  AppendWith(out, value, [this, nNum](std::string &text, const String &s) {
    AppendHex(text, Encrypted(nNum, s.bytes));
  });
}

bool PdfWriter::Pack(uint32_t nNum, const Value *pValue, std::string_view text) {
  if (!m_bPack || nNum == m_nEncryptNum || nNum == 0 || nNum >= m_offsets.Size() ||
      m_offsets.Written(nNum) || Packing(nNum))
    return false;
  // Packed objects are not encrypted one by one: their object stream is.
  m_packHead += std::to_string(nNum) + ' ' + std::to_string(m_packBody.size()) + ' ';
  if (pValue != nullptr)
    AppendValue(m_packBody, *pValue);
  else
    m_packBody.append(text.data(), text.size());
  m_packBody += '\n';
  m_packNumbers.push_back(nNum);
  // Larger streams compress better; readers decode one whole to reach any object in it.
  if (m_packNumbers.size() >= 400 || m_packBody.size() >= (512u << 10))
    FlushPack();
  return true;
}

void PdfWriter::WriteObject(uint32_t nNum, const Value &value) {
  if (Pack(nNum, &value, {}))
    return;
  if (!BeginObject(nNum))
    return;
  m_scratch.clear();
  AppendEncrypted(m_scratch, value, nNum);
  m_scratch += "\nendobj\n";
  Put(m_scratch);
}

void PdfWriter::WriteObjectText(uint32_t nNum, std::string_view text) {
  if (Pack(nNum, nullptr, text))
    return;
  if (!BeginObject(nNum))
    return;
  Put(text);
  Put("\nendobj\n");
}

void PdfWriter::WriteStream(uint32_t nNum, Value dict, std::string_view data) {
  if (!dict.IsDict())
    dict = Value(Dict());
  std::string cipher;
  if (m_pCipher != nullptr) {
    cipher = Encrypted(nNum, data);
    data = cipher;
  }
  dict.dict().Set("Length", Value(static_cast<int64_t>(data.size())));
  if (!BeginObject(nNum))
    return;
  m_scratch.clear();
  AppendEncrypted(m_scratch, dict, nNum);
  m_scratch += "\nstream\n";
  Put(m_scratch);
  Put(data);
  Put("\nendstream\nendobj\n");
}

bool PdfWriter::Packing(uint32_t nNum) const {
  return std::find(m_packNumbers.begin(), m_packNumbers.end(), nNum) != m_packNumbers.end();
}

void PdfWriter::FlushPack() {
  if (m_packNumbers.empty())
    return;
  const uint32_t nStream = Reserve();
  for (uint32_t i = 0; i < m_packNumbers.size(); ++i)
    m_offsets.Set(m_packNumbers[i], {XrefOffsets::Entry::InStream, i, nStream});
  Dict dict;
  dict.Set("Type", Value::MakeName("ObjStm"));
  dict.Set("N", Value(static_cast<int64_t>(m_packNumbers.size())));
  dict.Set("First", Value(static_cast<int64_t>(m_packHead.size())));
  dict.Set("Filter", Value::MakeName("FlateDecode"));
  const std::string data = FlateEncode(m_packHead + m_packBody);
  m_packHead.clear();
  m_packBody.clear();
  m_packNumbers.clear();
  const bool bPack = m_bPack;
  m_bPack = false;
  WriteStream(nStream, Value(std::move(dict)), data);
  m_bPack = bPack;
}

void PdfWriter::WriteXrefTable(Value trailer) {
  const uint64_t xrefAt = m_nOffset;
  const uint32_t nSize = m_offsets.Size();
  Put("xref\n0 " + std::to_string(nSize) + "\n0000000000 65535 f\r\n");
  m_offsets.ForEach([this](uint32_t n, const XrefOffsets::Entry &entry) {
    if (n == 0)
      return;
    char line[21] = "0000000000 00000 n\r\n";
    uint64_t offset = entry.value;
    for (int i = 9; i >= 0 && offset != 0; --i, offset /= 10)
      line[i] = static_cast<char>('0' + offset % 10);
    Put(std::string_view(line, 20));
  });
  trailer.dict().Set("Size", Value(static_cast<int64_t>(nSize)));
  std::string text = "trailer\n";
  AppendValue(text, trailer);
  text += "\nstartxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
  Put(text);
}

void PdfWriter::WriteXrefStream(Value trailer) {
  // The stream lists itself: its number is the last one.
  const uint32_t nSelf = Reserve();
  const uint64_t xrefAt = m_nOffset;
  m_offsets.Set(nSelf, {XrefOffsets::Entry::InFile, 0, xrefAt});
  int nOffsetBytes = 1;
  while (nOffsetBytes < 8 && (xrefAt >> (8 * nOffsetBytes)) != 0)
    ++nOffsetBytes;
  const uint32_t nSize = m_offsets.Size();
  // Each row is stored as its difference from the row above (the PNG "Up" predictor): rows of
  // neighbouring objects differ in few bytes, so the table compresses several times better.
  const size_t nColumns = static_cast<size_t>(3 + nOffsetBytes);
  // Rows are compressed as they are made: a long merge has millions, and only their compressed
  // form is held.
  std::string rows, data;
  z_stream zs{};
  if (deflateInit(&zs, 6) != Z_OK) {
    m_strError = "the cross-reference stream cannot be compressed";
    return;
  }
  auto deflateRows = [&](int flush) {
    zs.next_in = reinterpret_cast<Bytef *>(rows.data());
    zs.avail_in = static_cast<uInt>(rows.size());
    do {
      unsigned char chunk[16384];
      zs.next_out = chunk;
      zs.avail_out = sizeof chunk;
      deflate(&zs, flush);
      data.append(reinterpret_cast<const char *>(chunk), sizeof chunk - zs.avail_out);
    } while (zs.avail_out == 0 || (flush == Z_FINISH && zs.avail_in != 0));
    rows.clear();
  };
  unsigned char row[12] = {}, above[12] = {};
  auto put = [&](uint64_t type, uint64_t value, uint64_t index) {
    row[0] = static_cast<unsigned char>(type);
    for (int i = 0; i < nOffsetBytes; ++i)
      row[1 + i] = static_cast<unsigned char>(value >> (8 * (nOffsetBytes - 1 - i)));
    row[1 + nOffsetBytes] = static_cast<unsigned char>(index >> 8);
    row[2 + nOffsetBytes] = static_cast<unsigned char>(index);
    rows += '\x02';
    for (size_t i = 0; i < nColumns; ++i)
      rows += static_cast<char>(static_cast<unsigned char>(row[i] - above[i]));
    std::copy(row, row + nColumns, above);
    if (rows.size() >= 65536)
      deflateRows(Z_NO_FLUSH);
  };
  m_offsets.ForEach([&](uint32_t n, const XrefOffsets::Entry &entry) {
    if (n == 0)
      put(0, 0, 65535);
    else if (entry.kind == XrefOffsets::Entry::InStream)
      put(2, entry.value, entry.index);
    else
      put(1, entry.value, 0);
  });
  deflateRows(Z_FINISH);
  deflateEnd(&zs);
  Dict &dict = trailer.dict();
  dict.Set("Type", Value::MakeName("XRef"));
  dict.Set("Size", Value(static_cast<int64_t>(nSize)));
  dict.Set("W", Value(Array{Value(1), Value(nOffsetBytes), Value(2)}));
  dict.Set("Filter", Value::MakeName("FlateDecode"));
  Dict parms;
  parms.Set("Predictor", Value(12));
  parms.Set("Columns", Value(static_cast<int64_t>(nColumns)));
  dict.Set("DecodeParms", Value(std::move(parms)));
  dict.Set("Length", Value(static_cast<int64_t>(data.size())));
  // Written by hand: a cross-reference stream is never encrypted.
  std::string text = std::to_string(nSelf) + " 0 obj\n";
  AppendValue(text, trailer);
  text += "\nstream\n";
  Put(text);
  Put(data);
  Put("\nendstream\nendobj\nstartxref\n" + std::to_string(xrefAt) + "\n%%EOF\n");
}

bool PdfWriter::Finish(Value trailer, int nVersion) {
  if (!Ok())
    return false;
  // Every number handed out is an object of the file, even one nothing came to use.
  for (uint32_t n = 1; n < m_offsets.Size(); ++n)
    if (!m_offsets.Written(n) && !Packing(n))
      WriteObject(n, Value());
  if (!trailer.IsDict())
    trailer = Value(Dict());
  if (m_bPack) {
    FlushPack();
    WriteXrefStream(std::move(trailer));
    nVersion = std::max(nVersion, 15);
  } else {
    WriteXrefTable(std::move(trailer));
  }
  Flush();
  if (!Ok())
    return false;
  char version[4] = {static_cast<char>('0' + nVersion / 10), '.',
                     static_cast<char>('0' + nVersion % 10), 0};
  if (::pwrite(m_fd, version, 3, 5) != 3 || ::fsync(m_fd) != 0 || ::close(m_fd) != 0) {
    m_strError = std::strerror(errno);
    m_fd = -1;
    return false;
  }
  m_fd = -1;
  // What the caller checks of the finished file (it must read back) before it may replace
  // anything.
  if (m_check) {
    std::string why = m_check(m_pStaged->TempPath());
    if (!why.empty()) {
      m_strError = std::move(why);
      return false;
    }
  }
  return true;
}

const std::string &PdfWriter::StagedPath() const { return m_pStaged->TempPath(); }

bool PdfWriter::Commit() {
  if (!Ok() || m_fd >= 0 || !m_pStaged->Commit()) {
    if (Ok())
      m_strError = std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  return true;
}

} // namespace engine::pdf
