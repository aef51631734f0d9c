#include "XrefOffsets.h"

#include <stdexcept>
#include <unistd.h>

namespace engine::pdf {

XrefOffsets::XrefOffsets() : m_pSpill(std::tmpfile()) {}

XrefOffsets::~XrefOffsets() {
  if (m_pSpill != nullptr)
    std::fclose(m_pSpill);
}

// Two bits of kind, eighteen of index, forty-four of value (offsets up to sixteen terabytes).
uint64_t XrefOffsets::Pack(const Entry &entry) {
  return (static_cast<uint64_t>(entry.kind) << 62) |
         (static_cast<uint64_t>(entry.index & 0x3FFFF) << 44) |
         (entry.value & ((uint64_t{1} << 44) - 1));
}

XrefOffsets::Entry XrefOffsets::Unpack(uint64_t packed) {
  Entry entry;
  entry.kind = static_cast<Entry::Kind>(packed >> 62);
  entry.index = static_cast<uint32_t>((packed >> 44) & 0x3FFFF);
  entry.value = packed & ((uint64_t{1} << 44) - 1);
  return entry;
}

void XrefOffsets::Add() {
  const size_t b = m_nSize / kBlock;
  if (b == m_blocks.size()) {
    m_blocks.push_back(std::make_unique<Block>());
    m_blocks.back()->packed.assign(kBlock, 0);
    // Two blocks stay: the one being filled and the one before, where most late writes land.
    while (m_pSpill != nullptr && m_nKeptFrom + 2 < m_blocks.size())
      PutAway(m_nKeptFrom++);
  }
  ++m_nSize;
}

void XrefOffsets::PutAway(size_t nBlock) {
  Block &block = *m_blocks[nBlock];
  const long at = static_cast<long>(nBlock * kBlock * sizeof(uint64_t));
  if (std::fseek(m_pSpill, at, SEEK_SET) != 0 ||
      std::fwrite(block.packed.data(), sizeof(uint64_t), kBlock, m_pSpill) != kBlock)
    return; // kept in memory after all
  for (uint32_t i = 0; i < kBlock; ++i)
    if (block.packed[i] == 0)
      m_late.insert(static_cast<uint32_t>(nBlock * kBlock + i));
  std::vector<uint64_t>().swap(block.packed);
}

void XrefOffsets::Set(uint32_t nNum, const Entry &entry) {
  if (nNum >= m_nSize)
    return;
  Block &block = *m_blocks[nNum / kBlock];
  if (block.packed.empty()) {
    // A late write into a block put away: only a number still to be written may come.
    if (m_late.erase(nNum) == 0)
      throw std::logic_error("an object of the output was written twice");
    const uint64_t packed = Pack(entry);
    const long at = static_cast<long>(nNum * sizeof(uint64_t));
    if (std::fseek(m_pSpill, at, SEEK_SET) != 0 ||
        std::fwrite(&packed, sizeof packed, 1, m_pSpill) != 1)
      throw std::runtime_error("the cross-reference kept aside cannot be written");
    return;
  }
  uint64_t &slot = block.packed[nNum % kBlock];
  if (slot != 0)
    throw std::logic_error("an object of the output was written twice");
  if (entry.kind != Entry::Unwritten)
    ++block.nWritten;
  slot = Pack(entry);
}

bool XrefOffsets::Written(uint32_t nNum) const {
  if (nNum >= m_nSize)
    return false;
  const Block &block = *m_blocks[nNum / kBlock];
  return block.packed.empty() ? m_late.count(nNum) == 0 : block.packed[nNum % kBlock] != 0;
}

void XrefOffsets::Load(size_t nBlock, std::vector<uint64_t> &out) const {
  const Block &block = *m_blocks[nBlock];
  if (!block.packed.empty()) {
    out = block.packed;
    return;
  }
  out.assign(kBlock, 0);
  const long at = static_cast<long>(nBlock * kBlock * sizeof(uint64_t));
  std::fflush(m_pSpill);
  if (std::fseek(m_pSpill, at, SEEK_SET) != 0 ||
      std::fread(out.data(), sizeof(uint64_t), kBlock, m_pSpill) != kBlock)
    throw std::runtime_error("the cross-reference kept aside cannot be read back");
}

} // namespace engine::pdf
