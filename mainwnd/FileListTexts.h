#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "ItemData.h"

// Texts and sizes of the file list's cells and columns.

// String ids of the column headers, in column order.
constexpr std::array<int, 5> kColumnTitleIds = {155, 156, 157, 158, 159};
// Width weights of the columns; they add up to 64.
constexpr std::array<int, 5> kColumnWeights = {4, 24, 5, 9, 22};
// String ids of the page range cell.
constexpr int IDS_ALL_PICTURE = 187;    // "All"
constexpr int IDS_ALL_PDF = 175;        // "All(Double click to change the page range)"
constexpr int IDS_PDF_FAILED = 192;     // "PDF load fiailed"
constexpr int IDS_READING = 230;        // "Reading...": the PDF is still being read
constexpr int IDS_NEEDS_PASSWORD = 231; // the PDF opens only with a password
constexpr int IDS_PICTURE_FAILED = 270; // "Picture load failed"

// Width of column col for a list window width: weight * W / 64 with W = list width - width of
// a vertical scroll bar - 2.
int ColumnWidth(int col, int listWidth, int scrollBarWidth);

// "%0.fKB" below 1 MB, else "%0.2fMB", computed in single precision.
std::wstring FormatSizeText(uint64_t size);

// The page range cell's text for a record: the custom range when there is one, else by kind
// ("All" for a picture, the PDF's all-pages hint, or the failed-load text of its kind), and for
// a file not read yet or a PDF locked by a password, what it waits for.
std::wstring PageRangeText(const _stru_ItemData_ &item, bool isPdf);
// The page count cell's text: the count, or nothing while the PDF is being read.
std::wstring PageCountText(const _stru_ItemData_ &item);
