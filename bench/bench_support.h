#pragma once
// What the view benchmarks share: the photo-like pictures they load, the
// floor they are compared with (libjpeg-turbo decoding the same files into
// one reused buffer), timing, statistics and the lines run.sh reads.
#include "app/form1.h"
#include "view3d/viewport3d.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace bench {

constexpr int runs = 7;

// A 6000 x 4000 picture that decodes like a photograph (about 7 MB of JPEG,
// as a 24-megapixel camera makes): smooth gradients, fine detail, noise and
// soft-edged shapes, different for every seed.
inline QImage photo(int seed)
{
    const int width = 6000, height = 4000;
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 160, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 200, 60));
    QPainter painter(&image);
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), random.bounded(256), random.bounded(256), 160));
        const QRect shape(random.bounded(width), random.bounded(height), random.bounded(200, 1200),
                          random.bounded(200, 1200));
        if (i % 2)
            painter.drawEllipse(shape);
        else
            painter.drawRect(shape);
    }
    painter.end();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(random.bounded(24)) - 12;
            const int detail = int(40 * std::sin(x * 0.05) * std::sin(y * 0.07));
            const QRgb p = row[x];
            row[x] = qRgb(std::clamp(qRed(p) + noise + detail, 0, 255), std::clamp(qGreen(p) + noise - detail, 0, 255),
                          std::clamp(qBlue(p) + noise, 0, 255));
        }
    }
    return image;
}

// root/photos: twelve photo-like JPEGs, made on first use; root/nine: the
// first nine of them again (hard links), a folder of exactly nine.
struct Photos {
    std::string twelve, nine;
    std::vector<std::string> files; // the twelve, in list order
};

inline Photos photos(const std::string& root)
{
    Photos result{root + "/photos", root + "/nine", {}};
    const bool made = std::filesystem::exists(root + "/photos.complete");
    std::filesystem::create_directories(result.twelve);
    std::filesystem::create_directories(result.nine);
    for (int i = 0; i < 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i);
        result.files.push_back(result.twelve + name);
        if (made)
            continue;
        std::fprintf(stderr, "making %s\n", result.files.back().c_str());
        photo(i + 1).save(QString::fromStdString(result.files.back()), "JPEG", 90);
        if (i < 9) {
            std::filesystem::remove(result.nine + name);
            std::filesystem::create_hard_link(result.files.back(), result.nine + name);
        }
    }
    std::ofstream complete(root + "/photos.complete");
    return result;
}

inline double milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Processes events until done() or timeoutMs passes; false on time-out.
// Sleeps between looks, so that waiting takes no core from the workers.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

inline void idle(int ms)
{
    waitUntil([] { return false; }, ms);
}

struct Stats {
    double median, min, max;
};

inline Stats stats(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front(), samples.back()};
}

// One line for run.sh: key, median, min, max, unit, description.
inline void figure(const char* key, const std::vector<double>& samples, const char* unit, const char* description)
{
    const Stats s = stats(samples);
    std::printf("figure %s %.1f %.1f %.1f %s %s\n", key, s.median, s.min, s.max, unit, description);
    std::fflush(stdout);
}

// libjpeg-turbo's decompressor alone: the floor the viewer's loads are
// measured against.
class JpegFloor {
public:
    // Reads and decodes path to 32-bit BGRA in the reused buffer; returns
    // the milliseconds taken.
    double decode(const std::string& path)
    {
        return milliseconds([&] {
            QFile file(QString::fromStdString(path));
            file.open(QIODevice::ReadOnly);
            const QByteArray bytes = file.readAll();
            jpeg_decompress_struct info;
            jpeg_error_mgr errors;
            info.err = jpeg_std_error(&errors);
            jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof info);
            jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
            jpeg_read_header(&info, TRUE);
            info.out_color_space = JCS_EXT_BGRA;
            jpeg_start_decompress(&info);
            const size_t stride = size_t(info.output_width) * 4;
            pixels_.resize(stride * info.output_height);
            while (info.output_scanline < info.output_height) {
                unsigned char* row = pixels_.data() + stride * info.output_scanline;
                jpeg_read_scanlines(&info, &row, 1);
            }
            jpeg_finish_decompress(&info);
            jpeg_destroy_decompress(&info);
        });
    }

    double decodeAll(const std::vector<std::string>& paths)
    {
        double total = 0;
        for (const std::string& path : paths)
            total += decode(path);
        return total;
    }

private:
    std::vector<unsigned char> pixels_;
};


// Starts the viewer's window on arguments as the program does and waits for
// its first frame, which shows every picture loaded; returns the
// milliseconds from the window's creation to the end of that frame.
inline double startForm(std::unique_ptr<TForm1>& form, const std::vector<std::string>& arguments)
{
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point drawn{};
    form = std::make_unique<TForm1>();
    form->FormCreate(arguments);
    QObject::connect(form->Viewport3D1, &view3d::Viewport3D::frameSwapped, form.get(), [&] {
        if (drawn == std::chrono::steady_clock::time_point{})
            drawn = std::chrono::steady_clock::now();
    });
    form->show();
    if (!waitUntil([&] { return drawn != std::chrono::steady_clock::time_point{}; })) {
        std::fprintf(stderr, "the window never drew a frame\n");
        std::_Exit(3);
    }
    return std::chrono::duration<double, std::milli>(drawn - start).count();
}

}
