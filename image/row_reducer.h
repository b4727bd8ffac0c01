#pragma once
// Shrinks a picture by a power of two while it is read row by row: each
// block of reduction x reduction source pixels becomes their average, so no
// full-size buffer is ever needed.
#include <QImage>
#include <vector>

namespace image {

class RowReducer {
public:
    // Keeps the sums of 8-bit values within 32 bits.
    static constexpr int largestReduction = 256;

    // target is sourceWidth x sourceHeight divided by reduction, rounding up,
    // in a 32-bit premultiplied format.
    RowReducer(QImage& target, int reduction, int sourceWidth, int sourceHeight);

    // Takes the next source row, top to bottom, as premultiplied 32-bit pixels.
    void add(const uchar* row);

    // Adds one premultiplied 32-bit pixel at column x of the current source
    // row, for pictures whose rows come as scattered pixels; then endRows.
    void addPixel(int x, const uchar* pixel);

    // Ends the current source row, and takes count - 1 more rows as all
    // transparent: pixels not added count as transparent.
    void endRows(int count);

private:
    void emitBand();

    QImage& target_;
    int reduction_;
    int sourceWidth_;
    int sourceHeight_;
    int sourceRow_ = 0;
    int bandRows_ = 0;
    std::vector<quint32> sums_; // per target pixel and byte
};

}
