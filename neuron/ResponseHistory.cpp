#include "ResponseHistory.h"

#include <cmath>
#include <stdexcept>
#include <string>

ResponseHistory::ResponseHistory(int window) {
  if (window < 1) {
    throw std::invalid_argument("averaging window must be at least 1, not " +
                                std::to_string(window));
  }
  window_ = static_cast<std::size_t>(window);
  squares_.reserve(window_);
}

void ResponseHistory::Append(double response) {
  const double square = response * response;
  ++length_;
  if (squares_.size() < window_) {
    // While filling, the decay constant is the history's length, so every weight changes.
    squares_.push_back(square);
    newest_ = squares_.size() - 1;
    SetSpan(squares_.size());
    Refresh();
    return;
  }
  newest_ = newest_ + 1 == window_ ? 0 : newest_ + 1;
  const double dropped = squares_[newest_];
  squares_[newest_] = square;
  if (++sinceRefresh_ == kRefreshPeriod) {
    Refresh();
  } else {
    numerator_ = square + decayStep_ * (numerator_ - decay_.back() * dropped);
  }
}

double ResponseHistory::WeightedMeanSquare() const {
  return length_ == 0 ? 0.0 : numerator_ / denominator_;
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
void ResponseHistory::Refresh() {
  const std::size_t span = squares_.size();
  double sum = 0.0;
  std::size_t age = 0;
  for (std::size_t k = newest_ + 1; k-- > 0;) sum += decay_[age++] * squares_[k];
  for (std::size_t k = span; k-- > newest_ + 1;) sum += decay_[age++] * squares_[k];
  numerator_ = sum;
  sinceRefresh_ = 0;
}
