#include "codecs/WuPalette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mv {

namespace {

constexpr int kSide = 33;  // 32 cells per channel plus the zero border of the prefix sums
constexpr int kCells = kSide * kSide * kSide;

int CellIndex(int r, int g, int b) {
  return (r * kSide + g) * kSide + b;
}

// Weight, channel sums and sum of squares of the pixels per cell, then their 3-D prefix sums.
struct Moments {
  std::vector<int64_t> weight = std::vector<int64_t>(kCells);
  std::array<std::vector<int64_t>, 3> sum = {std::vector<int64_t>(kCells), std::vector<int64_t>(kCells),
                                             std::vector<int64_t>(kCells)};
  std::vector<double> squares = std::vector<double>(kCells);
};

struct Box {
  int lo[3] = {0, 0, 0};  // exclusive lower corner
  int hi[3] = {0, 0, 0};  // inclusive upper corner
  int64_t Volume() const { return int64_t{hi[0] - lo[0]} * (hi[1] - lo[1]) * (hi[2] - lo[2]); }
};

void Accumulate(Moments& m) {
  // Prefix sums along each axis in turn.
  for (int axis = 0; axis < 3; ++axis) {
    const int stride = axis == 0 ? kSide * kSide : axis == 1 ? kSide : 1;
    for (int r = 1; r < kSide; ++r)
      for (int g = 1; g < kSide; ++g)
        for (int b = 1; b < kSide; ++b) {
          const int i = CellIndex(r, g, b);
          m.weight[i] += m.weight[i - stride];
          for (auto& s : m.sum) s[i] += s[i - stride];
          m.squares[i] += m.squares[i - stride];
        }
  }
}

template <typename T>
T BoxSum(const std::vector<T>& m, const Box& b) {
  return m[CellIndex(b.hi[0], b.hi[1], b.hi[2])] - m[CellIndex(b.hi[0], b.hi[1], b.lo[2])] -
         m[CellIndex(b.hi[0], b.lo[1], b.hi[2])] + m[CellIndex(b.hi[0], b.lo[1], b.lo[2])] -
         m[CellIndex(b.lo[0], b.hi[1], b.hi[2])] + m[CellIndex(b.lo[0], b.hi[1], b.lo[2])] +
         m[CellIndex(b.lo[0], b.lo[1], b.hi[2])] - m[CellIndex(b.lo[0], b.lo[1], b.lo[2])];
}

struct BoxStats {
  int64_t weight = 0;
  double sum[3] = {0, 0, 0};
};

BoxStats StatsOf(const Moments& m, const Box& box) {
  BoxStats s;
  s.weight = BoxSum(m.weight, box);
  for (int c = 0; c < 3; ++c) s.sum[c] = static_cast<double>(BoxSum(m.sum[c], box));
  return s;
}

double Variance(const Moments& m, const Box& box) {
  const BoxStats s = StatsOf(m, box);
  if (s.weight == 0) return 0;
  const double mean2 =
      (s.sum[0] * s.sum[0] + s.sum[1] * s.sum[1] + s.sum[2] * s.sum[2]) / static_cast<double>(s.weight);
  return BoxSum(m.squares, box) - mean2;
}

double Spread(const BoxStats& s) {
  return (s.sum[0] * s.sum[0] + s.sum[1] * s.sum[1] + s.sum[2] * s.sum[2]) / static_cast<double>(s.weight);
}

// Splits `box` at the plane that leaves the two halves with the least summed variance (the largest
// sum of squared means times weight). Answers false when no cut is possible.
bool Cut(const Moments& m, Box& box, Box& other) {
  const BoxStats whole = StatsOf(m, box);
  double best = 0;
  int bestAxis = -1, bestPosition = 0;
  for (int axis = 0; axis < 3; ++axis) {
    for (int position = box.lo[axis] + 1; position < box.hi[axis]; ++position) {
      Box half = box;
      half.hi[axis] = position;
      const BoxStats first = StatsOf(m, half);
      const int64_t rest = whole.weight - first.weight;
      if (first.weight == 0 || rest == 0) continue;
      BoxStats second;
      second.weight = rest;
      for (int c = 0; c < 3; ++c) second.sum[c] = whole.sum[c] - first.sum[c];
      const double score = Spread(first) + Spread(second);
      if (score > best) best = score, bestAxis = axis, bestPosition = position;
    }
  }
  if (bestAxis < 0) return false;
  other = box;
  box.hi[bestAxis] = bestPosition;
  other.lo[bestAxis] = bestPosition;
  return true;
}

struct Cell {
  int64_t weight = 0;
  int64_t sum[3] = {0, 0, 0};
};

// Moves every colour to the weighted mean of the histogram cells nearest to it.
void Refine(std::vector<Rgb>& palette, const std::vector<Cell>& cells, int passes) {
  for (int pass = 0; pass < passes; ++pass) {
    std::vector<Cell> clusters(palette.size());
    for (const Cell& cell : cells) {
      const double w = static_cast<double>(cell.weight);
      const double mean[3] = {cell.sum[0] / w, cell.sum[1] / w, cell.sum[2] / w};
      std::size_t best = 0;
      double bestDistance = 1e30;
      for (std::size_t i = 0; i < palette.size(); ++i) {
        const double dr = mean[0] - palette[i].red, dg = mean[1] - palette[i].green,
                     db = mean[2] - palette[i].blue;
        const double d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) bestDistance = d, best = i;
      }
      clusters[best].weight += cell.weight;
      for (int c = 0; c < 3; ++c) clusters[best].sum[c] += cell.sum[c];
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
      const Cell& k = clusters[i];
      if (k.weight == 0) continue;
      auto mean = [&](int c) { return static_cast<uint8_t>((k.sum[c] + k.weight / 2) / k.weight); };
      palette[i] = Rgb{mean(0), mean(1), mean(2)};
    }
  }
}

}  // namespace

std::vector<Rgb> OptimisedPalette(const Bitmap& bgr24, int maxColors, std::optional<ColorRef> ignored) {
  Moments m;
  const bool skip = ignored.has_value();
  const uint8_t ir = skip ? RedOf(*ignored) : 0, ig = skip ? GreenOf(*ignored) : 0,
                ib = skip ? BlueOf(*ignored) : 0;
  for (int y = 0; y < bgr24.Height(); ++y) {
    const uint8_t* p = bgr24.Row(y);
    for (int x = 0; x < bgr24.Width(); ++x, p += 3) {
      const int b = p[0], g = p[1], r = p[2];
      if (skip && r == ir && g == ig && b == ib) continue;
      const int i = CellIndex((r >> 3) + 1, (g >> 3) + 1, (b >> 3) + 1);
      ++m.weight[i];
      m.sum[0][i] += r;
      m.sum[1][i] += g;
      m.sum[2][i] += b;
      m.squares[i] += r * r + g * g + b * b;
    }
  }
  std::vector<Cell> cells;
  for (int i = 0; i < kCells; ++i) {
    if (m.weight[i] != 0) cells.push_back(Cell{m.weight[i], {m.sum[0][i], m.sum[1][i], m.sum[2][i]}});
  }
  if (cells.empty()) return {};
  Accumulate(m);

  std::vector<Box> boxes(1);
  for (int c = 0; c < 3; ++c) boxes[0].hi[c] = kSide - 1;
  std::vector<double> variance(1, Variance(m, boxes[0]));
  while (static_cast<int>(boxes.size()) < maxColors) {
    const std::size_t next =
        static_cast<std::size_t>(std::max_element(variance.begin(), variance.end()) - variance.begin());
    if (variance[next] <= 0) break;
    Box other;
    if (!Cut(m, boxes[next], other)) {
      variance[next] = 0;
      continue;
    }
    boxes.push_back(other);
    variance[next] = boxes[next].Volume() > 1 ? Variance(m, boxes[next]) : 0;
    variance.push_back(other.Volume() > 1 ? Variance(m, other) : 0);
  }

  std::vector<Rgb> palette;
  for (const Box& box : boxes) {
    const BoxStats s = StatsOf(m, box);
    if (s.weight == 0) continue;
    auto mean = [&](int c) {
      return static_cast<uint8_t>(std::lround(s.sum[c] / static_cast<double>(s.weight)));
    };
    palette.push_back(Rgb{mean(0), mean(1), mean(2)});
  }
  Refine(palette, cells, 3);
  return palette;
}

}  // namespace mv
