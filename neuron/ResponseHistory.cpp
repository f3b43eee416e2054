#include "ResponseHistory.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {
void Require(bool condition, const std::string& what) {
  if (!condition) throw std::invalid_argument(what);
}

bool NonNegativeFinite(double value) {
  return std::isfinite(value) && value >= 0.0;
}
}  // namespace

ResponseHistory::ResponseHistory(int window) {
  Require(window >= 1, "averaging window must be at least 1, not " + std::to_string(window));
  window_ = static_cast<std::size_t>(window);
  squares_.reserve(window_);
}

void ResponseHistory::AppendWhileFilling(double square) {
  // While filling, the decay constant is the history's length, so every weight changes.
  squares_.push_back(square);
  newest_ = squares_.size() - 1;
  SetSpan(squares_.size());
  Refresh();
}

void ResponseHistory::SetSpan(std::size_t span) {
  decay_.resize(span);
  denominator_ = 0.0;
  const double c = static_cast<double>(span);
  for (std::size_t i = 0; i < span; ++i) {
    decay_[i] = std::exp(-static_cast<double>(i) / c);
    denominator_ += decay_[i];
  }
  decayStep_ = std::exp(-1.0 / c);
}

// Sums newest first, the order in which the weights were defined, to stay closest to it.
double ResponseHistory::FreshSum() const {
  const std::size_t span = squares_.size();
  double sum = 0.0;
  std::size_t age = 0;
  for (std::size_t k = newest_ + 1; k-- > 0;) sum += decay_[age++] * squares_[k];
  for (std::size_t k = span; k-- > newest_ + 1;) sum += decay_[age++] * squares_[k];
  return sum;
}

void ResponseHistory::Refresh() {
  numerator_ = FreshSum();
  peak_ = numerator_;
  sinceRefresh_ = 0;
}

ResponseHistory::Saved ResponseHistory::Save() const {
  Saved saved{{}, length_, numerator_, peak_, sinceRefresh_};
  saved.squares.reserve(squares_.size());
  const std::size_t oldest = squares_.size() < window_ ? 0 : (newest_ + 1) % window_;
  for (std::size_t i = 0; i < squares_.size(); ++i) {
    saved.squares.push_back(squares_[(oldest + i) % squares_.size()]);
  }
  return saved;
}

ResponseHistory ResponseHistory::Restore(int window, const Saved& saved) {
  ResponseHistory history(window);
  Require(saved.squares.size() <= saved.length,
          "the history keeps more responses than it has seen");
  Require(std::all_of(saved.squares.begin(), saved.squares.end(), NonNegativeFinite),
          "a squared response is negative or not finite");
  const std::size_t kept = std::min(saved.squares.size(), history.window_);
  history.squares_.assign(saved.squares.end() - static_cast<std::ptrdiff_t>(kept),
                          saved.squares.end());
  history.length_ = saved.length;
  if (kept == 0) return history;
  history.newest_ = kept - 1;
  history.SetSpan(kept);
  history.Refresh();
  // A filling history is summed afresh at every response, so only a full one that kept every
  // saved square carries a running sum of its own.
  if (kept < history.window_ || kept != saved.squares.size()) return history;
  Require(NonNegativeFinite(saved.sum) && NonNegativeFinite(saved.peak) && saved.peak >= saved.sum,
          "the threshold's running sum is negative, not finite, or above its peak");
  Require(saved.sinceRefresh >= 0 && saved.sinceRefresh < kRefreshPeriod,
          "the threshold's refresh phase is out of range");
  Require(std::abs(saved.sum - history.numerator_) <=
              1e-9 * saved.peak + std::numeric_limits<double>::min(),
          "the threshold's running sum disagrees with the history");
  history.numerator_ = saved.sum;
  history.peak_ = saved.peak;
  history.sinceRefresh_ = saved.sinceRefresh;
  return history;
}
