#include "effects/Quarry/CragA.h"

namespace {

// Numerator i = (kNumRate1[i] * K + kNumRate0[i]) * K^2 + (kNumPot1[i] * K + kNumPot0[i]) * p * K^2.
// The four numerators sum to zero at every K and p, so the stage passes no DC.
// clang-format off
const double kNumRate1[4] = {7.20309737738913e-19, -2.16092921321674e-18, 2.16092921321674e-18, -7.20309737738913e-19};
const double kNumRate0[4] = {-2.30387692690089e-12, 2.30387692690089e-12, 2.30387692690089e-12, -2.30387692690089e-12};
const double kNumPot1[4] = {7.20309737738913e-17, -2.16092921321674e-16, 2.16092921321674e-16, -7.20309737738913e-17};
const double kNumPot0[4] = {-2.30387692690089e-10, 2.30387692690089e-10, 2.30387692690089e-10, -2.30387692690089e-10};

// Denominator i = ((kDen[i][0] * K + kDen[i][1]) * K + kDen[i][2]) * K + kDen[i][3].
const double kDen[4][4] = {
    {8.58036284048786e-15, 2.21616073023551e-11, 4.20158590220629e-10, 1.90781000064746e-09},
    {-2.57410885214636e-14, -2.21616073023551e-11, 4.20158590220629e-10, 5.72343000194239e-09},
    {2.57410885214636e-14, -2.21616073023551e-11, -4.20158590220629e-10, 5.72343000194239e-09},
    {-8.58036284048786e-15, 2.21616073023551e-11, -4.20158590220629e-10, 1.90781000064746e-09},
};
// clang-format on

}  // namespace

void CragA::SetRate(double K)
{
  mRate = K;
  mK2 = K * K;
  for (int i = 0; i < 4; ++i) {
    mNumRate[i] = (kNumRate1[i] * K + kNumRate0[i]) * mK2;
    mNumPot[i] = kNumPot1[i] * K + kNumPot0[i];
    a[i] = ((kDen[i][0] * K + kDen[i][1]) * K + kDen[i][2]) * K + kDen[i][3];
  }
}
