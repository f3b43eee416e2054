// Feeds the fast and the literal neuron the same inputs and reports the largest difference in
// threshold and weights seen at any step. Usage: threshold_agreement [steps] [input scale]
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Bcm.h"
#include "CRand.h"
#include "LiteralNeuron.h"
#include "TrainingInput.h"

int main(int argc, char** argv) {
  const long steps = argc > 1 ? std::atol(argv[1]) : 1'000'000;
  const double scale = argc > 2 ? std::atof(argv[2]) : 1.0;
  runtime::CRand fastDraws(1), literalDraws(1), inputs(2);
  BCMNeuron fast(24, 0.005, 10.0, 1000, 0.15, fastDraws);
  LiteralNeuron literal(24, 0.005, 10.0, 1000, 0.15, literalDraws);
  double worstTheta = 0.0, worstWeight = 0.0, largestTheta = 0.0;
  for (long step = 0; step < steps; ++step) {
    std::vector<double> input = NextTrainingInput(inputs);
    for (double& x : input) x *= scale;
    fast.Output(input, true);
    literal.Output(input, true);
    worstTheta = std::max(worstTheta, std::abs(fast.Theta() - literal.Theta()));
    largestTheta = std::max(largestTheta, std::abs(literal.Theta()));
    const std::vector<double>& w = fast.Weights();
    for (std::size_t i = 0; i < w.size(); ++i) {
      worstWeight = std::max(worstWeight, std::abs(w[i] - literal.Weights()[i]));
    }
  }
  std::printf("%ld steps, input scale %g: largest |theta| %.6g\n", steps, scale, largestTheta);
  std::printf("worst |theta difference| %.3g, worst |weight difference| %.3g\n", worstTheta,
              worstWeight);
  return worstTheta <= 1e-12 && worstWeight <= 1e-12 ? 0 : 1;
}
