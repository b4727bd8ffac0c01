// Reading picture files: format by content, sizes, the limits on what may be
// decoded, and the ways a read can fail.
#include "hostile/declared_sizes.h"
#include "image/picture_reader.h"
#include "support/fixtures.h"
#include "support/permissions.h"
#include "support/png_bytes.h"
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <sys/stat.h>

using image::PictureRead;
using image::readPicture;

// A valid PNG header declaring size, followed by one row's worth of pixels.
static QByteArray pngDeclaring(QSize size)
{
    return pngbytes::file(pngbytes::header(size.width(), size.height(), 8, 2, false), {}, QByteArray(64, '\0'));
}

// A small JPEG whose frame header claims size.
// A JPEG of image whose Exif orientation tag says "turn 90 degrees clockwise".
static QByteArray jpegTurnedByTag(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    const QByteArray tiff = QByteArray("MM\x00\x2a\x00\x00\x00\x08", 8) // big-endian, first directory at 8
        + QByteArray("\x00\x01", 2)                                      // one entry:
        + QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00", 12) // orientation, short, 6
        + QByteArray(4, '\0');                                            // no next directory
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const QByteArray segment = QByteArray("\xff\xe1", 2) + pngbytes::bigEndian32(exif.size() + 2).right(2) + exif;
    return bytes.insert(2, segment); // right after the start-of-image marker
}

// A JPEG of image with its chroma h times coarser across and v times down
// than its luma, samplings Qt's writer does not make.
static QByteArray jpegSampled(const QImage& image, int h, int v)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.comp_info[0].h_samp_factor = h;
    info.comp_info[0].v_samp_factor = v;
    jpeg_start_compress(&info, TRUE);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

// Noise over gradients, so that every row of its JPEG decodes differently.
static QImage noisyPicture(QSize size, QImage::Format format)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x + int(random.bounded(40))) % 256, (y + int(random.bounded(40))) % 256,
                                      int(random.bounded(256))));
    return image.convertToFormat(format);
}

class PictureReaderTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        for (const char* format : {"PNG", "JPEG", "BMP"}) {
            const QString suffix = QString(format).toLower();
            fixtures::writePicture(path(qPrintable("photo." + suffix)), QSize(40, 30), Qt::red, format);
            fixtures::writePicture(path(qPrintable("wide." + suffix)), QSize(400, 100), Qt::blue, format);
        }
        fixtures::writePicture(path("png-inside.jpg"), QSize(40, 30), Qt::red, "PNG");
        fixtures::writeText(path("broken.jpg"), "this is not a picture\n");
        fixtures::writeText(path("empty.jpg"), "");
        fixtures::makeFolder(path("folder.jpg"));
        fixtures::writeText(path("bomb.png"), pngDeclaring(QSize(100000, 100000)).toStdString());
        fixtures::writeText(path("huge.jpg"), hostile::jpegDeclaring(QSize(60000, 60000)).toStdString());
        fixtures::writeText(path("large.jpg"), hostile::jpegDeclaring(QSize(20000, 10000)).toStdString());
        // Files of several MiB, which are read into memory of their own.
        fixtures::writeText(path("noise.jpg"), jpegSampled(noisyPicture(QSize(2400, 1800), QImage::Format_RGB32), 1, 1).toStdString());
        QVERIFY(QFileInfo(dir.filePath("noise.jpg")).size() > 4 << 20);
        fixtures::writePicture(path("big.bmp"), QSize(1500, 1000), Qt::blue, "BMP");
        // A JPEG's start, then a hole to past a gigabyte that the file
        // system need not store: more than any picture in the budget needs.
        QFile sparse(dir.filePath("sparse.jpg"));
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.write(hostile::jpegDeclaring(QSize(400, 300))) > 0);
        QVERIFY(sparse.resize(image::pictureBudget * 4 + 1));
    }

    void reads_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("maxSide");
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<int>("status");
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<QSize>("realSize");
        const qint64 full = image::pictureBudget;
        const int loaded = PictureRead::Loaded, missing = PictureRead::Missing, undecodable = PictureRead::Undecodable;
        const QSize none, noImage(0, 0);
        QTest::newRow("PNG") << "photo.png" << 1000 << full << loaded << QSize(40, 30) << QSize(40, 30);
        QTest::newRow("JPEG") << "photo.jpeg" << 1000 << full << loaded << QSize(40, 30) << QSize(40, 30);
        QTest::newRow("BMP") << "photo.bmp" << 1000 << full << loaded << QSize(40, 30) << QSize(40, 30);
        QTest::newRow("PNG named .jpg") << "png-inside.jpg" << 1000 << full << loaded << QSize(40, 30) << QSize(40, 30);
        QTest::newRow("text named .jpg") << "broken.jpg" << 1000 << full << undecodable << noImage << none;
        QTest::newRow("empty file") << "empty.jpg" << 1000 << full << undecodable << noImage << none;
        QTest::newRow("missing file") << "missing.jpg" << 1000 << full << missing << noImage << none;
        QTest::newRow("folder") << "folder.jpg" << 1000 << full << missing << noImage << none;
        QTest::newRow("path through a file") << "photo.png/x.jpg" << 1000 << full << missing << noImage << none;
        QTest::newRow("PNG wider than maxSide") << "wide.png" << 100 << full << loaded << QSize(100, 25) << QSize(400, 100);
        QTest::newRow("JPEG wider than maxSide") << "wide.jpeg" << 100 << full << loaded << QSize(100, 25) << QSize(400, 100);
        QTest::newRow("BMP wider than maxSide") << "wide.bmp" << 100 << full << loaded << QSize(100, 25) << QSize(400, 100);
        QTest::newRow("PNG over budget: scaled") << "wide.png" << 1000 << qint64(10000) << loaded << QSize(200, 50) << QSize(400, 100);
        QTest::newRow("JPEG over budget: scaled") << "wide.jpeg" << 1000 << qint64(10000) << loaded << QSize(200, 50) << QSize(400, 100);
        QTest::newRow("BMP over budget: refused") << "wide.bmp" << 1000 << qint64(10000) << undecodable << noImage << none;
        QTest::newRow("PNG claiming 100000 x 100000") << "bomb.png" << 16384 << full << undecodable << noImage << none;
        QTest::newRow("JPEG claiming 60000 x 60000") << "huge.jpg" << 16384 << full << undecodable << noImage << none;
        // Within the budget once reduced, but the file holds a few of the
        // blocks it declares: its decode would be all made-up grey.
        QTest::newRow("JPEG claiming 20000 x 10000 in a few bytes") << "large.jpg" << 1000 << full << undecodable << noImage << none;
        QTest::newRow("JPEG of over 4 MiB, reduced") << "noise.jpg" << 600 << full << loaded << QSize(600, 450) << QSize(2400, 1800);
        QTest::newRow("BMP of over 4 MiB") << "big.bmp" << 2000 << full << loaded << QSize(1500, 1000) << QSize(1500, 1000);
        QTest::newRow("JPEG of over a gigabyte") << "sparse.jpg" << 1000 << full << undecodable << noImage << none;
    }
    void reads()
    {
        QFETCH(QString, file);
        QFETCH(int, maxSide);
        QFETCH(qint64, budget);
        QFETCH(int, status);
        QFETCH(QSize, imageSize);
        QFETCH(QSize, realSize);
        const PictureRead read = readPicture(path(qPrintable(file)), maxSide, budget);
        QCOMPARE(int(read.status), status);
        QCOMPARE(read.image.size(), imageSize);
        QCOMPARE(read.realSize, realSize);
        if (read.status == PictureRead::Loaded)
            QCOMPARE(read.image.format(), QImage::Format_ARGB32_Premultiplied);
    }

    void translucentPixelsArePremultiplied()
    {
        QImage translucent(4, 4, QImage::Format_ARGB32);
        translucent.fill(qRgba(255, 0, 0, 128));
        fixtures::writeImage(path("translucent.png"), translucent);
        const PictureRead read = readPicture(path("translucent.png"), 1000);
        QCOMPARE(int(read.status), int(PictureRead::Loaded));
        const QRgb stored = reinterpret_cast<const QRgb*>(read.image.constScanLine(0))[0];
        QCOMPARE(stored, qRgba(128, 0, 0, 128));
    }

    // Most viewers turn a picture by its orientation tag; this one shows it
    // as stored.
    void orientationTagsAreIgnored()
    {
        fixtures::writeText(path("turned.jpg"), jpegTurnedByTag(fixtures::quadrantImage(QSize(40, 20))).toStdString());
        QImageReader tagReader(dir.filePath("turned.jpg"));
        tagReader.setAutoTransform(true);
        QCOMPARE(tagReader.read().size(), QSize(20, 40)); // the tag is there and understood

        const PictureRead read = readPicture(path("turned.jpg"), 1000);
        QCOMPARE(read.image.size(), QSize(40, 20));
        QCOMPARE(read.realSize, QSize(40, 20));
        const QColor topLeft = read.image.pixelColor(2, 2);
        QVERIFY2(topLeft.red() > 200 && topLeft.green() < 60 && topLeft.blue() < 60, qPrintable(topLeft.name()));
    }

    // A decode on two threads splits the rows into bands that meet inside a
    // block row; the picture must be the one a single thread makes.
    void jpegInBandsEqualsOneThread_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("detailSide");
        QTest::addColumn<int>("cutTo"); // keep this many bytes of the file (0: all)
        QTest::newRow("colour, full size") << QSize(611, 433) << int(QImage::Format_RGB32) << 0 << 0;
        QTest::newRow("colour, halved") << QSize(611, 433) << int(QImage::Format_RGB32) << 300 << 0;
        QTest::newRow("colour, an eighth") << QSize(1210, 905) << int(QImage::Format_RGB32) << 150 << 0;
        QTest::newRow("grey, full size") << QSize(300, 211) << int(QImage::Format_Grayscale8) << 0 << 0;
        QTest::newRow("cut short in the upper band") << QSize(611, 433) << int(QImage::Format_RGB32) << 0 << 60000;
    }
    void jpegInBandsEqualsOneThread()
    {
        QFETCH(QSize, size);
        QFETCH(int, format);
        QFETCH(int, detailSide);
        QFETCH(int, cutTo);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(noisyPicture(size, QImage::Format(format)).save(&buffer, "JPEG", 90));
        if (cutTo > 0)
            bytes.truncate(cutTo);
        fixtures::writeText(path("bands.jpg"), bytes.toStdString());
        auto decoded = [&](int threads) {
            image::DecodeRequest request{16384, image::pictureBudget, QImage::Format_RGBA8888_Premultiplied, {}};
            request.detailSide = detailSide;
            request.threads = threads;
            return image::decodePicture(image::openPicture(path("bands.jpg")), request);
        };
        const PictureRead one = decoded(1), two = decoded(2);
        QCOMPARE(int(two.status), int(PictureRead::Loaded));
        QCOMPARE(two.image.size(), one.image.size());
        QVERIFY(two.image.height() >= 64); // large enough to be split
        QVERIFY(two.image == one.image);
    }

    // A part of a picture is the same part of the whole decode, pixel for
    // pixel, at least as large as asked and in the place it says; JPEG
    // decodes it straight, the other formats cut it from the whole.
    void partEqualsTheSamePartOfTheWhole_data()
    {
        // A writer's format; "PJPEG": progressive JPEG; "JPEG 4:1:0": chroma a
        // quarter across and half down, which libjpeg-turbo cannot crop reduced.
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("detailSide");
        QTest::addColumn<int>("threads");
        QTest::addColumn<QRectF>("part");
        const QRectF middle(0.3, 0.22, 0.4, 0.56);
        const int colour = QImage::Format_RGB32, grey = QImage::Format_Grayscale8;
        const QSize odd(1001, 703);
        QTest::newRow("JPEG, full size") << "JPEG" << colour << odd << 0 << 1 << middle;
        QTest::newRow("JPEG, halved, two threads") << "JPEG" << colour << odd << 500 << 2 << middle;
        QTest::newRow("JPEG, bottom right corner") << "JPEG" << colour << odd << 500 << 2 << QRectF(0.61, 0.77, 0.39, 0.23);
        QTest::newRow("JPEG, whole rows") << "JPEG" << colour << odd << 0 << 2 << QRectF(0, 0.4, 1, 0.2);
        QTest::newRow("JPEG, grey") << "JPEG" << grey << odd << 0 << 2 << middle;
        QTest::newRow("JPEG, progressive") << "PJPEG" << colour << odd << 500 << 2 << middle;
        QTest::newRow("JPEG 4:1:0, halved") << "JPEG 4:1:0" << colour << QSize(1000, 700) << 500 << 2 << middle;
        QTest::newRow("PNG") << "PNG" << colour << odd << 500 << 1 << middle;
        QTest::newRow("BMP") << "BMP" << colour << odd << 0 << 1 << middle;
    }
    void partEqualsTheSamePartOfTheWhole()
    {
        QFETCH(QString, format);
        QFETCH(int, pixels);
        QFETCH(QSize, size);
        QFETCH(int, detailSide);
        QFETCH(int, threads);
        QFETCH(QRectF, part);
        const std::string file = path("part");
        const QImage picture = noisyPicture(size, QImage::Format(pixels));
        if (format == "JPEG 4:1:0") {
            fixtures::writeText(file, jpegSampled(picture, 4, 2).toStdString());
        } else {
            QImageWriter writer(QString::fromStdString(file), format == "PJPEG" ? "JPEG" : format.toLatin1());
            writer.setProgressiveScanWrite(format == "PJPEG");
            QVERIFY(writer.write(picture));
        }
        image::DecodeRequest request{16384, image::pictureBudget, QImage::Format_RGBA8888_Premultiplied, {}};
        request.detailSide = detailSide;
        request.threads = threads;
        const PictureRead whole = image::decodePicture(image::openPicture(file), request);
        request.part = part;
        const PictureRead read = image::decodePicture(image::openPicture(file), request);
        QCOMPARE(int(read.status), int(PictureRead::Loaded));
        const QSizeF decoded = whole.image.size();
        const QRect kept(QPoint(qRound(read.part.left() * decoded.width()), qRound(read.part.top() * decoded.height())),
                         read.image.size());
        QCOMPARE(QRectF(kept.left() / decoded.width(), kept.top() / decoded.height(), kept.width() / decoded.width(),
                        kept.height() / decoded.height()),
                 read.part);
        QVERIFY(kept.contains(image::partPixels(part, whole.image.size())));
        // On the grid, for the part's mipmap levels to be the whole's.
        const auto onGrid = [](int at, int edge) { return at % image::partGrid == 0 || at == edge; };
        QVERIFY(onGrid(kept.left(), 0) && onGrid(kept.top(), 0));
        QVERIFY(onGrid(kept.x() + kept.width(), whole.image.width()) && onGrid(kept.y() + kept.height(), whole.image.height()));
        QVERIFY(read.image.width() < whole.image.width() || read.image.height() < whole.image.height());
        QVERIFY(read.image == whole.image.copy(kept));
    }

    void unreadableFileCannotBeOpened()
    {
        fixtures::writePicture(path("locked.png"), QSize(8, 8), Qt::red);
        QCOMPARE(::chmod(path("locked.png").c_str(), 0), 0);
        const ModesEnforced asAnyUser;
        const PictureRead read = readPicture(path("locked.png"), 1000);
        QCOMPARE(int(read.status), int(PictureRead::CannotOpen));
        QCOMPARE(read.error, EACCES);
    }
};

QTEST_GUILESS_MAIN(PictureReaderTest)
#include "test_toolkit_picture_reader.moc"
