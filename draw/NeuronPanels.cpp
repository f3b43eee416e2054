#include "NeuronPanels.h"

#include "NumberFormat.h"
#include "StatusPanels.h"

namespace {

std::string NowAndNext(const std::string& now, const std::string& next) {
  return now == next ? now : now + "\u2192" + next;
}

}  // namespace

void NeuronPanels::Write(double theta, const Parameters& learning, const Parameters& next,
                         StatusPanels& panels) {
  if (formatted_ != std::pair(learning, next)) {
    const auto rate = [](const Parameters& p) { return FloatToStrF(p.rate, ffFixed, 10, 4); };
    const auto theta0 = [](const Parameters& p) { return FloatToStrF(p.theta0, ffFixed, 10, 1); };
    const std::string noise = FloatToStrF(next.noise, ffFixed, 10, 3);
    constants_ = {"learn.: " + NowAndNext(rate(learning), rate(next)),
                  "tau: " + NowAndNext(IntToStr(learning.tau), IntToStr(next.tau)),
                  "theta0: " + NowAndNext(theta0(learning), theta0(next)),
                  "noise: -" + noise + ".." + noise};
    formatted_ = std::pair(learning, next);
  }
  panels.SetPanelText(1, "th: " + FloatToStrF(theta, ffFixed, 10, 5));
  for (std::size_t i = 0; i < constants_.size(); ++i) {
    panels.SetPanelText(static_cast<int>(i) + 2, constants_[i]);
  }
}
