// directory_listing.cpp: the directory turned into the BASIC program the 1541 sends for "$".
//
// Emulated: the 1541's line layout: the name's quote in the same column whatever the block
// count, the name padded to 16 characters, "*" before the type of a file never closed, "<"
// after a locked one's, and the free blocks of the allocation map on the last line. The line
// links are those of the program loaded at $0401, so it lists even before BASIC relinks it.
// Left out: type filters in the pattern ("$:*=P"); the drive's raw directory read as a
// sequential file: every channel gets this listing.
// Called by: the virtual drive's channels when "$" is opened.
#include "drive/directory_listing.h"

#include "drive/file_name.h"

namespace {
constexpr uint8_t kReverseOn = 0x12;
constexpr uint8_t kPadding = 0xA0;
constexpr int kNameAt = 0x90;
constexpr int kIdAndTypeAt = 0xA2;

class ListingWriter {
 public:
  ListingWriter() { bytes_ = {kListingLoadAddress & 0xFF, kListingLoadAddress >> 8}; }

  void Line(uint16_t number, const std::string& text) {
    const size_t start = bytes_.size();
    const auto next = static_cast<uint16_t>(kListingLoadAddress + (start - 2) + 4 + text.size() + 1);
    bytes_.insert(bytes_.end(), {static_cast<uint8_t>(next & 0xFF), static_cast<uint8_t>(next >> 8),
                                 static_cast<uint8_t>(number & 0xFF), static_cast<uint8_t>(number >> 8)});
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
  }

  std::vector<uint8_t> Finish() {
    bytes_.push_back(0);
    bytes_.push_back(0);
    return bytes_;
  }

 private:
  std::vector<uint8_t> bytes_;
};

// The BAM's field with the padding shown as spaces, as the listing prints it.
std::string BamText(const DiskImage& image, int at, int length) {
  const uint8_t* bam = image.Sector(kDirectoryTrack, kBamSector);
  std::string text;
  for (int i = 0; i < length; ++i) text += static_cast<char>(bam[at + i] == kPadding ? ' ' : bam[at + i]);
  return text;
}

std::string FileLine(const DirectoryEntry& entry) {
  const int digits = entry.blocks >= 1000 ? 4 : entry.blocks >= 100 ? 3 : entry.blocks >= 10 ? 2 : 1;
  std::string text(static_cast<size_t>(4 - digits), ' ');
  text += '"' + entry.name + '"';
  text.append(static_cast<size_t>(kFileNameLength - static_cast<int>(entry.name.size())), ' ');
  text += entry.Closed() ? ' ' : '*';
  text += FileTypeName(entry.typeByte);
  text += entry.Locked() ? '<' : ' ';
  return text;
}
}  // namespace

std::vector<uint8_t> DirectoryListing(const DiskImage& image, const std::string& pattern, DiskFault& fault) {
  ListingWriter listing;
  listing.Line(0, std::string(1, static_cast<char>(kReverseOn)) + '"' + BamText(image, kNameAt, kFileNameLength) + "\" " +
                      BamText(image, kIdAndTypeAt, 5));
  std::vector<DirectoryEntry> entries;
  fault = ReadDirectory(image, entries);
  for (const DirectoryEntry& entry : entries) {
    if (pattern.empty() || NameMatches(pattern, entry.name)) listing.Line(entry.blocks, FileLine(entry));
  }
  listing.Line(static_cast<uint16_t>(BlocksFree(image)), "BLOCKS FREE.             ");
  return listing.Finish();
}
