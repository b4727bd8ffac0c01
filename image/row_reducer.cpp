#include "image/row_reducer.h"
#include <algorithm>

namespace image {

RowReducer::RowReducer(QImage& target, int reduction, int sourceWidth, int sourceHeight)
    : target_(target), reduction_(reduction), sourceWidth_(sourceWidth), sourceHeight_(sourceHeight),
      sums_(size_t(target.width()) * 4)
{
}

void RowReducer::add(const uchar* row)
{
    // Block by block, without a division per byte: this runs for every
    // source pixel of a big picture.
    quint32* sum = sums_.data();
    for (int start = 0; start < sourceWidth_; start += reduction_, sum += 4) {
        const uchar* end = row + size_t(std::min(start + reduction_, sourceWidth_)) * 4;
        for (const uchar* pixel = row + size_t(start) * 4; pixel < end; pixel += 4)
            for (int byte = 0; byte < 4; ++byte)
                sum[byte] += pixel[byte];
    }
    endRows(1);
}

void RowReducer::addPixel(int x, const uchar* pixel)
{
    quint32* sum = sums_.data() + size_t(x / reduction_) * 4;
    for (int byte = 0; byte < 4; ++byte)
        sum[byte] += pixel[byte];
}

void RowReducer::endRows(int count)
{
    // Band by band, so that a long stretch of empty rows costs no more than
    // the bands it covers.
    while (count > 0 && sourceRow_ < sourceHeight_) {
        const int taken = std::min({count, reduction_ - bandRows_, sourceHeight_ - sourceRow_});
        sourceRow_ += taken;
        bandRows_ += taken;
        count -= taken;
        if (bandRows_ == reduction_ || sourceRow_ == sourceHeight_)
            emitBand();
    }
}

void RowReducer::emitBand()
{
    uchar* out = target_.scanLine((sourceRow_ - 1) / reduction_);
    for (int x = 0; x < target_.width(); ++x) {
        // The last column of blocks may be narrower than the others.
        const int columns = std::min(reduction_, sourceWidth_ - x * reduction_);
        const quint32 count = quint32(columns * bandRows_);
        for (int byte = 0; byte < 4; ++byte) {
            quint32& sum = sums_[size_t(x) * 4 + byte];
            out[size_t(x) * 4 + byte] = uchar((sum + count / 2) / count);
            sum = 0;
        }
    }
    bandRows_ = 0;
}

}
