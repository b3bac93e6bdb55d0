// The windowed file stream: every mix of seeks and reads gives the file's bytes, and a file
// that cannot be read fails with its name.
#include "zelta/pdf/file_window.h"

#include <random>

#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/pdf/mu_context.h"

namespace zelta::pdf::testing {
namespace {

// Reads `size` bytes at the stream's position; fewer at the end of the file.
std::string Read(fz_context* ctx, fz_stream* stm, size_t size) {
  std::string out(size, '\0');
  const size_t got = fz_read(ctx, stm, reinterpret_cast<unsigned char*>(out.data()), size);
  out.resize(got);
  return out;
}

TEST(FileWindow, SeeksAndReadsGiveTheFileBytes) {
  ScratchDir dir;
  std::mt19937 random(7);
  std::string bytes(300'000, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  const std::string path = dir.Write("bytes.bin", bytes);
  MuContext context;
  fz_context* ctx = context.Get();
  fz_stream* stm = OpenFileWindow(ctx, path.c_str());
  // Offsets near the last one (inside and just past the window), far ones, the edges of the
  // file, and the three kinds of seek; each checked by the bytes read there and by tell.
  int64_t expected = 0;
  const auto total = static_cast<int64_t>(bytes.size());
  for (int step = 0; step < 3000; ++step) {
    const int kind = static_cast<int>(random() % 6);
    int64_t target = 0;
    if (kind == 0) {
      target = static_cast<int64_t>(random() % bytes.size());
    } else if (kind <= 2) {
      target = std::clamp<int64_t>(expected + static_cast<int64_t>(random() % 70'000) - 35'000, 0,
                                   total);
    } else if (kind == 3) {
      target = total - static_cast<int64_t>(random() % 100);
    }
    if (kind == 4) {
      target = std::clamp<int64_t>(expected + static_cast<int64_t>(random() % 200) - 100, 0, total);
      fz_seek(ctx, stm, target - expected, SEEK_CUR);
    } else if (kind == 5) {
      target = total - static_cast<int64_t>(random() % 5000);
      fz_seek(ctx, stm, target - total, SEEK_END);
    } else {
      fz_seek(ctx, stm, target, SEEK_SET);
    }
    ASSERT_EQ(fz_tell(ctx, stm), target) << "step " << step;
    const size_t size = random() % 3 == 0 ? 1 : random() % 50'000;
    const std::string got = Read(ctx, stm, size);
    ASSERT_EQ(got, bytes.substr(static_cast<size_t>(target), size)) << "step " << step;
    expected = target + static_cast<int64_t>(got.size());
    ASSERT_EQ(fz_tell(ctx, stm), expected) << "step " << step;
  }
  fz_seek(ctx, stm, 0, SEEK_END);
  EXPECT_EQ(fz_read_byte(ctx, stm), EOF);
  fz_seek(ctx, stm, 5, SEEK_SET);
  EXPECT_EQ(fz_read_byte(ctx, stm), static_cast<unsigned char>(bytes[5]));
  fz_drop_stream(ctx, stm);
}

TEST(FileWindow, AFileThatCannotBeOpenedNamesItself) {
  ScratchDir dir;
  MuContext context;
  fz_context* ctx = context.Get();
  const std::string missing = dir.File("missing.pdf");
  std::string message;
  fz_try(ctx) { fz_drop_stream(ctx, OpenFileWindow(ctx, missing.c_str())); }
  fz_catch(ctx) { message = fz_caught_message(ctx); }
  EXPECT_NE(message.find("missing.pdf"), std::string::npos) << message;
  // A folder opens but cannot be read: the document open fails instead of crashing.
  pdf_document* volatile doc = nullptr;
  fz_try(ctx) { doc = OpenPdfThroughWindow(ctx, dir.Path().c_str()); }
  fz_catch(ctx) { message = fz_caught_message(ctx); }
  EXPECT_EQ(doc, nullptr);
  pdf_drop_document(ctx, doc);
}

}  // namespace
}  // namespace zelta::pdf::testing
