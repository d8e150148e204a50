#include "display/beat_indicator.h"

#include <cmath>
#include <numbers>

#include "display/palette.h"

namespace tsy {

const std::array<int16_t, 360>& SineTable() {
  static const std::array<int16_t, 360> table = [] {
    std::array<int16_t, 360> t{};
    for (int d = 0; d < 360; ++d) {
      t[d] = static_cast<int16_t>(std::trunc(255.0 * std::sin(d * std::numbers::pi / 180.0)));
    }
    return t;
  }();
  return table;
}

void DrawBeatIndicator(Canvas& picture, const EngineState& s) {
  picture.FillRect(0, 0, 32, 32, kBlack);
  const uint32_t angle = s.imageAccepted != 0 ? s.barTick * 360 / 192 : 0;
  auto sine = [](uint32_t degrees) -> int { return SineTable()[degrees % 360]; };
  // A spoke from near the centre outwards; the 6/3 and 1/16 vs 1/32 factors
  // draw the circle as a flat ellipse. >> on a negative value floors.
  auto spoke = [&](uint32_t a) {
    const int x = sine(a + 90), y = sine(a);
    picture.Line(16 + ((6 * x) >> 8), 16 + ((3 * y) >> 8), 16 + (x >> 4), 16 + (y >> 5), kYellow);
  };
  spoke(angle);
  spoke(angle + 180);
  picture.Line(15, 15, 16, 15, kWhite);
  picture.Line(16, 15, 16, 16, kWhite);
  picture.Line(16, 16, 15, 16, kWhite);
  picture.Line(15, 16, 15, 15, kWhite);
}

}  // namespace tsy
