#pragma once

// Turns frame times into whole update steps of 1/120 s. A frame adds at most
// 0.25 s (so at most 30 updates follow a stall; the rest is dropped, never
// made up) and never less than nothing (a clock that steps back must not
// starve later frames). The remainder carries over to the next frame.
class CFixedStepAccumulator {
public:
  static constexpr double kStep = 1.0 / 120.0;
  static constexpr double kCap = 0.25;

  void Reset() { accumulator = 0.0; }
  void Add(double deltaSeconds);
  // Takes one step from the accumulator if a whole one is there.
  bool TakeStep();
  double Remainder() const { return accumulator; }

  // One frame's worth: adds the frame time, then calls update(step) for each
  // whole step. Returns the number of steps run.
  template <typename Update>
  int Advance(double deltaSeconds, Update&& update) {
    Add(deltaSeconds);
    int steps = 0;
    for (; TakeStep(); ++steps) update(static_cast<float>(kStep));
    return steps;
  }

private:
  double accumulator = 0.0;
};
