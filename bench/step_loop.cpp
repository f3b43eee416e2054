// A bare headless loop of training steps, for measuring peak memory, and under valgrind the
// instructions a step takes by each rule: usage step_loop STEPS [bcm|law-cooper|oja].
#include <cstdio>
#include <cstdlib>

#include "Bcm.h"
#include "CRand.h"
#include "TrainingInput.h"

int main(int argc, char** argv) {
  const long steps = argc > 1 ? std::atol(argv[1]) : 10'000;
  const auto rule = argc > 2 ? LearningRuleNamed(argv[2]) : LearningRule::kBcm;
  if (!rule) {
    std::fprintf(stderr, "step_loop: the rule must be bcm, law-cooper or oja\n");
    return 2;
  }
  runtime::CRand generator(1);
  BCMNeuron neuron(24, 0.005, 10.0, 1000, 0.15, generator, *rule);
  for (long step = 0; step < steps; ++step) neuron.Output(NextTrainingInput(generator), true);
  std::printf("%ld steps, theta %.5f\n", steps, neuron.Theta());
  return 0;
}
