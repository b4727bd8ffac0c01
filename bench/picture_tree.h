#pragma once
// The large tree the scan and the race run on: FOLDER/tree-N, made on first
// use, 1000 folders holding N pictures in all, named IMG_nnnnnnn.JPG. Each
// folder's first picture is written and the rest are hard links to it,
// which keeps the tree small and within the file system's link limit. The
// pictures are small PNGs of coloured noise: tiny, yet plainly a picture to
// whoever looks at a window showing one.
#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace bench {

inline std::string pictureTree(const std::string& root, int pictures)
{
    std::string tree = root + "/tree-" + std::to_string(pictures);
    if (std::filesystem::exists(tree + ".complete"))
        return tree;
    std::fprintf(stderr, "making %s\n", tree.c_str());
    constexpr int folders = 1000;
    QImage noise(48, 32, QImage::Format_RGB32);
    QRandomGenerator random(11);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate() | 0xff000000u);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "PNG");
    char name[64];
    for (int f = 0; f < folders && f < pictures; ++f) {
        std::snprintf(name, sizeof name, "/Album %04d", f);
        const std::string folder = tree + name;
        std::filesystem::create_directories(folder);
        std::string first;
        for (int i = f; i < pictures; i += folders) {
            std::snprintf(name, sizeof name, "/IMG_%07d.JPG", i);
            if (first.empty()) {
                first = folder + name;
                std::ofstream(first, std::ios::binary).write(png.constData(), png.size());
            } else {
                link(first.c_str(), (folder + name).c_str());
            }
        }
    }
    const std::ofstream complete(tree + ".complete");
    return tree;
}

}
