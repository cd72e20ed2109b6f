// Writes the pup's frames, icon and cursor into the resources folder and the
// review sheet to the given PNG path.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "art/art.h"

namespace {

bool writeFile(const std::filesystem::path& path, const art::Bytes& bytes) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::fprintf(stderr, "morvet-artgen: cannot write %s\n", path.string().c_str());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: morvet-artgen <resources-dir> <contact-sheet.png>\n");
    return 2;
  }
  const std::filesystem::path resources = argv[1];
  bool ok = true;
  for (const art::GeneratedFile& file : art::generateArt()) ok = writeFile(resources / file.path, file.bytes) && ok;
  ok = writeFile(argv[2], art::drawContactSheet()) && ok;
  return ok ? 0 : 1;
}
