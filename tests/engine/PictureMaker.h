#pragma once
// Pictures made for the tests with the imaging library: solid colours, an optional transparent
// right half, any of its writable formats, and JPEGs with an EXIF orientation.

#include <string>

// format: "png", "jpeg", "bmp", "tiff". Transparent: the right half has alpha 0 (png only).
void MakePicture(const std::string &path, const std::string &format, int width, int height,
                 unsigned rgb, bool transparentRightHalf = false);
// A JPEG whose top half is rgbTop and bottom half rgbBottom, tagged with an EXIF orientation.
void MakeOrientedJpeg(const std::string &path, int width, int height, unsigned rgbTop,
                      unsigned rgbBottom, int orientation);
