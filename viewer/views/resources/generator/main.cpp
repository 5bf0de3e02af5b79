// Writes the viewer's bitmaps and icon into a folder:
//   tavrin_bitmap_gen <output folder>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "image_files.h"
#include "pictograms.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::fprintf(stderr, "tavrin_bitmap_gen: cannot write %s\n", path.c_str());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tavrin_bitmap_gen <output folder>\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  bool ok = true;
  for (const pictures::BitmapPicture& b : pictures::Bitmaps()) {
    ok = WriteFile(dir + b.file, pictures::EncodeBmp24(b.draw())) && ok;
  }
  std::vector<pictures::Canvas> icons;
  for (int size : pictures::kProgramIconSizes) icons.push_back(pictures::DrawProgramIcon(size));
  ok = WriteFile(dir + pictures::kProgramIconFile, pictures::EncodeIco(icons)) && ok;
  return ok ? 0 : 1;
}
