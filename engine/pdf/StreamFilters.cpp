#include "StreamFilters.h"

#include "Limits.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace engine::pdf {

namespace {

DecodeResult Inflate(const char *pData, size_t nSize, std::string &out, size_t nLimit) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK)
    return DecodeResult::Damaged;
  z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(pData));
  z.avail_in = static_cast<uInt>(std::min<size_t>(nSize, UINT32_MAX));
  char chunk[65536];
  DecodeResult result = DecodeResult::Ok;
  for (;;) {
    z.next_out = reinterpret_cast<Bytef *>(chunk);
    z.avail_out = sizeof chunk;
    const int rc = inflate(&z, Z_NO_FLUSH);
    out.append(chunk, sizeof chunk - z.avail_out);
    if (out.size() > nLimit) {
      result = DecodeResult::TooLarge;
      break;
    }
    if (rc == Z_STREAM_END)
      break;
    if (rc == Z_BUF_ERROR && z.avail_in == 0)
      break; // ends without its end marker: keep what came out, as readers do
    if (rc != Z_OK) {
      result = out.empty() ? DecodeResult::Damaged : DecodeResult::Ok;
      break;
    }
  }
  inflateEnd(&z);
  return result;
}

// PNG and TIFF predictors undone in place of data.
DecodeResult Unpredict(const Value *pParms, std::string &data) {
  const int64_t predictor =
      static_cast<int64_t>(NumberOr(pParms ? pParms->Get("Predictor") : nullptr, 1));
  if (predictor <= 1)
    return DecodeResult::Ok;
  const int64_t colors =
      std::clamp<int64_t>(static_cast<int64_t>(NumberOr(pParms->Get("Colors"), 1)), 1, 32);
  const int64_t bpc = std::clamp<int64_t>(
      static_cast<int64_t>(NumberOr(pParms->Get("BitsPerComponent"), 8)), 1, 16);
  const int64_t columns =
      std::clamp<int64_t>(static_cast<int64_t>(NumberOr(pParms->Get("Columns"), 1)), 1, 1 << 24);
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
  std::string out;
  out.reserve(data.size());
  std::vector<unsigned char> prev(rowBytes, 0), cur(rowBytes);
  size_t pos = 0;
  while (pos < data.size()) {
    const unsigned char type = static_cast<unsigned char>(data[pos++]);
    const size_t n = std::min(rowBytes, data.size() - pos);
    std::memcpy(cur.data(), data.data() + pos, n);
    std::fill(cur.begin() + static_cast<std::ptrdiff_t>(n), cur.end(), 0);
    pos += n;
    for (size_t i = 0; i < rowBytes; ++i) {
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
        return DecodeResult::Damaged;
      }
      cur[i] = static_cast<unsigned char>(cur[i] + add);
    }
    out.append(reinterpret_cast<const char *>(cur.data()), n);
    std::swap(prev, cur);
  }
  data.swap(out);
  return DecodeResult::Ok;
}

DecodeResult AsciiHex(const std::string &in, std::string &out) {
  int high = -1;
  for (unsigned char c : in) {
    if (c == '>')
      break;
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0')
      continue;
    else
      return DecodeResult::Damaged;
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

DecodeResult Ascii85(const std::string &in, std::string &out) {
  uint32_t tuple = 0;
  int count = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(in[i]);
    if (c == '~')
      break;
    if (c == 'z' && count == 0) {
      out.append(4, '\0');
      continue;
    }
    if (c < '!' || c > 'u')
      continue; // white space and junk between groups
    tuple = tuple * 85 + (c - '!');
    if (++count == 5) {
      for (int k = 3; k >= 0; --k)
        out += static_cast<char>((tuple >> (8 * k)) & 0xFF);
      tuple = 0;
      count = 0;
    }
  }
  if (count > 1) {
    for (int k = count; k < 5; ++k)
      tuple = tuple * 85 + 84;
    for (int k = 0; k < count - 1; ++k)
      out += static_cast<char>((tuple >> (8 * (3 - k))) & 0xFF);
  }
  return DecodeResult::Ok;
}

DecodeResult RunLength(const std::string &in, std::string &out, size_t nLimit) {
  size_t i = 0;
  while (i < in.size()) {
    const unsigned char n = static_cast<unsigned char>(in[i++]);
    if (n == 128)
      break;
    if (n < 128) {
      const size_t len = std::min<size_t>(n + 1u, in.size() - i);
      out.append(in, i, len);
      i += len;
    } else if (i < in.size()) {
      out.append(257u - n, in[i++]);
    }
    if (out.size() > nLimit)
      return DecodeResult::TooLarge;
  }
  return DecodeResult::Ok;
}

DecodeResult Lzw(const std::string &in, std::string &out, int earlyChange, size_t nLimit) {
  std::vector<std::string> table;
  auto reset = [&table] {
    table.assign(258, std::string());
    for (int i = 0; i < 256; ++i)
      table[static_cast<size_t>(i)] = std::string(1, static_cast<char>(i));
  };
  reset();
  int codeLen = 9;
  uint32_t buffer = 0;
  int bits = 0;
  std::string prev;
  for (unsigned char c : in) {
    buffer = (buffer << 8) | c;
    bits += 8;
    while (bits >= codeLen) {
      const uint32_t code = (buffer >> (bits - codeLen)) & ((1u << codeLen) - 1);
      bits -= codeLen;
      if (code == 256) {
        reset();
        codeLen = 9;
        prev.clear();
        continue;
      }
      if (code == 257)
        return DecodeResult::Ok;
      std::string entry;
      if (code < table.size())
        entry = table[code];
      else if (code == table.size() && !prev.empty())
        entry = prev + prev[0];
      else
        return DecodeResult::Damaged;
      out += entry;
      if (out.size() > nLimit)
        return DecodeResult::TooLarge;
      if (!prev.empty() && table.size() < 4096)
        table.push_back(prev + entry[0]);
      prev = entry;
      const size_t next = table.size() + static_cast<size_t>(earlyChange);
      codeLen = next >= 2048 ? 12 : next >= 1024 ? 11 : next >= 512 ? 10 : 9;
    }
  }
  return DecodeResult::Ok;
}

std::string FilterName(const Value &v) { return v.IsName() ? v.name() : std::string(); }

} // namespace

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

DecodeResult DecodeStream(const Value &streamDict, const char *pData, size_t nSize,
                          std::string &out, size_t nLimit) {
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
  std::string data(pData, nSize);
  for (size_t i = 0; i < filters.size(); ++i) {
    const std::string &f = filters[i];
    std::string next;
    DecodeResult r;
    if (f == "FlateDecode" || f == "Fl") {
      r = Inflate(data.data(), data.size(), next, nLimit);
      if (r == DecodeResult::Ok)
        r = Unpredict(parms[i], next);
    } else if (f == "LZWDecode" || f == "LZW") {
      const int early =
          static_cast<int>(NumberOr(parms[i] ? parms[i]->Get("EarlyChange") : nullptr, 1));
      r = Lzw(data, next, early == 0 ? 0 : 1, nLimit);
      if (r == DecodeResult::Ok)
        r = Unpredict(parms[i], next);
    } else if (f == "ASCIIHexDecode" || f == "AHx") {
      r = AsciiHex(data, next);
    } else if (f == "ASCII85Decode" || f == "A85") {
      r = Ascii85(data, next);
    } else if (f == "RunLengthDecode" || f == "RL") {
      r = RunLength(data, next, nLimit);
    } else if (f == "Crypt") {
      next = std::move(data); // identity crypt filter: decryption happens before filters
      r = DecodeResult::Ok;
    } else {
      return DecodeResult::Unsupported;
    }
    if (r != DecodeResult::Ok)
      return r;
    if (next.size() > nLimit)
      return DecodeResult::TooLarge;
    data = std::move(next);
  }
  out = std::move(data);
  return DecodeResult::Ok;
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
