#include "EnsembleProgress.h"

#include <string>

EnsembleProgress::EnsembleProgress(std::FILE* terminal, std::size_t units, std::size_t playing,
                                   std::int64_t totalSteps, std::uint64_t logBytes)
    : line_(terminal),
      done_(units - playing),
      units_(units),
      totalSteps_(totalSteps),
      logBytes_(LogBytesText(logBytes)) {}

void EnsembleProgress::Draw(std::size_t played, std::int64_t steps) {
  const auto seconds = line_.Elapsed();
  if (!seconds || totalSteps_ <= 0) return;
  const std::string text = "units " + std::to_string(done_ + played) + "/" +
                           std::to_string(units_) + "  " + logBytes_ + "  " +
                           RateText(steps, totalSteps_, *seconds);
  line_.Show(static_cast<double>(steps) / static_cast<double>(totalSteps_), text);
}
