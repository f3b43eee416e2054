#include "RunState.h"

#include "Bcm.h"

BCMNeuron* neuron = nullptr;
bool stopRequested = false;
bool paused = false;

void ResetNeuron() {
  delete neuron;
  neuron = nullptr;  // never left dangling should the constructor throw
  neuron = new BCMNeuron(24, 0.005, 10.0, 1000);
}

void DeleteNeuron() {
  delete neuron;
  neuron = nullptr;
}

void RequestStop() {
  stopRequested = true;
}

void TogglePause() {
  paused = !paused;
}
