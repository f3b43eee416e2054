#include "NeuronPanels.h"

#include "NumberFormat.h"
#include "StatusPanels.h"

void NeuronPanels::Write(double theta, const Parameters& parameters, StatusPanels& panels) {
  if (formatted_ != parameters) {
    const std::string noise = FloatToStrF(parameters.noise, ffFixed, 10, 3);
    constants_ = {"learn.: " + FloatToStrF(parameters.rate, ffFixed, 10, 4),
                  "tau: " + IntToStr(parameters.tau),
                  "theta0: " + FloatToStrF(parameters.theta0, ffFixed, 10, 1),
                  "noise: -" + noise + ".." + noise};
    formatted_ = parameters;
  }
  panels.SetPanelText(1, "th: " + FloatToStrF(theta, ffFixed, 10, 5));
  for (std::size_t i = 0; i < constants_.size(); ++i) {
    panels.SetPanelText(static_cast<int>(i) + 2, constants_[i]);
  }
}
