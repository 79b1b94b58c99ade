#include "filtering/BitmapArithmetic.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "filtering/RowScheduler.h"
#include "platform/Numbers.h"
#include "platform/Parallel.h"

namespace mv {

namespace {

// Below this many pixels starting threads costs more than it saves (the dialog's previews).
constexpr int64_t kPixelsWorthThreads = 1 << 18;

const char* NameOf(BitmapOperation operation) {
  return operation == BitmapOperation::Add ? "ビットマップの加算" : "ビットマップの減算";
}

// base[i] + other[i] and base[i] - other[i], saturated.
[[gnu::target("avx2")]] void AddSaturated(uint8_t* base, const uint8_t* other, int count) {
  int i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + i));
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(other + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(base + i), _mm256_adds_epu8(b, x));
  }
  for (; i < count; ++i) base[i] = static_cast<uint8_t>(std::min(base[i] + other[i], 255));
}

[[gnu::target("avx2")]] void SubtractSaturated(uint8_t* base, const uint8_t* other, int count) {
  int i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + i));
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(other + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(base + i), _mm256_subs_epu8(b, x));
  }
  for (; i < count; ++i) base[i] = static_cast<uint8_t>(std::max(base[i] - other[i], 0));
}

// The rule for every pair of channel values, and where it allows, one byte per value of `other`:
// adding, base + step[x] saturated at 255; subtracting, base - step[x] saturated at 0. The rule
// decides each pair; the short form is used only when it gives the same byte for all of them.
class ChannelTable {
 public:
  ChannelTable(BitmapOperation operation, double coefficient) : operation_(operation) {
    full_.resize(256 * 256);
    for (int b = 0; b < 256; ++b) {
      for (int x = 0; x < 256; ++x) {
        full_[static_cast<std::size_t>(b << 8 | x)] =
            ArithmeticChannel(operation, static_cast<uint8_t>(b), static_cast<uint8_t>(x), coefficient);
      }
    }
    for (int x = 0; x < 256; ++x) {
      step_[static_cast<std::size_t>(x)] =
          operation == BitmapOperation::Add ? Full(0, x) : static_cast<uint8_t>(255 - Full(255, x));
    }
    bool matches = true;
    for (int b = 0; b < 256 && matches; ++b) {
      for (int x = 0; x < 256 && matches; ++x)
        matches = Short(static_cast<uint8_t>(b), static_cast<uint8_t>(x)) == Full(b, x);
    }
    if (matches) full_.clear();
    identity_ = matches && __builtin_cpu_supports("avx2");
    for (int x = 0; x < 256 && identity_; ++x) identity_ = step_[static_cast<std::size_t>(x)] == x;
  }

  void Row(uint8_t* base, const uint8_t* other, int count) const {
    if (identity_) {
      (operation_ == BitmapOperation::Add ? AddSaturated : SubtractSaturated)(base, other, count);
      return;
    }
    if (!full_.empty()) {
      for (int i = 0; i < count; ++i) base[i] = full_[static_cast<std::size_t>(base[i] << 8 | other[i])];
      return;
    }
    if (operation_ == BitmapOperation::Add) {
      for (int i = 0; i < count; ++i) {
        const int v = base[i] + step_[other[i]];
        base[i] = static_cast<uint8_t>(std::min(v, 255));
      }
    } else {
      for (int i = 0; i < count; ++i) {
        const int v = base[i] - step_[other[i]];
        base[i] = static_cast<uint8_t>(std::max(v, 0));
      }
    }
  }

 private:
  uint8_t Full(int b, int x) const { return full_[static_cast<std::size_t>(b << 8 | x)]; }
  uint8_t Short(uint8_t b, uint8_t x) const {
    const int v = operation_ == BitmapOperation::Add ? b + step_[x] : b - step_[x];
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
  }

  BitmapOperation operation_;
  std::vector<uint8_t> full_;  // full_[b << 8 | x]; empty when the short form holds
  std::array<uint8_t, 256> step_{};
  bool identity_ = false;  // step_[x] == x (a coefficient of 1), by vector code
};

bool Combine(Bitmap& base, const Bitmap& other, bool showProgress, BitmapOperation operation,
             double coefficient, Feedback& feedback) {
  if (base.Format() != PixelFormat::Bgr24) base = base.ToBgr24();
  const Bitmap* x = &other;
  Bitmap converted;
  if (other.Format() != PixelFormat::Bgr24) {
    converted = other.ToBgr24();
    x = &converted;
  }
  if (x->Width() < base.Width() || x->Height() < base.Height()) throw RangeError();
  const ChannelTable table(operation, coefficient);
  const RowProducer rows = [&](int begin, int end, const std::function<bool(int)>& rowDone) {
    for (int y = begin; y < end; ++y) {
      table.Row(base.Row(y), x->Row(y), 3 * base.Width());
      if (!rowDone(y)) return;
    }
  };
  RowHooks hooks;
  std::unique_ptr<ProgressDialog> dialog;
  if (showProgress) {
    dialog = feedback.CreateProgressDialog();
    dialog->Start(std::string(NameOf(operation)) + "の進捗状況", base.Height());
    hooks.beforeRow = [&dialog] { return dialog->IsVisible(); };
    hooks.afterRow = [&dialog, &feedback] {
      dialog->StepIt();
      feedback.ProcessPendingEvents();
    };
  }
  const int64_t pixels = int64_t{base.Width()} * base.Height();
  const int threads = pixels >= kPixelsWorthThreads ? ParallelThreads() : 1;
  if (RunRows(base.Height(), threads, rows, hooks) == RowRunResult::Cancelled) {
    dialog.reset();
    feedback.SetMessage("キャンセルしました");
    return false;
  }
  return true;
}

}  // namespace

uint8_t ArithmeticChannel(BitmapOperation operation, uint8_t base, uint8_t other, double coefficient) {
  const Extended product = static_cast<Extended>(other) * static_cast<Extended>(coefficient);
  return ClampToByte(operation == BitmapOperation::Add ? base + product : base - product);
}

bool BitmapArithmetic(Bitmap& base, const Bitmap& other, bool showProgress, BitmapOperation operation,
                      double coefficient, Feedback& feedback) {
  const BusyCursor hourglass(feedback);
  try {
    return Combine(base, other, showProgress, operation, coefficient, feedback);
  } catch (const std::bad_alloc&) {
    feedback.SetMessage("ビットマップ演算に失敗:Out of memory");
  } catch (const std::exception& error) {
    feedback.SetMessage(std::string("ビットマップ演算に失敗:") + error.what());
  }
  return false;
}

void InvertChannels(Bitmap& bitmap) {
  if (bitmap.Format() != PixelFormat::Bgr24) bitmap = bitmap.ToBgr24();
  const std::size_t bytes = 3 * static_cast<std::size_t>(bitmap.Width());
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.Row(y);
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {  // 255 - v is v with every bit flipped
      uint64_t word;
      std::memcpy(&word, row + i, 8);
      word = ~word;
      std::memcpy(row + i, &word, 8);
    }
    for (; i < bytes; ++i) row[i] = static_cast<uint8_t>(255 - row[i]);
  }
}

}  // namespace mv
