#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The neuron's recent responses, reduced to what the sliding threshold needs: the exponentially
// weighted mean of the squared responses over the newest c = min(window, length) of them, the
// response i steps back weighing e^(-i/c).
//
// Only the newest `window` responses are kept, so memory is constant however long a run is. The
// weighted sum is carried from one response to the next by a recurrence and recomputed in full
// every kRefreshPeriod responses; the recurrence's rounding drift therefore never outlives a
// refresh, and the result stays within about 1e-14 (relative) of summing the window afresh.
class ResponseHistory {
 public:
  // window >= 1.
  explicit ResponseHistory(int window);

  void Append(double response);

  // Number of responses ever appended, not just the ones kept.
  std::uint64_t Length() const { return length_; }

  // 0.0 while empty.
  double WeightedMeanSquare() const;

 private:
  static constexpr int kRefreshPeriod = 128;

  void SetSpan(std::size_t span);
  void Refresh();

  std::size_t window_;
  std::vector<double> squares_;  // a ring once full; squares_[newest_] is the latest
  std::vector<double> decay_;    // decay_[i] = e^(-i/c) for the current span c
  double decayStep_ = 0.0;       // e^(-1/c): how one more step back scales a weight
  double numerator_ = 0.0;
  double denominator_ = 0.0;
  std::size_t newest_ = 0;
  std::uint64_t length_ = 0;
  int sinceRefresh_ = 0;
};
