#include "RunState.h"

BCMNeuron* neuron = nullptr;
bool stopRequested = false;
bool paused = false;

void RequestStop() {
  stopRequested = true;
}

void TogglePause() {
  paused = !paused;
}
