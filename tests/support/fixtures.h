#pragma once
// Fixture files made in code: pictures of known size and colour, text files,
// folders. Paths are native bytes, as the viewer keeps them.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <string>

namespace fixtures {

// A colour of its own for each of the nine slots, told apart in a frame.
QColor slotColour(int slot);

// Writes a picture of size filled with colour. format is "PNG", "JPEG" or
// "BMP"; the file name does not have to match it. Creates missing folders.
void writePicture(const std::string& path, QSize size, QColor colour, const char* format = "PNG");
// The encoded bytes of a picture of size filled with colour.
QByteArray encodedPicture(QSize size, QColor colour, const char* format = "PNG");
// Writes image as it is.
void writeImage(const std::string& path, const QImage& image, const char* format = "PNG");
// Writes text to path, creating missing folders.
void writeText(const std::string& path, const std::string& text);
void makeFolder(const std::string& path);

// A picture whose left half, right half and top-left quarter differ, so that
// a test can tell upright from mirrored or rolled: top-left red, top-right
// green, bottom-left blue, bottom-right yellow.
QImage quadrantImage(QSize size);

}
