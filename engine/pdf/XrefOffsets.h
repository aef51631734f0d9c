#pragma once
// Where each object of the output went, by object number, for the cross-reference written at
// the end. A long merge writes millions of objects; their places are kept in blocks, and all
// but the newest blocks go to a temporary file until the end, so the program's memory does not
// grow with the output. The few numbers of a block put away that are still to be written
// (the page tree, sheets waiting for their links) are remembered apart.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

namespace engine::pdf {

class XrefOffsets {
public:
  struct Entry {
    enum Kind : uint8_t { Unwritten = 0, InFile = 1, InStream = 2 };
    Kind kind = Unwritten;
    uint32_t index = 0; // InStream: place in the object stream
    uint64_t value = 0; // InFile: byte offset; InStream: the object stream's number
  };

  XrefOffsets();
  ~XrefOffsets();
  XrefOffsets(const XrefOffsets &) = delete;
  XrefOffsets &operator=(const XrefOffsets &) = delete;

  // Numbers 0 .. Size() - 1 exist; Add makes the next one.
  uint32_t Size() const { return m_nSize; }
  void Add();
  // Sets where an object went; each number is set once.
  void Set(uint32_t nNum, const Entry &entry);
  // Whether the object was written (entries of blocks already put away always were).
  bool Written(uint32_t nNum) const;
  // Calls f(number, entry) for every number in order; blocks put away are read back one at a
  // time.
  template <typename F> void ForEach(F f) const {
    std::vector<uint64_t> block;
    for (uint32_t n = 0; n < m_nSize; ++n) {
      const size_t b = n / kBlock;
      if (n % kBlock == 0)
        Load(b, block);
      f(n, Unpack(block[n % kBlock]));
    }
  }

private:
  static constexpr uint32_t kBlock = 65536;
  struct Block {
    std::vector<uint64_t> packed; // empty once put away
    uint32_t nWritten = 0;
  };
  static uint64_t Pack(const Entry &entry);
  static Entry Unpack(uint64_t packed);
  void Load(size_t nBlock, std::vector<uint64_t> &out) const;

  void PutAway(size_t nBlock);

  std::vector<std::unique_ptr<Block>> m_blocks;
  size_t m_nKeptFrom = 0;    // blocks before this one are put away
  std::set<uint32_t> m_late; // numbers of blocks put away that are not written yet
  uint32_t m_nSize = 0;
  FILE *m_pSpill = nullptr; // null when no temporary file could be made: all stays in memory
};

} // namespace engine::pdf
