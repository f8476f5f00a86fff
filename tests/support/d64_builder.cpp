#include "support/d64_builder.h"

#include <algorithm>

namespace {
int Sectors(int track) { return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17; }

void MarkUsed(DiskBytes& image, int track, int sector) {
  uint8_t* entry = image.data() + D64Offset(18, 0) + 4 * track;
  const uint8_t bit = static_cast<uint8_t>(1 << (sector % 8));
  if ((entry[1 + sector / 8] & bit) == 0) return;
  entry[1 + sector / 8] &= static_cast<uint8_t>(~bit);
  --entry[0];
}
}  // namespace

size_t D64Offset(int track, int sector) {
  size_t offset = 0;
  for (int t = 1; t < track; ++t) offset += static_cast<size_t>(Sectors(t)) * 256;
  return offset + static_cast<size_t>(sector) * 256;
}

DiskBytes BlankD64(const std::string& name) {
  DiskBytes image(174848, 0);
  uint8_t* bam = image.data() + D64Offset(18, 0);
  bam[0] = 18;
  bam[1] = 1;
  bam[2] = 'A';
  for (int track = 1; track <= 35; ++track) {
    uint8_t* entry = bam + 4 * track;
    entry[0] = static_cast<uint8_t>(Sectors(track));
    const uint32_t mask = (1u << Sectors(track)) - 1;
    entry[1] = mask & 0xFF;
    entry[2] = (mask >> 8) & 0xFF;
    entry[3] = (mask >> 16) & 0xFF;
  }
  MarkUsed(image, 18, 0);
  MarkUsed(image, 18, 1);
  std::fill(bam + 0x90, bam + 0xAB, 0xA0);
  std::copy(name.begin(), name.end(), bam + 0x90);
  bam[0xA2] = 'A';
  bam[0xA3] = 'B';
  bam[0xA5] = '2';
  bam[0xA6] = 'A';
  image[D64Offset(18, 1) + 1] = 0xFF;
  return image;
}

uint8_t* D64Entry(DiskBytes& image, int index) { return image.data() + D64Offset(18, 1) + 32 * index; }

size_t AddD64File(DiskBytes& image, const std::string& name, uint8_t type, const DiskBytes& data, int track, int sector) {
  const size_t blocks = std::max<size_t>(1, (data.size() + 253) / 254);
  const size_t first = D64Offset(track, sector);
  const int firstTrack = track, firstSector = sector;
  for (size_t block = 0; block < blocks; ++block) {
    uint8_t* bytes = image.data() + D64Offset(track, sector);
    MarkUsed(image, track, sector);
    const size_t start = block * 254;
    const size_t length = std::min<size_t>(254, data.size() - start);
    std::copy(data.begin() + static_cast<std::ptrdiff_t>(start), data.begin() + static_cast<std::ptrdiff_t>(start + length), bytes + 2);
    if (++sector == Sectors(track)) {
      sector = 0;
      ++track;
    }
    bytes[0] = block + 1 < blocks ? static_cast<uint8_t>(track) : 0;
    bytes[1] = block + 1 < blocks ? static_cast<uint8_t>(sector) : static_cast<uint8_t>(length + 1);
  }
  int index = 0;
  while (D64Entry(image, index)[2] != 0) ++index;
  uint8_t* entry = D64Entry(image, index);
  entry[2] = static_cast<uint8_t>(0x80 | type);
  entry[3] = static_cast<uint8_t>(firstTrack);
  entry[4] = static_cast<uint8_t>(firstSector);
  std::fill(entry + 5, entry + 21, 0xA0);
  std::copy(name.begin(), name.end(), entry + 5);
  entry[30] = static_cast<uint8_t>(blocks & 0xFF);
  entry[31] = static_cast<uint8_t>(blocks >> 8);
  return first;
}
