#pragma once

#include <QtGlobal>

// What the reader is willing to unpack from one workbook. The defaults hold
// a quotation of many thousands of items with room to spare and keep a
// hostile file from taking the machine's memory or time.
struct XlsxLimits {
    int maxEntries = 1000; // files inside the zip
    qint64 maxPartSize = 64LL << 20; // inflated bytes of one part read
    qint64 maxTotalSize = 160LL << 20; // inflated bytes of all parts read
    qint64 maxRatio = 1000; // inflated bytes per compressed byte
    qint64 ratioFloor = 1LL << 20; // the ratio is judged past this size
    int maxRows = 1048576;
    int maxColumns = 16384;
    qint64 maxCells = 1000000; // cells holding a value
    int maxDepth = 64; // nesting of XML elements
};
