#include "app/FixedStepAccumulator.h"

#include <algorithm>

void CFixedStepAccumulator::Add(double deltaSeconds) {
  // NaN fails both comparisons of clamp's contract, so treat it as nothing.
  if (!(deltaSeconds > 0.0)) deltaSeconds = 0.0;
  accumulator += std::min(deltaSeconds, kCap);
  if (accumulator > kCap) accumulator = kCap;
}

bool CFixedStepAccumulator::TakeStep() {
  if (!(kStep <= accumulator)) return false;
  accumulator -= kStep;
  return true;
}
