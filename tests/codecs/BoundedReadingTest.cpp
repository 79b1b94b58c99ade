// What a reader takes from a file follows its picture, not the file: a file padded with gigabytes,
// or a PNG whose compressed data goes on long after its last row, costs no more than its picture.

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "TestImages.h"
#include "codecs/BmpImage.h"
#include "codecs/ImageFile.h"
#include "codecs/ImageFormats.h"
#include "codecs/PngImage.h"

namespace mv {
namespace {

namespace fs = std::filesystem;

class BoundedReading : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("mv-bounded-" + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }
  fs::path folder_;
};

constexpr uint64_t kGiB = uint64_t{1} << 30;

// The file is made sparse: it takes no disk space, but a reader of the whole file would need 3 GiB.
TEST_F(BoundedReading, ABitmapPaddedToGigabytesReadsOnlyItsHeadersAndRows) {
  const Bitmap picture = test::AsymmetricImage(25, 25, PixelFormat::Bgr24);
  const std::string after = Write("after.bmp", EncodeBmp(picture));
  fs::resize_file(after, 3 * kGiB);

  // The same rows far into the file, behind a pixel offset of nearly 3 GiB.
  std::vector<uint8_t> header = EncodeBmp(picture);
  const std::vector<uint8_t> rows(header.begin() + 54, header.end());
  header.resize(54);
  const uint32_t offset = static_cast<uint32_t>(3 * kGiB - rows.size());
  for (int i = 0; i < 4; ++i) header[10 + i] = uint8_t(offset >> (8 * i));
  const std::string before = Write("before.bmp", header);
  fs::resize_file(before, offset);
  std::ofstream(before, std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(rows.data()), rows.size());

  for (const std::string& path : {after, before}) {
    const ByteSource file = ByteSource::OpenFile(path);
    BmpImage bmp;
    bmp.Load(file);
    EXPECT_TRUE(bmp.ToBitmap() == picture);
    EXPECT_LT(file.BytesRead(), 4096u);
    const std::optional<DecodedImage> read = ReadImageFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->format, kFormatBmp);
  }
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(data.size() >> shift));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(crc >> shift));
}

// Compressed data up to a full flush, after which the stream depends on nothing before it.
std::vector<uint8_t> DeflateToFlush(z_stream& stream, const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(raw.size())) + 64);
  stream.next_in = const_cast<Bytef*>(raw.data());
  stream.avail_in = static_cast<uInt>(raw.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FULL_FLUSH), Z_OK);
  out.resize(out.size() - stream.avail_out);
  return out;
}

// A 1 x 1 grey PNG whose zlib stream goes on after its one row with 4 GiB of compressed zeros (a
// piece for 16 MiB of zeros, repeated), about 4 MB in all.
std::vector<uint8_t> PngWithSurplusData() {
  z_stream stream{};
  deflateInit(&stream, 9);
  std::vector<uint8_t> data = DeflateToFlush(stream, {0, 200});  // filter byte, grey 200
  const std::vector<uint8_t> zeros = DeflateToFlush(stream, std::vector<uint8_t>(16u << 20, 0));
  deflateEnd(&stream);
  for (int i = 0; i < 256; ++i) data.insert(data.end(), zeros.begin(), zeros.end());
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  AppendChunk(file, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0});
  AppendChunk(file, "IDAT", data);
  AppendChunk(file, "IEND", {});
  return file;
}

TEST_F(BoundedReading, APngStopsInflatingOnceItsLastRowIsComplete) {
  const std::vector<uint8_t> bomb = PngWithSurplusData();
  const std::string path = Write("bomb.png", bomb);
  const ByteSource file = ByteSource::OpenFile(path);
  PngImage png;
  png.Load(file);
  EXPECT_EQ(png.ToBitmap().ColorAt(0, 0), MakeColor(200, 200, 200));
  EXPECT_LT(file.BytesRead(), bomb.size() / 16);
}

}  // namespace
}  // namespace mv
