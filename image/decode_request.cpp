#include "image/decode_request.h"
#include <algorithm>
#include <cmath>

namespace image {

QRect partPixels(QRectF part, QSize size)
{
    // min then max turn a NaN into 0: such a part comes out empty.
    auto pixel = [](double edge, int side) { return int(std::max(0.0, std::min(edge, double(side)))); };
    auto down = [](double edge) { return std::floor(edge / partGrid) * partGrid; };
    auto up = [](double edge) { return std::ceil(edge / partGrid) * partGrid; };
    const int left = pixel(down(part.left() * size.width()), size.width());
    const int right = pixel(up(part.right() * size.width()), size.width());
    const int top = pixel(down(part.top() * size.height()), size.height());
    const int bottom = pixel(up(part.bottom() * size.height()), size.height());
    if (right <= left || bottom <= top)
        return {QPoint(0, 0), size};
    return {left, top, right - left, bottom - top};
}

QRectF partFraction(QRect pixels, QSize size)
{
    const double width = size.width(), height = size.height();
    return {pixels.x() / width, pixels.y() / height, pixels.width() / width, pixels.height() / height};
}

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
    // Decoders round a reduced side up, as reducedSize does; a long thin
    // picture is thus reduced along its length even where its short side
    // is already down to one pixel.
    int reduction = 1;
    while (reduction * 2 <= largest) {
        const QSize reduced = reducedSize(declared, reduction * 2);
        if (reduced.width() < wanted.width() || reduced.height() < wanted.height())
            break;
        reduction *= 2;
    }
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
