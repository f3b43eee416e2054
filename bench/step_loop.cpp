// A bare headless loop of training steps, for measuring peak memory: usage step_loop STEPS.
#include <cstdio>
#include <cstdlib>

#include "Bcm.h"
#include "CRand.h"
#include "TrainingInput.h"

int main(int argc, char** argv) {
  const long steps = argc > 1 ? std::atol(argv[1]) : 10'000;
  runtime::CRand generator(1);
  BCMNeuron neuron(24, 0.005, 10.0, 1000, 0.15, generator);
  for (long step = 0; step < steps; ++step) neuron.Output(NextTrainingInput(generator), true);
  std::printf("%ld steps, theta %.5f\n", steps, neuron.Theta());
  return 0;
}
