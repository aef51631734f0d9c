#include "StreamFilters.h"

#include "Limits.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace engine::pdf {

namespace {

// Asked once per this many bytes out (or rows, or codes) of a decoder's loop.
constexpr size_t kCancelEvery = 1 << 16;

bool Cancelled(const DecodeOptions &options) {
  return options.pCancel != nullptr && *options.pCancel && (*options.pCancel)();
}

DecodeResult Inflate(const char *pData, size_t nSize, std::string &out,
                     const DecodeOptions &options, size_t &nAt) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK)
    return DecodeResult::Damaged;
  z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(pData));
  z.avail_in = static_cast<uInt>(std::min<size_t>(nSize, UINT32_MAX));
  // Compressed data rarely grows more than fourfold; a first guess saves the copies of growth
  // without letting a bomb's claim size anything.
  out.reserve(std::min(options.nLimit, std::min<size_t>(nSize, 1 << 24) * 4));
  char chunk[kCancelEvery];
  DecodeResult result = DecodeResult::Ok;
  for (;;) {
    z.next_out = reinterpret_cast<Bytef *>(chunk);
    z.avail_out = sizeof chunk;
    const int rc = inflate(&z, Z_NO_FLUSH);
    out.append(chunk, sizeof chunk - z.avail_out);
    if (out.size() > options.nLimit) {
      result = DecodeResult::TooLarge;
      break;
    }
    if (rc == Z_STREAM_END)
      break;
    if (rc == Z_BUF_ERROR && z.avail_in == 0)
      break; // ends without its end marker: keep what came out, as readers do
    if (rc != Z_OK) {
      nAt = static_cast<size_t>(z.total_in);
      result = out.empty() ? DecodeResult::Damaged : DecodeResult::Ok;
      break;
    }
    if (Cancelled(options)) {
      result = DecodeResult::Cancelled;
      break;
    }
  }
  inflateEnd(&z);
  return result;
}

// PNG and TIFF predictors undone in place of data. The row length comes from the parameters,
// which may claim rows far longer than the data: what is kept per row is never more than the
// data holds.
DecodeResult Unpredict(const Value *pParms, std::string &data, const DecodeOptions &options,
                       size_t &nAt) {
  const int64_t predictor =
      ClampToInt64(NumberOr(pParms ? pParms->Get("Predictor") : nullptr, 1), 1);
  if (predictor <= 1)
    return DecodeResult::Ok;
  const int64_t colors =
      std::clamp<int64_t>(ClampToInt64(NumberOr(pParms->Get("Colors"), 1)), 1, 32);
  const int64_t bpc =
      std::clamp<int64_t>(ClampToInt64(NumberOr(pParms->Get("BitsPerComponent"), 8)), 1, 16);
  const int64_t columns =
      std::clamp<int64_t>(ClampToInt64(NumberOr(pParms->Get("Columns"), 1)), 1, 1 << 24);
  const size_t bpp = static_cast<size_t>(std::max<int64_t>(1, (colors * bpc + 7) / 8));
  const size_t rowBytes = static_cast<size_t>((colors * bpc * columns + 7) / 8);
  if (predictor == 2) {
    if (bpc != 8)
      return DecodeResult::Unsupported;
    for (size_t row = 0; row + rowBytes <= data.size(); row += rowBytes)
      for (size_t i = bpp; i < rowBytes; ++i)
        data[row + i] = static_cast<char>(data[row + i] + data[row + i - bpp]);
    return DecodeResult::Ok;
  }
  if (predictor < 10)
    return DecodeResult::Unsupported;
  const size_t kept = std::min(rowBytes, data.size());
  std::string out;
  out.reserve(data.size());
  std::vector<unsigned char> prev(kept, 0), cur(kept);
  size_t pos = 0, nRows = 0;
  while (pos < data.size()) {
    const size_t rowStart = pos;
    const unsigned char type = static_cast<unsigned char>(data[pos++]);
    const size_t n = std::min(kept, data.size() - pos);
    std::memcpy(cur.data(), data.data() + pos, n);
    pos += n;
    for (size_t i = 0; i < n; ++i) {
      const int left = i >= bpp ? cur[i - bpp] : 0;
      const int up = prev[i];
      const int upLeft = i >= bpp ? prev[i - bpp] : 0;
      int add = 0;
      switch (type) {
      case 0:
        break;
      case 1:
        add = left;
        break;
      case 2:
        add = up;
        break;
      case 3:
        add = (left + up) / 2;
        break;
      case 4: {
        const int p = left + up - upLeft;
        const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
        add = (pa <= pb && pa <= pc) ? left : (pb <= pc ? up : upLeft);
        break;
      }
      default:
        nAt = rowStart;
        return DecodeResult::Damaged;
      }
      cur[i] = static_cast<unsigned char>(cur[i] + add);
    }
    out.append(reinterpret_cast<const char *>(cur.data()), n);
    std::swap(prev, cur);
    if ((++nRows % kCancelEvery) == 0 && Cancelled(options))
      return DecodeResult::Cancelled;
  }
  data.swap(out);
  return DecodeResult::Ok;
}

int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

DecodeResult AsciiHex(const char *pData, size_t nSize, std::string &out, size_t &nAt) {
  int high = -1;
  out.reserve(nSize / 2);
  for (size_t i = 0; i < nSize; ++i) {
    const unsigned char c = static_cast<unsigned char>(pData[i]);
    if (c == '>')
      break;
    const int d = HexValue(c);
    if (d < 0) {
      if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0')
        continue;
      nAt = i;
      return DecodeResult::Damaged;
    }
    if (high < 0) {
      high = d;
    } else {
      out += static_cast<char>(high * 16 + d);
      high = -1;
    }
  }
  if (high >= 0)
    out += static_cast<char>(high * 16);
  return DecodeResult::Ok;
}

DecodeResult Ascii85(const char *pData, size_t nSize, std::string &out, size_t nLimit) {
  uint32_t tuple = 0;
  int count = 0;
  for (size_t i = 0; i < nSize; ++i) {
    const unsigned char c = static_cast<unsigned char>(pData[i]);
    if (c == '~')
      break;
    if (c == 'z' && count == 0) {
      out.append(4, '\0');
    } else if (c >= '!' && c <= 'u') {
      // Five digits of base 85 may pass 2^32 in a damaged group: the bytes wrap, as readers'.
      tuple = tuple * 85 + (c - '!');
      if (++count == 5) {
        for (int k = 3; k >= 0; --k)
          out += static_cast<char>((tuple >> (8 * k)) & 0xFF);
        tuple = 0;
        count = 0;
      }
    } // white space and junk between groups are passed over
    if (out.size() > nLimit)
      return DecodeResult::TooLarge;
  }
  if (count > 1) {
    for (int k = count; k < 5; ++k)
      tuple = tuple * 85 + 84;
    for (int k = 0; k < count - 1; ++k)
      out += static_cast<char>((tuple >> (8 * (3 - k))) & 0xFF);
  }
  return DecodeResult::Ok;
}

DecodeResult RunLength(const char *pData, size_t nSize, std::string &out,
                       const DecodeOptions &options) {
  size_t i = 0, nNextAsk = kCancelEvery;
  while (i < nSize) {
    const unsigned char n = static_cast<unsigned char>(pData[i++]);
    if (n == 128)
      break;
    if (n < 128) {
      const size_t len = std::min<size_t>(n + 1u, nSize - i);
      out.append(pData + i, len);
      i += len;
    } else if (i < nSize) {
      out.append(257u - n, pData[i++]);
    }
    if (out.size() > options.nLimit)
      return DecodeResult::TooLarge;
    if (out.size() > nNextAsk) {
      nNextAsk = out.size() + kCancelEvery;
      if (Cancelled(options))
        return DecodeResult::Cancelled;
    }
  }
  return DecodeResult::Ok;
}

// LZW as a table of (prefix code, last byte): each code costs four bytes of table however long
// the string it stands for, and a string is written out by walking its prefixes back.
DecodeResult Lzw(const char *pData, size_t nSize, std::string &out, int earlyChange,
                 const DecodeOptions &options, size_t &nAt) {
  constexpr uint32_t kClear = 256, kEnd = 257, kFirst = 258, kMaxCodes = 4096;
  uint16_t prefix[kMaxCodes];
  unsigned char suffix[kMaxCodes], first[kMaxCodes];
  uint16_t length[kMaxCodes];
  for (uint32_t i = 0; i < 256; ++i) {
    prefix[i] = 0;
    suffix[i] = first[i] = static_cast<unsigned char>(i);
    length[i] = 1;
  }
  uint32_t next = kFirst;
  int codeLen = 9;
  uint32_t buffer = 0;
  int bits = 0;
  int64_t prev = -1;
  char scratch[kMaxCodes];
  size_t nNextAsk = kCancelEvery;
  for (size_t at = 0; at < nSize; ++at) {
    buffer = (buffer << 8) | static_cast<unsigned char>(pData[at]);
    bits += 8;
    while (bits >= codeLen) {
      const uint32_t code = (buffer >> (bits - codeLen)) & ((1u << codeLen) - 1);
      bits -= codeLen;
      if (code == kClear) {
        next = kFirst;
        codeLen = 9;
        prev = -1;
        continue;
      }
      if (code == kEnd)
        return DecodeResult::Ok;
      uint32_t c = code;
      unsigned char firstByte;
      if (code < next && (code < 256 || code >= kFirst)) {
        firstByte = first[code];
      } else if (code == next && prev >= 0) {
        firstByte = first[prev]; // the string being defined: prev and its own first byte
        c = static_cast<uint32_t>(prev);
      } else {
        nAt = at;
        return DecodeResult::Damaged;
      }
      // The string of c, written backwards into scratch, then appended.
      size_t n = length[c];
      for (size_t k = n; k-- > 0;) {
        scratch[k] = static_cast<char>(suffix[c]);
        c = prefix[c];
      }
      out.append(scratch, n);
      if (code == next)
        out += static_cast<char>(firstByte);
      if (out.size() > options.nLimit)
        return DecodeResult::TooLarge;
      if (prev >= 0 && next < kMaxCodes) {
        prefix[next] = static_cast<uint16_t>(prev);
        suffix[next] = firstByte;
        first[next] = first[prev];
        length[next] = static_cast<uint16_t>(length[prev] + 1);
        ++next;
      }
      prev = code;
      const uint32_t coming = next + static_cast<uint32_t>(earlyChange);
      codeLen = coming >= 2048 ? 12 : coming >= 1024 ? 11 : coming >= 512 ? 10 : 9;
    }
    if (out.size() > nNextAsk) {
      nNextAsk = out.size() + kCancelEvery;
      if (Cancelled(options))
        return DecodeResult::Cancelled;
    }
  }
  return DecodeResult::Ok;
}

std::string FilterName(const Value &v) { return v.IsName() ? v.name() : std::string(); }

} // namespace

std::string DecodeReport::Describe(DecodeResult result) const {
  switch (result) {
  case DecodeResult::Ok:
    return "it decodes";
  case DecodeResult::Unsupported:
    return "its filter " + (filter.empty() ? std::string("(none named)") : filter) +
           " is not one the engine decodes";
  case DecodeResult::TooLarge:
    return "it decodes to more than " + std::to_string(nAt >> 20) + " MB";
  case DecodeResult::Cancelled:
    return "cancelled";
  case DecodeResult::Damaged:
    break;
  }
  return "its " + filter + " data is damaged at byte " + std::to_string(nAt);
}

bool DropMalformedFilters(Value &streamDict) {
  if (!streamDict.IsDict())
    return false;
  bool dropped = false;
  auto nameOrRef = [](const Value &v) { return v.IsName() || v.IsRef(); };
  if (const Value *pFilter = streamDict.Get("Filter")) {
    bool ok = nameOrRef(*pFilter);
    if (pFilter->IsArray()) {
      ok = true;
      for (const Value &item : pFilter->array())
        ok = ok && nameOrRef(item);
    }
    if (!ok) {
      streamDict.dict().Remove("Filter");
      streamDict.dict().Remove("DecodeParms");
      dropped = true;
    }
  }
  if (const Value *pParms = streamDict.Get("DecodeParms")) {
    if (!pParms->IsDict() && !pParms->IsArray() && !pParms->IsRef() && !pParms->IsNull()) {
      streamDict.dict().Remove("DecodeParms");
      dropped = true;
    }
  }
  return dropped;
}

DecodeResult DecodeFilter(const std::string &f, const Value *pParms, const char *pData,
                          size_t nSize, std::string &out, const DecodeOptions &options,
                          DecodeReport *pReport) {
  size_t nAt = 0;
  DecodeResult r;
  out.clear();
  if (f == "FlateDecode" || f == "Fl") {
    r = Inflate(pData, nSize, out, options, nAt);
    if (r == DecodeResult::Ok)
      r = Unpredict(pParms, out, options, nAt);
  } else if (f == "LZWDecode" || f == "LZW") {
    const int64_t early = ClampToInt64(NumberOr(pParms ? pParms->Get("EarlyChange") : nullptr, 1));
    r = Lzw(pData, nSize, out, early == 0 ? 0 : 1, options, nAt);
    if (r == DecodeResult::Ok)
      r = Unpredict(pParms, out, options, nAt);
  } else if (f == "ASCIIHexDecode" || f == "AHx") {
    r = AsciiHex(pData, nSize, out, nAt);
  } else if (f == "ASCII85Decode" || f == "A85") {
    r = Ascii85(pData, nSize, out, options.nLimit);
  } else if (f == "RunLengthDecode" || f == "RL") {
    r = RunLength(pData, nSize, out, options);
  } else if (f == "Crypt") {
    out.assign(pData, nSize); // identity crypt filter: decryption happens before filters
    r = DecodeResult::Ok;
  } else {
    r = DecodeResult::Unsupported;
  }
  if (r == DecodeResult::Ok && out.size() > options.nLimit)
    r = DecodeResult::TooLarge;
  if (r == DecodeResult::TooLarge) {
    nAt = options.nLimit;
    limits::NoteHit(limits::Bound::DecodedStream);
  }
  if (pReport != nullptr && r != DecodeResult::Ok) {
    pReport->filter = f;
    pReport->nAt = nAt;
  }
  return r;
}

DecodeResult DecodeStream(const Value &streamDict, const char *pData, size_t nSize,
                          std::string &out, const DecodeOptions &options, DecodeReport *pReport) {
  const Value *pFilter = streamDict.Get("Filter");
  const Value *pParms = streamDict.Get("DecodeParms");
  std::vector<std::string> filters;
  std::vector<const Value *> parms;
  if (pFilter != nullptr && pFilter->IsArray()) {
    for (size_t i = 0; i < pFilter->array().size(); ++i) {
      filters.push_back(FilterName(pFilter->array()[i]));
      const Value *p = (pParms && pParms->IsArray() && i < pParms->array().size())
                           ? &pParms->array()[i]
                           : nullptr;
      parms.push_back(p && p->IsDict() ? p : nullptr);
    }
  } else if (pFilter != nullptr && pFilter->IsName()) {
    filters.push_back(pFilter->name());
    parms.push_back(pParms && pParms->IsDict() ? pParms : nullptr);
  }
  if (filters.empty()) {
    if (nSize > options.nLimit) {
      if (pReport != nullptr)
        pReport->nAt = options.nLimit;
      limits::NoteHit(limits::Bound::DecodedStream);
      return DecodeResult::TooLarge;
    }
    out.assign(pData, nSize);
    return DecodeResult::Ok;
  }
  // The first filter reads the file's bytes where they are; each later one the one before's.
  std::string data, next;
  for (size_t i = 0; i < filters.size(); ++i) {
    const char *pIn = i == 0 ? pData : data.data();
    const size_t nIn = i == 0 ? nSize : data.size();
    const DecodeResult r = DecodeFilter(filters[i], parms[i], pIn, nIn, next, options, pReport);
    if (r != DecodeResult::Ok)
      return r;
    data.swap(next);
  }
  out = std::move(data);
  return DecodeResult::Ok;
}

DecodeResult DecodeStream(const Value &streamDict, const char *pData, size_t nSize,
                          std::string &out, size_t nLimit) {
  DecodeOptions options;
  options.nLimit = nLimit;
  return DecodeStream(streamDict, pData, nSize, out, options);
}

std::string FlateEncode(const std::string &data) {
  uLongf nBound = compressBound(static_cast<uLong>(data.size()));
  std::string out(nBound, '\0');
  // Level 6: the usual balance; page content compresses well at any level.
  if (compress2(reinterpret_cast<Bytef *>(out.data()), &nBound,
                reinterpret_cast<const Bytef *>(data.data()), static_cast<uLong>(data.size()),
                6) != Z_OK)
    return {};
  out.resize(nBound);
  return out;
}

} // namespace engine::pdf
