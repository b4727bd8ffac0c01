#include "toolkit/decode_request.h"
#include <algorithm>
#include <cmath>

namespace toolkit {

QSize fittedSize(QSize size, const DecodeRequest& request)
{
    if (size.isEmpty())
        return size;
    size = reducedSize(size, detailReduction(size, request.detailSide));
    const double factor = std::min({1.0,
        double(request.maxSide) / std::max(size.width(), size.height()),
        std::sqrt(double(request.pixelBudget) / double(pixelCount(size)))});
    if (factor >= 1)
        return size;
    return {std::max(1, int(size.width() * factor)), std::max(1, int(size.height() * factor))};
}

int reductionFor(QSize declared, QSize wanted, int largest)
{
    const int ratio = std::min(declared.width() / wanted.width(), declared.height() / wanted.height());
    int reduction = 1;
    while (reduction * 2 <= std::min(ratio, largest))
        reduction *= 2;
    return reduction;
}

int detailReduction(QSize declared, int detailSide)
{
    const qint64 longest = std::max(declared.width(), declared.height());
    int reduction = 1;
    while (detailSide > 0 && reduction < (1 << 30) && (longest + 2 * qint64(reduction) - 1) / (2 * qint64(reduction)) >= detailSide)
        reduction *= 2;
    return reduction;
}

QSize reducedSize(QSize declared, int reduction)
{
    auto divided = [&](int side) { return int((qint64(side) + reduction - 1) / reduction); };
    return {divided(declared.width()), divided(declared.height())};
}

}
