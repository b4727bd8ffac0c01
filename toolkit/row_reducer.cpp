#include "toolkit/row_reducer.h"
#include <algorithm>

namespace toolkit {

RowReducer::RowReducer(QImage& target, int reduction, int sourceWidth, int sourceHeight)
    : target_(target), reduction_(reduction), sourceWidth_(sourceWidth), sourceHeight_(sourceHeight),
      sums_(size_t(target.width()) * 4)
{
}

void RowReducer::add(const uchar* row)
{
    for (int x = 0; x < sourceWidth_; ++x)
        for (int byte = 0; byte < 4; ++byte)
            sums_[size_t(x / reduction_) * 4 + byte] += row[size_t(x) * 4 + byte];
    ++sourceRow_;
    if (++bandRows_ == reduction_ || sourceRow_ == sourceHeight_)
        emitBand();
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
