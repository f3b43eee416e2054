#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The neuron's recent responses, reduced to what the sliding threshold needs: the exponentially
// weighted mean of the squared responses over the newest c = min(window, kept) of them, the
// response i steps back weighing e^(-i/c).
//
// Only the newest `window` responses are kept, so memory is constant however long a run is. The
// weighted sum is carried from one response to the next by a recurrence and summed afresh every
// kRefreshPeriod responses, and also whenever it has fallen below 1/kLossLimit of the largest value
// it had since the last fresh sum: that is when subtracting a departing term cancels digits. So the
// rounding error of the recurrence stays below about kRefreshPeriod * kLossLimit * 2 * 2^-53, that
// is 5e-13, relative to the current sum, whatever values come and go (1e8 spikes, 1e-300, zeros).
class ResponseHistory {
 public:
  // window >= 1; throws std::invalid_argument otherwise.
  explicit ResponseHistory(int window);

  // Inline: the neuron appends at every learning step.
  void Append(double response) {
    const double square = response * response;
    ++length_;
    if (squares_.size() < window_) return AppendWhileFilling(square);
    newest_ = newest_ + 1 == window_ ? 0 : newest_ + 1;
    const double dropped = squares_[newest_];
    squares_[newest_] = square;
    if (++sinceRefresh_ == kRefreshPeriod) return Refresh();
    numerator_ = square + decayStep_ * (numerator_ - decay_.back() * dropped);
    peak_ = std::max(peak_, numerator_);
    if (numerator_ * kLossLimit < peak_) Refresh();
  }

  // Number of responses ever appended, not just the ones kept.
  std::uint64_t Length() const { return length_; }

  // 0.0 while empty.
  double WeightedMeanSquare() const { return length_ == 0 ? 0.0 : numerator_ / denominator_; }

  // Everything needed to continue exactly where this history stands.
  struct Saved {
    std::vector<double> squares;  // the kept squared responses, oldest first
    std::uint64_t length = 0;
    double sum = 0.0;   // the running weighted sum
    double peak = 0.0;  // its largest value since it was last summed afresh
    int sinceRefresh = 0;
    bool operator==(const Saved&) const = default;
  };
  Saved Save() const;
  // A history of this window continuing saved. With the window saved had, it continues bit for
  // bit; with another, it keeps the newest responses that fit and sums them afresh. Throws
  // std::invalid_argument when saved is inconsistent (more squares than responses, a running sum
  // that disagrees with its squares, a negative or non-finite value, a refresh phase out of range).
  static ResponseHistory Restore(int window, const Saved& saved);

 private:
  static constexpr int kRefreshPeriod = 128;
  static constexpr double kLossLimit = 16.0;

  void AppendWhileFilling(double square);
  void SetSpan(std::size_t span);
  void Refresh();
  double FreshSum() const;

  std::size_t window_;
  std::vector<double> squares_;  // a ring once full; squares_[newest_] is the latest
  std::vector<double> decay_;    // decay_[i] = e^(-i/c) for the current span c
  double decayStep_ = 0.0;       // e^(-1/c): how one more step back scales a weight
  double numerator_ = 0.0;
  double peak_ = 0.0;
  double denominator_ = 0.0;
  std::size_t newest_ = 0;
  std::uint64_t length_ = 0;
  int sinceRefresh_ = 0;
};
