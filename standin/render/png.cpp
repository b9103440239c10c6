#include "standin/render/png.h"

#include <png.h>

#include <cstdint>
#include <vector>

#include "standin/render/canvas.h"

bool writePng(const Canvas& canvas, const std::string& path, std::string& error) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(canvas.data().size() * 3);
  for (std::uint32_t pixel : canvas.data()) {
    rgb.push_back(std::uint8_t(pixel >> 16));
    rgb.push_back(std::uint8_t(pixel >> 8));
    rgb.push_back(std::uint8_t(pixel));
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(canvas.width());
  image.height = png_uint_32(canvas.height());
  image.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) return true;
  error = path + ": " + image.message;
  png_image_free(&image);
  return false;
}
